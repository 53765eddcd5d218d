#!/usr/bin/env bash
# brightline-cli inspect/build/hash-password as a user runs them: exit codes and round trips.
# Usage: cli_files_test.sh BRIGHTLINE_CLI DEMO_DIR
set -u
cli=$1
demo=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
check() {  # check "what" expected-status command...
    local what=$1 want=$2
    shift 2
    "$@" >"$dir/out" 2>"$dir/err"
    local got=$?
    if [ "$got" != "$want" ]; then
        echo "FAIL: $what: exit $got, expected $want"; cat "$dir/err"; failures=$((failures + 1))
    fi
}

for f in "$demo"/*.json; do
    name=$(basename "$f" .json)
    check "build $name" 0 "$cli" build "$f" "$dir/$name"
    check "inspect $name" 0 "$cli" inspect "$dir/$name"
    cp "$dir/out" "$dir/$name.json"
    check "build again $name" 0 "$cli" build "$dir/$name.json" "$dir/$name.again"
    cmp -s "$dir/$name" "$dir/$name.again" || { echo "FAIL: $name round trip differs"; failures=$((failures + 1)); }
done

check "no command" 2 "$cli"
check "unknown command" 2 "$cli" frobnicate
check "inspect without file" 2 "$cli" inspect
check "build with one argument" 2 "$cli" build x.json
check "missing file" 1 "$cli" inspect "$dir/none.ZPF"
grep -q "none.ZPF" "$dir/err" || { echo "FAIL: missing file message names no file"; failures=$((failures + 1)); }
head -c 100 "$dir/sample.ZPF" > "$dir/cut.ZPF"
check "truncated program" 1 "$cli" inspect "$dir/cut.ZPF"
grep -q "corrupt program file" "$dir/err" || { echo "FAIL: no specific message for a cut file"; cat "$dir/err"; failures=$((failures + 1)); }
echo '{"kind": "users", "users": [' > "$dir/bad.json"
check "broken JSON" 1 "$cli" build "$dir/bad.json" "$dir/x"
check "hash" 0 "$cli" hash-password pw38
[ "$(cat "$dir/out")" = "EA896238F9DE16F7D237D043EF0101741" ] || { echo "FAIL: hash text"; failures=$((failures + 1)); }

if [ "$failures" -ne 0 ]; then echo "$failures failed"; exit 1; fi
echo "cli files: all passed"

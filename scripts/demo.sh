#!/usr/bin/env bash
# The headless demo: what brightline-cli can do so far, in a scratch folder.
# Usage: scripts/demo.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:-build/release}" && pwd)
cli="$build/apps/brightline-cli/brightline-cli"
here=$(cd "$(dirname "$0")/.." && pwd)
demo=$(mktemp -d "${TMPDIR:-/tmp}/brightline-demo.XXXXXX")
export BRIGHTLINE_WORKSPACE="$demo/BRIGHTLINE_TMP"
export BRIGHTLINE_PROFILE="$demo/Brightline II.ini"

step() { printf '\n== %s\n' "$*"; }

step "Building the sample files from their JSON descriptions into $demo"
for f in "$here"/demo/*.json; do
    name=$(basename "$f" .json)
    "$cli" build "$f" "$demo/$name"
    printf '  %-14s %6d bytes\n' "$name" "$(stat -c %s "$demo/$name")"
done

step "The sample program, read back"
"$cli" inspect "$demo/sample.ZPF" | head -n 40
echo "  ..."

step "The schedule, with each entry's description"
"$cli" inspect "$demo/sample.AT" | grep -E '"(programPath|description)"'

step "The sign list"
"$cli" inspect "$demo/LED_SET.ZRC"

step "Round trip: inspect then build gives back the same bytes"
for name in sample.ZPF sample.AT LED_SET.ZRC UserInfo.dat RC_IMG.ZRC; do
    "$cli" inspect "$demo/$name" > "$demo/$name.json"
    "$cli" build "$demo/$name.json" "$demo/$name.again"
    if cmp -s "$demo/$name" "$demo/$name.again"; then echo "  $name: identical"; else echo "  $name: DIFFERENT"; exit 1; fi
done

step "The stored hash of the password \"admin\""
"$cli" hash-password admin

echo
echo "Demo files are in $demo"

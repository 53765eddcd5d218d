#!/usr/bin/env bash
# The README's "first program in five minutes" run as written, in a scratch folder and on free
# ports, with a deadline on the virtual sign's start: every command must succeed and leave what
# the walk-through says.
# Usage: cli_readme_test.sh README BRIGHTLINE_CLI BRIGHTLINE_SIGNSIM
set -u
readme=$(realpath "$1")
cli=$(realpath "$2")
signsim=$(realpath "$3")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
free_port() { /usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
port=$(free_port)
ftp=$(free_port)

# The block under the heading; the PATH line names ./run's build, the test's own programs go first.
/usr/bin/python3 - "$readme" "$dir" "$port" "$ftp" > "$dir/walk.sh" <<'PY' || fail "no walk-through in the README"
import re, sys
readme, folder, port, ftp = sys.argv[1:]
text = open(readme).read()
m = re.search(r"^## First program in five minutes\n.*?^```sh\n(.*?)^```", text, re.M | re.S)
if not m:
    sys.exit("no block")
out = ["set -e"]
for line in m.group(1).splitlines():
    if line.startswith("export PATH="):
        continue
    line = line.replace("/tmp/first-show", folder).replace("17203", port).replace("17021", ftp)
    if line == "sleep 1":
        # the sign is up when its command and FTP ports take connections (within 10 s)
        up = "(exec 3<>/dev/tcp/127.0.0.1/%s && exec 4<>/dev/tcp/127.0.0.1/%s)" % (port, ftp)
        line = ('for i in $(seq 100); do %s 2>/dev/null && break; sleep 0.1; done; '
                '%s || { echo "the virtual sign did not start within 10 s"; exit 1; }' % (up, up))
    out.append(line)
    if line.endswith("&") or " & " in line:
        out.append("sim=$!; trap 'kill $sim 2>/dev/null; wait' EXIT")
print("\n".join(out))
PY
mkdir "$dir/bin"
ln -s "$cli" "$dir/bin/brightline-cli"
ln -s "$signsim" "$dir/bin/brightline-signsim"
(cd "$dir" && PATH="$dir/bin:$PATH" bash "$dir/walk.sh") > "$dir/out.txt" 2>&1 ||
    fail "the walk-through failed: $(grep -v '^==' "$dir/out.txt" | tail -n 5)"

[ -s "$dir/first.ZPF" ] || fail "no first.ZPF"
[ -e "$dir/ws/run.at" ] || fail "make wrote no run.at"
grep -q "^3 media made into $dir/ws$" "$dir/out.txt" || fail "make: $(grep made "$dir/out.txt")"
[ "$(head -c 6 "$dir/first.gif" 2>/dev/null)" = "GIF89a" ] || fail "no GIF"
ls "$dir"/sign/DATA*/run.at > /dev/null 2>&1 || fail "the sign holds no run.at: $(ls -R "$dir/sign" 2>&1 | head)"
# The program is the one the desktop makes for two areas side by side.
"$cli" inspect "$dir/first.ZPF" --compact > "$dir/back.json" || fail "inspect --compact"
grep -q '"areaFormat": 1' "$dir/back.json" || fail "area format: $(cat "$dir/back.json")"

if [ "$failures" -ne 0 ]; then echo "$failures failed"; exit 1; fi
echo "cli readme: all passed"

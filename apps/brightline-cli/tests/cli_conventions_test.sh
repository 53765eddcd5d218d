#!/usr/bin/env bash
# brightline-cli as scripts use it: --help and --version, --opt=value, unknown options named, a
# refused connection naming its peer, and play of a program or a schedule (made first into a
# scratch folder that is gone afterwards).
# Usage: cli_conventions_test.sh BRIGHTLINE_CLI
set -u
cli=$(realpath "$1")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export BRIGHTLINE_PROFILE="$dir/profile.ini" BRIGHTLINE_WORKSPACE="$dir/default-ws"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
cd "$dir" || exit 1

# ---- --help, --version -----------------------------------------------------------------------
"$cli" --version > out.txt 2> err.txt || fail "--version exit $?"
grep -Eq '^brightline-cli [0-9]+\.[0-9]+\.[0-9]+$' out.txt || fail "--version printed: $(cat out.txt)"
for command in new inspect build hash-password make compile check convert send sign font-sheet play effects; do
    "$cli" "$command" --help > out.txt 2> err.txt || fail "$command --help exit $?"
    grep -q "^  $command" out.txt || fail "$command --help: $(head -n 3 out.txt)"
    [ "$(grep -vc '^==' err.txt)" = 0 ] || fail "$command --help wrote on standard error"
done
"$cli" sign --help | grep -q "sign get-time" || fail "sign --help lists no sign commands"

# ---- options ---------------------------------------------------------------------------------
"$cli" make show.ZPF --bogus 3 > out.txt 2> err.txt; rc=$?
[ $rc = 2 ] || fail "unknown option exit $rc"
grep -q "unknown option --bogus" err.txt || fail "unknown option not named: $(cat err.txt)"
"$cli" play run.at --tick=5 > /dev/null 2> err.txt; rc=$?
[ $rc = 2 ] && grep -q "unknown option --tick$" err.txt || fail "--tick=5: exit $rc, $(cat err.txt)"

ffmpeg -loglevel error -f lavfi -i color=c=red:size=32x16 -frames:v 1 red.png || fail "ffmpeg"
ffmpeg -loglevel error -f lavfi -i color=c=blue:size=32x16 -frames:v 1 blue.png || fail "ffmpeg"
echo '{"sign": "32x16", "areaFormat": 0, "areas": [{"items": [{"path": "red.png", "hold": 1}]}]}' > show.json
"$cli" build show.json show.ZPF || fail "build show"
"$cli" make show.ZPF --workspace=ws > out.txt 2> err.txt || fail "make --workspace=ws: $(cat err.txt)"
[ "$(cat out.txt)" = "1 media made into ws" ] || fail "make --workspace=ws printed $(cat out.txt)"
[ -e ws/run.at ] || fail "--workspace=ws made nothing in ws"

# ---- a refused connection names its peer -----------------------------------------------------
port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
"$cli" sign get-time --host 127.0.0.1 --port "$port" > /dev/null 2> err.txt; rc=$?
[ $rc = 1 ] || fail "refused connection exit $rc"
grep -q "cannot connect to 127.0.0.1:$port: connection refused" err.txt || fail "refused connection: $(cat err.txt)"
grep -q "^sign at 127.0.0.1:$port$" err.txt || fail "the sign is not named: $(cat err.txt)"
# Without link options: the current sign of the profile, named.
printf '[SET]\nLED_NAME=Lobby\nPORT=0\nIP0=127\nIP1=0\nIP2=0\nIP3=1\nHOST_ADDRESS=127.0.0.1\n' > profile.ini
"$cli" sign get-time --port="$port" > /dev/null 2> err.txt; rc=$?
[ $rc = 1 ] || fail "refused connection to the profile's sign exit $rc"
grep -q "^sign \"Lobby\" at 127.0.0.1:$port (the current sign of the profile)$" err.txt ||
    fail "the profile's sign is not named: $(cat err.txt)"
"$cli" send --port "$port" --workspace ws > /dev/null 2> err.txt && fail "send to nobody succeeded"
grep -q "^sign \"Lobby\" at 127.0.0.1:$port" err.txt && grep -q "cannot connect to 127.0.0.1:$port" err.txt ||
    fail "send to the profile's sign: $(cat err.txt)"
rm profile.ini

# ---- play of a program and of a schedule -----------------------------------------------------
tmp=$dir/tmp
mkdir tmp
TMPDIR=$tmp "$cli" play show.ZPF --frames frames > out.txt 2> err.txt || fail "play show.ZPF: $(cat err.txt)"
grep -q "^played [1-9][0-9]* ticks, [1-9][0-9]* frames$" out.txt || fail "play show.ZPF printed $(cat out.txt)"
[ -e frames/000001.png ] || fail "play show.ZPF drew no frame"
[ -z "$(ls tmp)" ] || fail "play left its scratch folder: $(ls tmp)"
[ ! -e default-ws ] || fail "play of a program made into the workspace"
# The middle pixel of the last frame.
colour=$(ffmpeg -loglevel error -i "frames/$(ls frames | tail -n 1)" -f rawvideo -pix_fmt rgb24 - |
    od -An -tu1 -v | tr -s ' \n' ' ' | awk '{ i = 3 * (8 * 32 + 16); r = $(i + 1); g = $(i + 2); b = $(i + 3)
            print (r > 200 && g < 50 && b < 50) ? "red" : r "," g "," b }')
[ "$colour" = red ] || fail "play show.ZPF shows $colour"

# A medium that cannot be made stops play as it stops make.
echo '{"sign": "32x16", "areaFormat": 0, "areas": [{"items": ["gone.png"]}]}' > gone.json
cp red.png gone.png
"$cli" build gone.json gone.ZPF || fail "build gone"
rm gone.png
TMPDIR=$tmp "$cli" play gone.ZPF --frames gone > /dev/null 2> err.txt; rc=$?
[ $rc = 1 ] || fail "play of a program with a missing medium exit $rc"
grep -q "gone.png" err.txt || fail "play gone.ZPF: $(cat err.txt)"

# A schedule is compiled first.
cat > week.json <<JSON
{"kind": "schedule", "entries": [
 {"kind": 2, "weekdays": [0,0,0,0,0,0,0], "months": [0,0,0,0,0,0,0,0,0,0,0,0], "days": [$(printf '0,%.0s' {1..30})0],
  "startHour": 0, "startMinute": 0, "endHour": 0, "endMinute": 0, "openStart": 1, "openEnd": 1,
  "startYear": 0, "startMonth": 0, "startDay": 0, "endYear": 0, "endMonth": 0, "endDay": 0, "programPath": "show.ZPF"}]}
JSON
"$cli" build week.json week.AT || fail "build week"
printf '[SET]\nLED_W=32\nLED_H=16\n' > profile.ini
TMPDIR=$tmp "$cli" play week.AT --frames week > out.txt 2> err.txt || fail "play week.AT: $(cat err.txt)"
[ -e week/000001.png ] || fail "play week.AT drew no frame"
[ -z "$(ls tmp)" ] || fail "play of a schedule left its scratch folder"

if [ "$failures" -ne 0 ]; then echo "$failures failed"; exit 1; fi
echo "cli conventions: all passed"

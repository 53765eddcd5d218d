#!/usr/bin/env bash
# brightline-cli make and compile on real pictures made by ffmpeg: the scripts byte for byte and
# the media at the area's size.
# Usage: cli_make_test.sh BRIGHTLINE_CLI
set -u
cli=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export BRIGHTLINE_PROFILE="$dir/profile.ini"
export TZ="CST-8"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_file() {  # expect_file NAME EXPECTED-TEXT (printf escapes)
    local want
    want=$(printf "$2"; echo x)
    local got
    got=$(cat "$1"; echo x)
    [ "$got" = "$want" ] || { fail "$1 differs"; diff <(printf "$2") "$1" | head -n 20; }
}
size_of() { /usr/bin/python3 -c '
import struct, sys
b = open(sys.argv[1], "rb").read()
if b[:8] == b"\x89PNG\r\n\x1a\n":
    w, h = struct.unpack(">II", b[16:24]); print(f"{w}x{h}")
else:
    i = 2
    while i < len(b):
        marker, length = b[i + 1], struct.unpack(">H", b[i + 2:i + 4])[0]
        if marker in (0xC0, 0xC1, 0xC2):
            h, w = struct.unpack(">HH", b[i + 5:i + 9]); print(f"{w}x{h}"); break
        i += 2 + length
' "$1"; }

ffmpeg -loglevel error -f lavfi -i testsrc2=size=320x200 -frames:v 1 "$dir/back.bmp" || fail "ffmpeg bmp"
ffmpeg -loglevel error -f lavfi -i testsrc2=size=640x360 -frames:v 1 "$dir/front.jpg" || fail "ffmpeg jpg"
cat > "$dir/program.json" <<JSON
{"kind": "program", "ledWidth": 128, "ledHeight": 64, "areaFormat": 1,
 "regionLines": [{"band": [61, -3, 67, 64], "selected": 0, "horizontal": 0, "role": 1, "endLineA": -1, "endLineB": -1}
   $(for i in 1 2 3 4 5 6 7; do printf ', {"band": [0,0,0,0], "selected": 0, "horizontal": 0, "role": 0, "endLineA": -1, "endLineB": -1}'; done)],
 "areaLists": [
   [{"path": "$dir/back.bmp", "thumbIndex": 0, "moveIn": 0, "moveOut": 0, "speed": 2, "start": 0, "hold": 5, "barRect": [0,0,0,0]},
    {"path": "$dir/front.jpg", "thumbIndex": 1, "moveIn": 10, "moveOut": 3, "speed": 1, "start": 0, "hold": 4, "barRect": [0,0,0,0]}],
   [{"path": "", "thumbIndex": -1, "moveIn": 0, "moveOut": 0, "speed": 0, "start": 0, "hold": 3, "barRect": [0,0,0,0]},
    {"path": "$dir/front.jpg", "thumbIndex": 1, "moveIn": 0, "moveOut": -1, "speed": 0, "start": 0, "hold": 2, "barRect": [0,0,0,0]}],
   [], []]}
JSON
"$cli" build "$dir/program.json" "$dir/show.ZPF" || fail "build"
made=$("$cli" make "$dir/show.ZPF" --workspace "$dir/ws" 2>"$dir/err")
[ "$made" = "3 media made into $dir/ws" ] || { fail "make printed '$made', expected 3"; cat "$dir/err"; }
header='TIME_ZONE -28800 \r\nDAYLIGHT_START 00/00:00 \r\nDAYLIGHT_END  00/00:00 \r\nDAYLIGHT_BIAS 0 \r\nLED_W 128 \r\nLED_H 64 \r\n'
expect_file "$dir/ws/run.at" "${header}AT 00:00 00:00 \r\nRUN wzp 3 70000.shw 0 0 64 64 1 70001.shw 0 0 64 64 1 70011.shw 64 0 64 64 1 \r\nEND"
expect_file "$dir/ws/70000.shw" 'WIN_TYPE 1\r\nPNG 70000001 \r\nAP SHOW 0\r\nSTOP 0 \r\nEP NULL 0\r\nEND'
expect_file "$dir/ws/70001.shw" 'WIN_TYPE 2\r\nJPG 70001001 \r\nAP FR_LF 1\r\nSTOP 4 \r\nEP DFR_RT 1\r\nEND'
# The same picture in the second area is exported once (the cache) and keeps its first name.
expect_file "$dir/ws/70011.shw" 'WIN_TYPE 1\r\nJPG 70001001 \r\nAP SHOW 0\r\nSTOP 2 \r\nEND'
[ "$(size_of "$dir/ws/70000001.PNG")" = "64x64" ] || fail "background PNG size $(size_of "$dir/ws/70000001.PNG")"
[ "$(size_of "$dir/ws/70001001.JPG")" = "64x64" ] || fail "item JPG size $(size_of "$dir/ws/70001001.JPG")"
[ ! -e "$dir/ws/70011001.JPG" ] || fail "the cached picture was exported twice"

# A schedule of three entries (the header takes the current sign's size from the profile): Make runs with program numbers 0, 1, 2 in start-time order.
cat > "$dir/schedule.json" <<JSON
{"kind": "schedule", "entries": [
 {"kind": 2, "weekdays": [0,0,0,0,0,0,0], "months": [0,0,0,0,0,0,0,0,0,0,0,0], "days": [$(printf '0,%.0s' {1..30})0],
  "startHour": 9, "startMinute": 0, "endHour": 10, "endMinute": 0, "openStart": 1, "openEnd": 1,
  "startYear": 0, "startMonth": 0, "startDay": 0, "endYear": 0, "endMonth": 0, "endDay": 0, "programPath": "show.ZPF"},
 {"kind": 0, "weekdays": [0,1,1,1,1,1,0], "months": [0,0,0,0,0,0,0,0,0,0,0,0], "days": [$(printf '0,%.0s' {1..30})0],
  "startHour": 8, "startMinute": 0, "endHour": 17, "endMinute": 30, "openStart": 1, "openEnd": 1,
  "startYear": 0, "startMonth": 0, "startDay": 0, "endYear": 0, "endMonth": 0, "endDay": 0, "programPath": "$dir/show.ZPF"},
 {"kind": 0, "weekdays": [0,0,0,0,0,0,0], "months": [0,0,0,0,0,0,0,0,0,0,0,0], "days": [$(printf '0,%.0s' {1..30})0],
  "startHour": 12, "startMinute": 0, "endHour": 13, "endMinute": 0, "openStart": 1, "openEnd": 1,
  "startYear": 0, "startMonth": 0, "startDay": 0, "endYear": 0, "endMonth": 0, "endDay": 0, "programPath": "$dir/no-such.ZPF"}]}
JSON
"$cli" build "$dir/schedule.json" "$dir/week.AT" || fail "build schedule"
printf '[SET]\nLED_W=128\nLED_H=64\n' > "$BRIGHTLINE_PROFILE"
total=$("$cli" compile "$dir/week.AT" --workspace "$dir/ws2" 2>"$dir/err")
[ "$total" = "6 media made into $dir/ws2" ] || { fail "compile printed '$total', expected 6"; cat "$dir/err"; }
expect_file "$dir/ws2/run.at" "${header}WEEK --/--/--  --/--/--  3e 08:00 17:30\r\nRUN wzp 3 70000.shw 0 0 64 64 1 70001.shw 0 0 64 64 1 70011.shw 64 0 64 64 1 \r\nOTHER\r\nRUN wzp 3 70100.shw 0 0 64 64 1 70101.shw 0 0 64 64 1 70111.shw 64 0 64 64 1 \r\nAT 12:00 13:00\r\nRUN wzp 0 \r\nEND"
[ -e "$dir/ws2/70101001.JPG" ] || fail "the second program's media are missing"

# A medium that cannot be made: named on standard error, the count said, exit 1; --keep-going
# makes the rest and exits 0. Make's progress lines only with --verbose.
sed "s|$dir/front.jpg|$dir/gone.jpg|" "$dir/program.json" > "$dir/gone.json"
"$cli" build "$dir/gone.json" "$dir/gone.ZPF" || fail "build gone"
made=$("$cli" make "$dir/gone.ZPF" --workspace "$dir/ws3" 2>"$dir/err"); rc=$?
[ $rc = 1 ] || fail "make with a missing medium exit $rc, expected 1"
# (the picture is in both areas: two items)
[ "$made" = "1 media made into $dir/ws3" ] || fail "make with a missing medium printed '$made'"
[ "$(grep -c "Could not make $dir/gone.jpg" "$dir/err")" = 2 ] || fail "the missing medium is not named: $(cat "$dir/err")"
grep -q "^brightline-cli: 2 items could not be made" "$dir/err" || fail "no failure count: $(cat "$dir/err")"
! grep -q "^Making" "$dir/err" || fail "progress lines without --verbose"
"$cli" make "$dir/gone.ZPF" --workspace "$dir/ws3" --keep-going >/dev/null 2>&1 || fail "--keep-going exit $?"
"$cli" make "$dir/gone.ZPF" --workspace "$dir/ws3" --keep-going --verbose >/dev/null 2>"$dir/err"
grep -q "^Make finish$" "$dir/err" || fail "no progress lines with --verbose: $(cat "$dir/err")"
sed "s|\"show.ZPF\"|\"gone.ZPF\"|" "$dir/schedule.json" > "$dir/gone-week.json"
"$cli" build "$dir/gone-week.json" "$dir/gone-week.AT" || fail "build gone-week"
"$cli" compile "$dir/gone-week.AT" --workspace "$dir/ws4" >/dev/null 2>"$dir/err"; rc=$?
[ $rc = 1 ] || fail "compile with a missing medium exit $rc, expected 1"
grep -q "Could not make $dir/gone.jpg" "$dir/err" || fail "compile: the missing medium is not named"
"$cli" compile "$dir/gone-week.AT" --workspace "$dir/ws4" --keep-going >/dev/null 2>&1 || fail "compile --keep-going"

"$cli" make >/dev/null 2>&1; [ $? = 2 ] || fail "make without a file is a usage error"
"$cli" make "$dir/none.ZPF" >/dev/null 2>&1; [ $? = 1 ] || fail "make of a missing file fails"
"$cli" compile "$dir/show.ZPF" >/dev/null 2>"$dir/err"; [ $? = 1 ] || fail "compile of a program fails"
grep -q "file type error!" "$dir/err" || fail "compile of a program says the file type is wrong"

# Another process writing or sending the workspace holds its folder (flock): make and compile are
# refused at once and nothing in the folder changes.
before=$(cd "$dir/ws" && find . -type f | sort | xargs md5sum)
flock --no-fork "$dir/ws" sleep 30 &
holder=$!
for _ in $(seq 50); do flock -n "$dir/ws" true || break; sleep 0.1; done
"$cli" make "$dir/show.ZPF" --workspace "$dir/ws" >/dev/null 2>"$dir/err"; rc=$?
[ $rc = 1 ] || fail "make on a folder in use: exit $rc"
grep -q "is in use by another Make or send" "$dir/err" || fail "make on a folder in use: $(cat "$dir/err")"
"$cli" compile "$dir/week.AT" --workspace "$dir/ws" >/dev/null 2>"$dir/err"; rc=$?
[ $rc = 1 ] || fail "compile on a folder in use: exit $rc"
kill "$holder"; wait "$holder" 2>/dev/null
[ "$(cd "$dir/ws" && find . -type f | sort | xargs md5sum)" = "$before" ] || fail "the folder in use changed"
"$cli" make "$dir/show.ZPF" --workspace "$dir/ws" >/dev/null 2>&1 || fail "make once the folder is free"

if [ "$failures" -ne 0 ]; then echo "$failures failed"; exit 1; fi
echo "cli make: all passed"

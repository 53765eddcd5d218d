#!/usr/bin/env bash
# brightline-cli compile, play --at and check on a schedule of a weekday-morning program and a
# weekend program, and a clock page played from a moment: which program the sign shows on a
# Saturday and on a Tuesday, the clock page's time running on, the same moment giving the same
# frames, and the checker's findings as text and JSON.
# Usage: cli_schedule_test.sh BRIGHTLINE_CLI
set -u
cli=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export BRIGHTLINE_PROFILE="$dir/profile.ini"
export TZ="CST-8"
printf '[SET]\nLED_W=64\nLED_H=32\n' > "$BRIGHTLINE_PROFILE"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# The colour of pixel (0, 0) of a PNG as rrggbb, and its name when it is plainly red or blue
# (the pictures went through a scaler on their way).
pixel() { ffmpeg -loglevel error -i "$1" -f rawvideo -pix_fmt rgb24 - | head -c 3 | od -An -tx1 | tr -d ' \n'; }
colour() {
    local hex r g b
    hex=$(pixel "$1"); r=$((16#${hex:0:2})); g=$((16#${hex:2:2})); b=$((16#${hex:4:2}))
    if [ $r -gt 200 ] && [ $g -lt 40 ] && [ $b -lt 40 ]; then echo red
    elif [ $b -gt 200 ] && [ $r -lt 40 ] && [ $g -lt 40 ]; then echo blue
    else echo "$hex"; fi
}

ffmpeg -loglevel error -f lavfi -i color=c=red:size=64x32 -frames:v 1 "$dir/red.png" || fail "ffmpeg red"
ffmpeg -loglevel error -f lavfi -i color=c=blue:size=64x32 -frames:v 1 "$dir/blue.png" || fail "ffmpeg blue"
lines=$(for i in 1 2 3 4 5 6 7 8; do printf '%s{"band": [0,0,0,0], "selected": 0, "horizontal": 0, "role": 0, "endLineA": -1, "endLineB": -1}' "$([ $i = 1 ] || echo ,)"; done)
element() {  # element PATH HOLD
    printf '{"path": "%s", "thumbIndex": 0, "moveIn": 0, "moveOut": 0, "speed": 0, "start": 0, "hold": %s, "barRect": [0,0,0,0]}' "$1" "$2"
}
program() {  # program FILE AREA0-ELEMENTS
    cat > "$dir/p.json" <<JSON
{"kind": "program", "ledWidth": 64, "ledHeight": 32, "areaFormat": 0, "regionLines": [$lines],
 "areaLists": [[$2], [], [], []]}
JSON
    "$cli" build "$dir/p.json" "$1" || fail "build $1"
}
program "$dir/weekday.ZPF" "$(element "$dir/red.png" 2)"
program "$dir/weekend.ZPF" "$(element "$dir/blue.png" 2)"
zeros() { printf '0%.0s,' $(seq 2 "$1"); printf 0; }
entry() {  # entry KIND WEEKDAYS H0 H1 PROGRAM
    printf '{"kind": %s, "weekdays": [%s], "months": [%s], "days": [%s], "startHour": %s, "startMinute": 0, "endHour": %s, "endMinute": %s, "openStart": 1, "openEnd": 1, "startYear": 0, "startMonth": 0, "startDay": 0, "endYear": 0, "endMonth": 0, "endDay": 0, "programPath": "%s"}' \
        "$1" "$2" "$(zeros 12)" "$(zeros 31)" "$3" "$4" "$([ "$4" = 23 ] && echo 59 || echo 0)" "$5"
}
cat > "$dir/week.json" <<JSON
{"kind": "schedule", "entries": [
 $(entry 0 "0,1,1,1,1,1,0" 6 12 weekday.ZPF),
 $(entry 0 "1,0,0,0,0,0,1" 0 23 weekend.ZPF)]}
JSON
"$cli" build "$dir/week.json" "$dir/week.AT" || fail "build schedule"
"$cli" compile "$dir/week.AT" --workspace "$dir/ws" >/dev/null 2>"$dir/err" || { fail "compile"; cat "$dir/err"; }

# Saturday morning the weekend program, Tuesday morning the weekday one.
"$cli" play run.at --workspace "$dir/ws" --at "2026-03-07 09:00" --frames "$dir/sat" >/dev/null 2>&1 || fail "play saturday"
[ "$(colour "$dir/sat/000001.png")" = blue ] || fail "saturday shows $(colour "$dir/sat/000001.png"), not blue"
"$cli" play run.at --workspace "$dir/ws" --at "2026-03-10T09:00:00" --frames "$dir/tue" >/dev/null 2>&1 || fail "play tuesday"
[ "$(colour "$dir/tue/000001.png")" = red ] || fail "tuesday shows $(colour "$dir/tue/000001.png"), not red"
# Tuesday afternoon nothing is scheduled.
out=$("$cli" play run.at --workspace "$dir/ws" --at "2026-03-10 13:00" --frames "$dir/none" --verbose 2>&1 >/dev/null)
[ "$out" = "nothing is scheduled at 2026-03-10 13:00:00" ] || fail "afternoon: '$out'"
[ -z "$(ls "$dir/none")" ] || fail "afternoon drew frames"
"$cli" play run.at --workspace "$dir/ws" --at "2026-02-30 09:00" >/dev/null 2>&1; [ $? = 2 ] || fail "a day that does not exist is a usage error"

# A clock page as an item: the moment shows and runs on, 25 ticks a second.
printf '[TIME]\r\nSHOW_DATE=0\r\nSHOW_TIME=1\r\nSHOW_WEEK=0\r\nDIFF_TIME=-28800\r\nDAYLIGHT=0\r\nTIME_COLOR=#ffffff\r\nTIME_FONT_INDEX=2\r\nTIME_X=0\r\nTIME_Y=0\r\nTIME=HH:MM:SS\r\n[TEMPERATURE]\r\nSHOW_TEMPERATURE=0\r\nSHOW_TITLE=0\r\n' > "$dir/clock.TIM"
program "$dir/clock.ZPF" "$(element "" 0), $(element "$dir/clock.TIM" 3)"
"$cli" make "$dir/clock.ZPF" --workspace "$dir/cws" >/dev/null 2>&1 || fail "make clock"
for run in a b; do
    "$cli" play run.at --workspace "$dir/cws" --at "2026-03-10 13:05:09" --ticks 40 --frames "$dir/$run" >/dev/null 2>&1 || fail "play clock $run"
done
"$cli" play run.at --workspace "$dir/cws" --at "2026-03-10 13:05:10" --ticks 2 --frames "$dir/c" >/dev/null 2>&1 || fail "play clock a second later"
[ "$(ls "$dir/a" | wc -l)" -ge 30 ] || fail "the clock page drew $(ls "$dir/a" | wc -l) frames"
for f in "$dir"/a/*.png; do cmp -s "$f" "$dir/b/$(basename "$f")" || fail "$(basename "$f") differs between two plays of one moment"; done
[ "$(ls "$dir/a")" = "$(ls "$dir/b")" ] || fail "two plays of one moment wrote different frames"
cmp -s "$dir/a/000001.png" "$dir/c/000001.png" && fail "a second later shows the same time"
cmp -s "$dir/a/000026.png" "$dir/c/000001.png" || fail "25 ticks later the clock does not show the next second"

# The checker: a week from Sunday 1 March; weekday afternoons and nights are dark.
"$cli" check "$dir/week.AT" --from 2026-03-01 --days 7 > "$dir/check.txt" || fail "check"
grep -q "^nothing-plays: Nothing plays from Mon 2026-03-02 00:00 to Mon 2026-03-02 06:00" "$dir/check.txt" || { fail "check text"; cat "$dir/check.txt"; }
tail -n 1 "$dir/check.txt" | grep -q "2 entries, 7 days from 2026-03-01, sign 64 x 32: 6 warnings" || fail "check summary: $(tail -n 1 "$dir/check.txt")"
"$cli" check "$dir/week.AT" --from 2026-03-01 --days 7 --json > "$dir/check.json" || fail "check --json"
/usr/bin/python3 - "$dir/check.json" <<'PY' || fail "check JSON"
import json, sys
doc = json.load(open(sys.argv[1]))
kinds = [f["kind"] for f in doc["findings"]]
assert kinds == ["nothing-plays"] * 6, kinds
first = doc["findings"][0]
assert first["from"] == "2026-03-02 00:00" and first["to"] == "2026-03-02 06:00", first
assert first["minutes"] == 360, first
assert doc["sign"] == {"width": 64, "height": 32} and doc["days"] == 7, doc
PY
# A program for another sign and one that is missing.
printf '[SET]\nLED_W=128\nLED_H=64\n' > "$BRIGHTLINE_PROFILE"
"$cli" check "$dir/week.AT" --from 2026-03-01 --days 7 | grep -c "^other-size: " | grep -qx 2 || fail "other-size"
"$cli" check "$dir/week.AT" --days 0 >/dev/null 2>&1; [ $? = 2 ] || fail "--days 0 is a usage error"
"$cli" check "$dir/weekday.ZPF" >/dev/null 2>&1; [ $? = 1 ] || fail "checking a program fails"

if [ "$failures" -ne 0 ]; then echo "$failures failed"; exit 1; fi
echo "cli schedule: all passed"

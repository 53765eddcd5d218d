#!/usr/bin/env bash
# brightline-cli play: frames named by tick, a GIF, the engine's lines on standard error with
# --verbose only, and the exit codes. Usage: cli_play_test.sh BRIGHTLINE_CLI
set -euo pipefail
cli="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

ws="$work/ws"
mkdir -p "$ws"
ffmpeg -loglevel error -f lavfi -i color=c=red:size=16x8 -frames:v 1 "$ws/70001001.PNG"
printf 'PNG 70001001 \r\nAP SHOW 0\r\nSTOP 1 \r\nEP SHOW 0\r\n' > "$ws/70011.shw"
printf 'LED_W 32 \r\nLED_H 8 \r\nAT 00:00 00:00 \r\nRUN wzp 1 70011.shw 0 0 16 8 1 \r\nEND' > "$ws/run.at"

out="$("$cli" play RUN.AT --workspace "$ws" --frames "$work/frames" --gif "$work/show.gif" 2>"$work/err")"
[ "$out" = "played 27 ticks, 2 frames" ] || fail "result: $out"
# (lines from the address sanitizer start with "==")
[ -z "$(grep -v "^==" "$work/err")" ] || fail "diagnostics without --verbose: $(cat "$work/err")"
rm -r "$work/frames"
err="$("$cli" play RUN.AT --workspace "$ws" --frames "$work/frames" --verbose 2>&1 >/dev/null | grep -v "^==")"
[ "$err" = $'**********All Region quit \r' ] || fail "diagnostics: $err"
[ "$(ls "$work/frames")" = $'000001.png\n000027.png' ] || fail "frames: $(ls "$work/frames")"
[ "$(head -c 6 "$work/show.gif")" = "GIF89a" ] || fail "no GIF"

"$cli" play run.at --workspace "$ws" --ticks 5 --frames "$work/five" >/dev/null 2>&1
[ "$(ls "$work/five")" = "000001.png" ] || fail "--ticks 5: $(ls "$work/five")"

# --every 25: the screen at ticks 25, 50, 75 and 100 of a region that draws on every tick.
printf 'PNG 70001001 \r\nFOR 2147483647\r\nAP SHOW 0\r\nEND\r\n' > "$ws/busy.shw"
printf 'LED_W 16 \r\nLED_H 8 \r\nRUN wzp 1 busy.shw 0 0 16 8 1 \r\nEND' > "$ws/busy.at"
"$cli" play busy.at --workspace "$ws" --ticks 100 --every 25 --frames "$work/every" \
    --gif "$work/every.gif" >/dev/null 2>&1 || fail "--every 25"
[ "$(ls "$work/every" | tr '\n' ' ')" = "000025.png 000050.png 000075.png 000100.png " ] ||
    fail "--every 25: $(ls "$work/every")"
[ "$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames \
    -of csv=p=0 "$work/every.gif")" = 4 ] || fail "--every 25: the GIF holds other than 4 frames"

# Shows that never end by themselves end at --ticks, and a line repeated on every tick is
# printed once with its count.
printf 'LED_W 8 \r\nLED_H 8 \r\nRUN wzp 1 none.shw 0 0 8 8 1 \r\nEND' > "$ws/never.at"
printf 'LED_W 8 \r\nLED_H 8 \r\nRUN wzp 1 loop.shw 0 0 8 8 1 \r\nEND' > "$ws/loop.at"
printf 'FOR 2147483647\r\nEND\r\n' > "$ws/loop.shw"
for show in never.at loop.at; do
    out="$(timeout 60 "$cli" play "$show" --workspace "$ws" --ticks 60 --verbose 2>"$work/err")" ||
        fail "$show did not end at --ticks 60"
    grep -q "played 60 ticks" <<<"$out" || fail "$show: $out"
    bytes=$(grep -v "^==" "$work/err" | wc -c)
    [ "$bytes" -lt 400 ] || fail "$show printed $bytes bytes"
done
out="$(timeout 60 "$cli" play never.at --workspace "$ws" --ticks 60 --verbose 2>&1 >/dev/null | grep -v "^==")"
grep -q "^repeated 59 times: could not open $ws/none.shw " <<<"$out" || fail "no count: $out"

set +e
"$cli" play missing.at --workspace "$ws" --verbose 2>"$work/err" >/dev/null; rc=$?
set -e
out="$(grep -v "^brightline-cli: " "$work/err")"
[ $rc -eq 1 ] || fail "missing show exit $rc"
[ "$out" = "could not open $ws/missing.at " ] || fail "missing show: $out"
set +e
"$cli" play run.at --ticks x >/dev/null 2>&1; rc=$?
set -e
[ $rc -eq 2 ] || fail "bad --ticks exit $rc"
set +e
"$cli" play run.at --every 0 >/dev/null 2>&1; rc=$?
set -e
[ $rc -eq 2 ] || fail "--every 0 exit $rc"

# Without --frames or --gif it says that nothing was written.
"$cli" play run.at --workspace "$ws" >/dev/null 2>"$work/err" || fail "play without outputs"
grep -q "nothing is written without --frames DIR or --gif FILE" "$work/err" ||
    fail "play without outputs: $(cat "$work/err")"
# --window: the show on the screen until the window is closed. Without a display, or with one
# that cannot be reached, it says so and plays nothing.
set +e
err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    "$cli" play run.at --workspace "$ws" --window 2>&1 >/dev/null); rc=$?
set -e
[ $rc -eq 1 ] || fail "--window without a display: exit $rc"
grep -q "there is no display to show a window on" <<<"$err" || fail "--window without a display: $err"
set +e
err=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:9999 ASAN_OPTIONS=detect_leaks=0 \
    "$cli" play run.at --workspace "$ws" --window 2>&1 >/dev/null); rc=$?
set -e
[ $rc -eq 1 ] || fail "--window on an unreachable display: exit $rc"
grep -q "cannot connect to the display :9999" <<<"$err" || fail "unreachable display: $err"
# On Qt's offscreen platform: --ticks ends it at the sign's pace; Ctrl+C ends it as closing the
# window does, and the scratch folder of a program made for it goes too.
out=$(QT_QPA_PLATFORM=offscreen "$cli" play run.at --workspace "$ws" --window --ticks 10 2>/dev/null)
[ "$out" = "played 10 ticks, 0 frames" ] || fail "--window --ticks 10: $out"
# interrupted COMMAND...: runs it with a TMPDIR of its own, output in $work/out and $work/err,
# presses Ctrl+C after a second and sets rc to its exit status.
interrupted() {
    rm -rf "$work/tmp" && mkdir "$work/tmp"
    TMPDIR="$work/tmp" "$@" >"$work/out" 2>"$work/err" &
    local player=$!
    sleep 1
    kill -INT "$player"
    set +e
    wait "$player"; rc=$?
    set -e
}
"$cli" new "$work/empty.ZPF" --size 32x8 --format 0 >/dev/null
interrupted env QT_QPA_PLATFORM=offscreen "$cli" play "$work/empty.ZPF" --window
[ $rc -eq 0 ] || fail "--window after Ctrl+C: exit $rc"
grep -q "^played [0-9]* ticks, 0 frames$" "$work/out" || fail "--window after Ctrl+C: $(cat "$work/out")"
[ -z "$(ls -A "$work/tmp")" ] || fail "--window left $(ls -A "$work/tmp") behind"
# Headless, Ctrl+C ends the show too: the frames so far stay, the GIF is finished, the exit
# status is 130 and no scratch folder is left.
ffmpeg -loglevel error -f lavfi -i color=c=blue:size=32x8 -frames:v 1 "$work/blue.png"
echo '{"sign": "32x8", "areaFormat": 0, "areas": [{"background": "blue.png"}]}' >"$work/blue.json"
"$cli" build "$work/blue.json" "$work/blue.ZPF" >/dev/null
interrupted "$cli" play "$work/blue.ZPF" --realtime --ticks 100000 --gif "$work/cut.gif"
[ $rc -eq 130 ] || fail "play after Ctrl+C: exit $rc"
grep -q "interrupted after [0-9]* ticks" "$work/err" || fail "play after Ctrl+C: $(cat "$work/err")"
[ "$(head -c 6 "$work/cut.gif")" = "GIF89a" ] || fail "the GIF of an interrupted play is not finished"
[ -z "$(ls -A "$work/tmp")" ] || fail "an interrupted play left $(ls -A "$work/tmp") behind"
echo "cli play: 1 passed, 0 failed"

#!/usr/bin/env bash
# End to end without a person: a program of three areas (a picture, a text page made into a clip,
# a clock page) made with `brightline-cli make`, played by the engine in stepped mode, and the
# frames checked for what each area must show.
# Usage: cli_show_test.sh BRIGHTLINE_CLI
set -u
cli=$1
dir=$(mktemp -d)
[ -n "${KEEP:-}" ] || trap 'rm -rf "$dir"' EXIT
export BRIGHTLINE_PROFILE="$dir/profile.ini"
export TZ="UTC0"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The media: a red picture, a two-page text page (green, then blue) and a clock page in yellow.
ffmpeg -loglevel error -f lavfi -i color=c=red:size=300x200 -frames:v 1 "$dir/red.jpg" || fail "ffmpeg"
/usr/bin/python3 - "$dir" <<'PY'
import struct, sys
folder = sys.argv[1]
def bmp(width, height, rgb):
    row = bytes([rgb[2], rgb[1], rgb[0]]) * width
    row += b"\0" * ((4 - len(row) % 4) % 4)
    pixels = row * height
    header = b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels
pages = [bmp(64, 64, (0, 255, 0)), bmp(64, 64, (0, 0, 255))]
head = bytearray(60)
head[0:4] = b"ZRT\0"
struct.pack_into("<i", head, 4, 1)
struct.pack_into("<iiIi", head, 44, 64, 64, 60, len(pages))
with open(f"{folder}/hello.ZRT", "wb") as f:
    f.write(bytes(head))
    for p in pages:
        f.write(struct.pack("<I", len(p)) + p)
tim = ("[TIME]\r\nSHOW_DATE=0\r\nSHOW_WEEK=0\r\nSHOW_TIME=1\r\nSHOW_TEMPERATURE=0\r\nSHOW_TITLE=0\r\n"
       "TIME_COLOR=#FFFF00\r\nTIME_FONT_INDEX=2\r\nTIME_X=2\r\nTIME_Y=20\r\nTIME=HH:MM\r\n"
       "DIFF_TIME=0\r\nDAYLIGHT=0\r\nDAYLIGHT_START=00/00:00\r\nDAYLIGHT_END=00/00:00\r\n")
open(f"{folder}/town.TIM", "w").write(tim)
PY

line='{"band": [0,0,0,0], "selected": 0, "horizontal": 0, "role": 0, "endLineA": -1, "endLineB": -1}'
el() { printf '{"path": "%s", "thumbIndex": %s, "moveIn": 0, "moveOut": -1, "speed": 0, "start": 0, "hold": %s, "barRect": [0,0,0,0]}' "$1" "$2" "$3"; }
cat > "$dir/program.json" <<JSON
{"kind": "program", "ledWidth": 192, "ledHeight": 64, "areaFormat": 4,
 "regionLines": [{"band": [61, -3, 67, 64], "selected": 0, "horizontal": 0, "role": 1, "endLineA": -1, "endLineB": -1},
                 {"band": [125, -3, 131, 64], "selected": 0, "horizontal": 0, "role": 1, "endLineA": -1, "endLineB": -1},
                 $line, $line, $line, $line, $line, $line],
 "areaLists": [[$(el "" -1 3), $(el "$dir/red.jpg" 0 4)],
               [$(el "" -1 3), $(el "$dir/hello.ZRT" 0 1)],
               [$(el "" -1 3), $(el "$dir/town.TIM" 0 4)],
               []]}
JSON
"$cli" build "$dir/program.json" "$dir/show.ZPF" || fail "build"
made=$("$cli" make "$dir/show.ZPF" --workspace "$dir/ws" 2>"$dir/make.err")
[ "$made" = "3 media made into $dir/ws" ] || { fail "make printed '$made', expected 3"; cat "$dir/make.err"; }
grep -q '^ZAVI 70011001 2 ' "$dir/ws/70011.shw" || { fail "the text page clip line"; cat "$dir/ws/70011.shw"; }

"$cli" play run.at --workspace "$dir/ws" --ticks 75 --frames "$dir/frames" > "$dir/play.out" 2>&1 \
    || { fail "play"; cat "$dir/play.out"; }
frames=$(ls "$dir/frames" 2>/dev/null | wc -l)
[ "$frames" -gt 0 ] || fail "no frames were drawn"
last=$(ls "$dir/frames" | tail -n 1)
pixel() { convert "$dir/frames/$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
# Area 0 (x 0..63): the red picture (a JPEG, so nearly red).
red() { IFS=, read -r r g b <<< "$1"; [ "$r" -gt 230 ] && [ "$g" -lt 30 ] && [ "$b" -lt 30 ]; }
red "$(pixel "$last" 32 32)" || fail "area 0 shows $(pixel "$last" 32 32), not red"
# Area 1 (x 64..127): one of the text page's pages, green or blue.
p1=$(pixel "$last" 96 32)
[ "$p1" = "0,255,0" ] || [ "$p1" = "0,0,255" ] || fail "area 1 shows $p1, not a text page"
# Area 2 (x 128..191): the clock's digits in yellow on black.
yellow=$(convert "$dir/frames/$last" -crop 64x64+128+0 +repage -fill black +opaque '#FFFF00' \
         -fill white -opaque '#FFFF00' -format '%[fx:int(mean*4096)]' info:)
[ "$yellow" -gt 20 ] || fail "area 2 shows no yellow clock digits ($yellow/4096)"
# The two pages of the text page both appear over the run.
seen_green=0; seen_blue=0
for f in "$dir"/frames/*.png; do
    case "$(pixel "$(basename "$f")" 96 32)" in
        0,255,0) seen_green=1 ;;
        0,0,255) seen_blue=1 ;;
    esac
done
[ "$seen_green$seen_blue" = "11" ] || fail "text page pages seen: green $seen_green, blue $seen_blue"

if [ "$failures" -ne 0 ]; then echo "$failures failed ($frames frames in $dir)"; exit 1; fi
echo "cli show: all passed ($frames frames)"

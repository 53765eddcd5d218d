#!/usr/bin/env bash
# Flash movies through brightline-cli: inspect, convert, and a program with a ".SWF" element
# made with `make` and played stepped with `play`, its frames showing the movie's frames.
# Usage: cli_swf_test.sh BRIGHTLINE_CLI
set -u
cli=$1
dir=$(mktemp -d)
[ -n "${KEEP:-}" ] || trap 'rm -rf "$dir"' EXIT
cd "$dir"
export BRIGHTLINE_PROFILE="$dir/profile.ini"
export TZ="UTC0"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A movie by FFmpeg's SWF muxer: five red JPEG frames, then five blue ones.
ffmpeg -nostdin -loglevel error -y -f lavfi \
    -i "color=red:s=64x32:r=10:d=0.5[a];color=blue:s=64x32:r=10:d=0.5[b];[a][b]concat=n=2[out0]" \
    -c:v mjpeg movie.swf || fail "ffmpeg"

"$cli" inspect movie.swf > inspect.json || fail "inspect exited $?"
/usr/bin/python3 - <<'PY' || fail "inspect JSON: $(cat inspect.json)"
import json
d = json.load(open("inspect.json"))
assert d["kind"] == "swf" and d["width"] == 64 and d["height"] == 32, d
assert d["frameCount"] == 10 and d["framesInFile"] == 10 and d["frameRate"] == 10.0, d
tags = {t["name"]: t for t in d["tags"]}
assert tags["DefineBitsJPEG2"]["count"] == 10 and tags["DefineBitsJPEG2"]["handling"] == "drawn", tags
assert tags["ShowFrame"]["count"] == 10, tags
assert d["skipped"] == [] and d["problems"] == [], d
PY

"$cli" convert movie.swf clip.zvi --size 32x16 > convert.out || fail "convert exited $?"
grep -q 'clip.zvi: 10 frames, codec "PNG ", rate 24, 32 x 16' convert.out || fail "convert said: $(cat convert.out)"
"$cli" inspect clip.zvi > /dev/null || fail "the clip does not read back"

# A cut movie and a file that is no movie: exit 1, a message, no clip.
head -c 600 movie.swf > cut.swf
"$cli" inspect cut.swf > /dev/null 2> cut.err; [ $? = 1 ] || fail "inspect of a cut movie should fail"
grep -q "claims" cut.err || fail "cut movie: $(cat cut.err)"
echo "not a movie" > bad.swf
"$cli" convert bad.swf bad.zvi 2> bad.err; [ $? = 1 ] || fail "convert of a non-movie should fail"
grep -q "not a Flash movie" bad.err || fail "non-movie: $(cat bad.err)"
[ ! -e bad.zvi ] || fail "a failed convert left a clip"

# A one-area program whose only item is the movie.
cat > program.json <<JSON
{"kind": "program", "ledWidth": 64, "ledHeight": 32, "areaFormat": 0,
 "regionLines": [$(for i in 1 2 3 4 5 6 7 8; do printf '{"band": [0,0,0,0], "selected": 0, "horizontal": 0, "role": 0, "endLineA": -1, "endLineB": -1}'; [ $i -lt 8 ] && printf ','; done)],
 "areaLists": [[{"path": "", "thumbIndex": -1, "moveIn": 0, "moveOut": -1, "speed": 0, "start": 0, "hold": 3, "barRect": [0,0,0,0]},
                {"path": "$dir/movie.swf", "thumbIndex": 0, "moveIn": 0, "moveOut": -1, "speed": 0, "start": 0, "hold": 0, "barRect": [0,0,0,0]}],
               [], [], []]}
JSON
"$cli" build program.json show.ZPF || fail "build"
made=$("$cli" make show.ZPF --workspace ws --verbose 2> make.err)
[ "$made" = "1 media made into ws" ] || { fail "make printed '$made', expected 1"; cat make.err; }
grep -q "^Transforming\.\.\. $dir/movie.swf$" make.err || fail "make did not announce the movie: $(cat make.err)"
grep -q '^ZAVI 70001001 10 0 SHOW NULL 0 ' ws/70001.shw || fail "clip line: $(cat ws/70001.shw)"
"$cli" inspect ws/70001001.ZVI > clip.json || fail "the made clip does not read back"
grep -q '"frameCount": 10' clip.json || fail "made clip: $(head -8 clip.json)"

"$cli" play run.at --workspace ws --ticks 30 --frames frames > play.out 2>&1 || { fail "play"; cat play.out; }
seen_red=0; seen_blue=0
for f in frames/*.png; do
    case "$(convert "$f" -format '%[fx:int(255*p{32,16}.r)],%[fx:int(255*p{32,16}.g)],%[fx:int(255*p{32,16}.b)]' info:)" in
        25[0-5],[0-9],[0-9]|25[0-5],[0-9],1[0-9]) seen_red=1 ;;
        [0-9],[0-9],25[0-5]|[0-9],1[0-9],25[0-5]|1[0-9],[0-9],25[0-5]) seen_blue=1 ;;
    esac
done
[ "$seen_red$seen_blue" = "11" ] || fail "the played frames show red $seen_red, blue $seen_blue ($(ls frames | wc -l) frames)"

if [ "$failures" -ne 0 ]; then echo "$failures failed (kept in $dir)"; trap - EXIT; exit 1; fi
echo "cli swf: all passed"

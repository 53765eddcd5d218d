#!/usr/bin/env bash
# brightline-cli new, build of a compact program, inspect --compact and the checks build makes:
# the programs written are compared with the area format table and the timeline rule, and every
# refused document names its field and writes nothing.
# Usage: cli_compact_test.sh BRIGHTLINE_CLI
set -u
cli=$(realpath "$1")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export BRIGHTLINE_PROFILE="$dir/profile.ini"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
py() { /usr/bin/python3 -c "$@"; }
# field FILE.json PYTHON-EXPRESSION-ON-d: prints the value as JSON
field() { py 'import json, sys; d = json.load(open(sys.argv[1])); print(json.dumps(eval(sys.argv[2]), separators=(",", ":")).replace(sys.argv[3], "D"))' "$1" "$2" "$dir"; }
expect() {  # expect WHAT GOT WANT
    [ "$2" = "$3" ] || fail "$1: got $2, want $3"
}
cd "$dir" || exit 1

# ---- new -------------------------------------------------------------------------------------
"$cli" new plain.ZPF --size 128x64 > out.txt || fail "new without a format"
"$cli" inspect plain.ZPF > plain.json || fail "inspect plain"
expect "new without a format: format" "$(field plain.json 'd["areaFormat"]')" 0
expect "new without a format: lines untouched" "$(field plain.json '[l["band"] for l in d["regionLines"]][0]')" "[0,0,0,0]"
expect "new: one empty background per list" \
    "$(field plain.json '[[(e["path"], e["thumbIndex"], e["hold"]) for e in l] for l in d["areaLists"]]')" \
    '[[["",-1,3]],[["",-1,3]],[["",-1,3]],[["",-1,3]]]'
# Format 8 on 128 x 64: line 0 vertical at 64 over the whole height (other lines end on it),
# line 1 horizontal at 32 from the left edge to line 0.
"$cli" new eight.ZPF --size 128x64 --format 8 > /dev/null || fail "new --format 8"
"$cli" inspect eight.ZPF > eight.json
expect "format 8 lines" \
    "$(field eight.json '[(l["band"], l["horizontal"], l["role"], l["endLineA"], l["endLineB"]) for l in d["regionLines"][:3]]')" \
    '[[[61,-3,67,64],0,1,-1,-1],[[-3,29,67,35],1,2,0,-1],[[0,0,0,0],0,0,-1,-1]]'
# Format 0 chosen sets line 0 to the whole face (not live).
"$cli" new zero.ZPF --size 64x32 --format 0 > /dev/null || fail "new --format 0"
"$cli" inspect zero.ZPF > zero.json
expect "format 0 line 0" "$(field zero.json 'd["regionLines"][0]["band"]')" "[0,0,64,32]"
# Without --size: the current sign's size from the sign list of the start folder.
cat > signs.json <<'JSON'
{"kind": "signs", "reserved": 0, "signs": [
  {"name": "Sample LED", "port": 0, "baudIndex": 7, "address": 1, "width": 192, "height": 96,
   "mtuIndex": 5, "ip": [127, 0, 0, 1], "host": "127.0.0.1"}]}
JSON
"$cli" build signs.json LED_SET.ZRC || fail "build sign list"
"$cli" new signsize.ZPF > /dev/null || fail "new with the current sign's size"
"$cli" inspect signsize.ZPF > signsize.json
expect "size of the current sign" "$(field signsize.json '[d["ledWidth"], d["ledHeight"]]')" "[192,96]"
rm LED_SET.ZRC
# Refused: an existing file (kept as it was), a size no sign takes, a format outside the table.
cp eight.ZPF eight.before
"$cli" new eight.ZPF --size 64x32 2> err.txt && fail "new over an existing file"
grep -q "eight.ZPF exists" err.txt || fail "existing file message: $(cat err.txt)"
cmp -s eight.ZPF eight.before || fail "new changed an existing file"
for size in 100x64 8x8 1024x128 64x0 x64; do
    "$cli" new bad.ZPF --size $size 2> err.txt && fail "new --size $size accepted"
    [ -e bad.ZPF ] && fail "new --size $size wrote a file"
done
"$cli" new bad.ZPF --size 1024x128 2> err.txt
grep -q "1024x128 is not a sign size" err.txt || fail "size message: $(cat err.txt)"
"$cli" new bad.ZPF --format 11 2> err.txt; expect "--format 11 status" $? 2
[ -e bad.ZPF ] && fail "new --format 11 wrote a file"

# ---- compact build ---------------------------------------------------------------------------
ffmpeg -loglevel error -f lavfi -i color=red:size=64x48 -frames:v 1 red.jpg || fail "ffmpeg jpg"
ffmpeg -loglevel error -f lavfi -i color=blue:size=40x40 -frames:v 1 blue.png || fail "ffmpeg png"
ffmpeg -loglevel error -f lavfi -i testsrc=size=64x48:rate=10:duration=1 clip.avi || fail "ffmpeg avi"
printf '[CLOCK]\n' > town.TIM
# The picture library lists a missing file between the two pictures: thumbIndex counts only the
# entries the property view shows.
printf '{"kind": "library", "paths": ["%s/red.jpg", "%s/gone.jpg", "%s/blue.png"]}' "$dir" "$dir" "$dir" > lib.json
"$cli" build lib.json RC_IMG.ZRC || fail "build picture library"
cat > show.json <<'JSON'
{
  "sign": "128x64",
  "areaFormat": 1,
  "areas": [
    {"background": {"path": "red.jpg", "in": "Move left", "speed": 2},
     "items": [{"path": "blue.png", "out": "FR_LF", "hold": 7}, "red.jpg", {"path": "media/../town.TIM", "hold": 10}]},
    {"background": "clip.avi", "items": [{"path": "blue.png", "in": "fade in", "out": "No clear"}]}
  ]
}
JSON
"$cli" build show.json show.ZPF || fail "build compact"
"$cli" inspect show.ZPF > show.exact.json || fail "inspect compact-built program"
expect "area 0: path, thumbIndex, moveIn, moveOut, speed, start, hold" \
    "$(field show.exact.json '[(e["path"], e["thumbIndex"], e["moveIn"], e["moveOut"], e["speed"], e["start"], e["hold"]) for e in d["areaLists"][0]]')" \
    '[["D/red.jpg",0,1,0,2,0,3],["D/blue.png",1,0,11,0,3,7],["D/red.jpg",0,0,0,0,10,3],["D/town.TIM",0,0,0,0,13,10]]'
expect "area 1: the clip background holds 0 s, the item starts at 0" \
    "$(field show.exact.json '[(e["thumbIndex"], e["moveIn"], e["moveOut"], e["start"], e["hold"]) for e in d["areaLists"][1]]')" \
    '[[0,0,0,0,0],[1,42,0,0,3]]'
expect "effect names printed beside the numbers" \
    "$(field show.exact.json '[(e["moveInName"], e["moveOutName"]) for e in d["areaLists"][0][:2]]')" \
    '[["DFR_LF","NULL"],["SHOW","FR_LF"]]'
expect "lines of format 1" "$(field show.exact.json 'd["regionLines"][0]["band"]')" "[61,-3,67,64]"
expect "slots past the format keep their empty background" \
    "$(field show.exact.json '[len(d["areaLists"][2]), d["areaLists"][3][0]["thumbIndex"]]')" "[1,-1]"

# inspect --compact prints the form back; built again it gives the same bytes.
"$cli" inspect show.ZPF --compact > back.json || fail "inspect --compact"
expect "the compact form names effects by script name" \
    "$(field back.json 'd["areas"][1]["items"][0]["in"]')" '"COLOR"'
"$cli" build back.json back.ZPF || fail "build inspect --compact output"
cmp -s show.ZPF back.ZPF || fail "inspect --compact then build changed the program"
# The exact form names effects too, and takes them by name.
sed 's/"moveIn": 1,/"moveIn": "Move left",/; s/"moveInName": "DFR_LF",//' show.exact.json > named.json
"$cli" build named.json named.ZPF || fail "build with an effect by name"
cmp -s show.ZPF named.ZPF || fail "an effect by name gave another program"

# A program the compact form cannot say is refused with the reason, and nothing is printed.
py 'import json, sys
d = json.load(open("show.exact.json"))
d["areaLists"][0][2]["start"] = 12
json.dump(d, open("moved.json", "w"))'
"$cli" build moved.json moved.ZPF || fail "build moved"
"$cli" inspect moved.ZPF --compact > moved.out 2> err.txt && fail "inspect --compact of a moved start"
grep -q "area 0 item 2 has start 12 where the same clicks give 10" err.txt || fail "moved start message: $(cat err.txt)"
[ -s moved.out ] && fail "inspect --compact printed a form it cannot say"
"$cli" new dragged.ZPF --size 128x64 --format 1 > /dev/null
"$cli" inspect dragged.ZPF | sed 's/^        61,$/        51,/; s/^        67,$/        57,/' > dragged.json
"$cli" build dragged.json dragged.ZPF || fail "build dragged"
"$cli" inspect dragged.ZPF --compact 2> err.txt > /dev/null && fail "inspect --compact of a dragged line"
grep -q "dividing lines are not the ones area format 1 sets" err.txt || fail "dragged message: $(cat err.txt)"
"$cli" inspect RC_IMG.ZRC --compact 2> err.txt && fail "inspect --compact of a library"
grep -q "not a program file" err.txt || fail "not a program message: $(cat err.txt)"

# The compact program is made into a show like any other.
"$cli" make show.ZPF --workspace ws > /dev/null 2>&1 || fail "make of a compact-built program"
grep -q "^RUN wzp 4 70000.shw 0 0 64 64 1 70001.shw 0 0 64 64 1 70010.shw 64 0 64 64 1 70011.shw 64 0 64 64 1 " ws/run.at ||
    fail "run.at: $(tail -n 2 ws/run.at)"

# ---- what build refuses ----------------------------------------------------------------------
# Each line: the message expected, then the document (one line). Nothing may be written.
touch notes.txt
exact() {  # exact 'python edit of d' : the exact form of show.ZPF, edited
    py 'import json, sys
d = json.load(open("show.exact.json"))
exec(sys.argv[1])
print(json.dumps(d))' "$1"
}
while IFS='|' read -r want doc; do
    [ -z "$want" ] && continue
    printf '%s\n' "$doc" > bad.json
    "$cli" build bad.json bad.ZPF 2> err.txt; status=$?
    [ $status -eq 1 ] || fail "status $status for: $doc"
    grep -qF -- "$want" err.txt || fail "want \"$want\", got \"$(cat err.txt)\" for: $doc"
    [ -e bad.ZPF ] && { fail "wrote a file for: $doc"; rm -f bad.ZPF; }
done <<EOF2
areaFormat must lie in 0..10|$(exact 'd["areaFormat"] = 11')
areaLists[0][1].moveIn must lie in -1..44|$(exact 'd["areaLists"][0][1]["moveIn"] = 45')
areaLists[0][1].moveOut must lie in -1..45|$(exact 'd["areaLists"][0][1]["moveOut"] = 46')
areaLists[0][1].moveOut: "Bogus" is no effect|$(exact 'd["areaLists"][0][1]["moveOut"] = "Bogus"')
areaLists[0][1].moveIn: "NULL" is no entry effect|$(exact 'd["areaLists"][0][1]["moveIn"] = "NULL"; del d["areaLists"][0][1]["moveInName"]')
areaLists[0][1].moveInName "FR_LF" is not the effect of areaLists[0][1].moveIn 0 ("SHOW")|$(exact 'd["areaLists"][0][1]["moveInName"] = "FR_LF"')
ledWidth: 100x64 is not a sign size|$(exact 'd["ledWidth"] = 100')
ledHeight: 128x12 is not a sign size|$(exact 'd["ledHeight"] = 12')
areaLists[0][1].hodl is not a field here|$(exact 'd["areaLists"][0][1]["hodl"] = 3')
regionLines[2].role must lie in 0..3|$(exact 'd["regionLines"][2]["role"] = 4')
colour is not a field here|$(exact 'd["colour"] = 1')
sign 128x60 is not a sign size|{"sign": "128x60", "areas": []}
sign must be "WIDTHxHEIGHT"|{"sign": "128 by 64", "areas": []}
areaFormat must lie in 0..10|{"sign": "128x64", "areaFormat": 12, "areas": []}
areas holds 3 areas, but area format 1 has 2|{"sign": "128x64", "areaFormat": 1, "areas": [{}, {}, {}]}
areas holds 2 areas, but area format 0 has 1|{"sign": "128x64", "areas": [{}, {}]}
areas[0].items[0].in: "Wobble" is no effect|{"sign": "128x64", "areas": [{"items": [{"path": "red.jpg", "in": "Wobble"}]}]}
areas[0].items[0].in: "NULL" is no entry effect|{"sign": "128x64", "areas": [{"items": [{"path": "red.jpg", "in": "NULL"}]}]}
areas[0].background.in a clip or a clock page takes no effects|{"sign": "128x64", "areas": [{"background": {"path": "clip.avi", "in": "DFR_LF"}}]}
areas[0].items[0].out a clip or a clock page takes no effects|{"sign": "128x64", "areas": [{"items": [{"path": "town.TIM", "out": "FR_LF"}]}]}
areas[0].items[0].speed must lie in 0..7|{"sign": "128x64", "areas": [{"items": [{"path": "red.jpg", "speed": 9}]}]}
areas[0].items[0].hold must lie in 0..86399|{"sign": "128x64", "areas": [{"items": [{"path": "red.jpg", "hold": -1}]}]}
areas[0].items[1]: $dir/nope.jpg is no file|{"sign": "128x64", "areas": [{"items": ["red.jpg", "nope.jpg"]}]}
areas[0].items[0] "$dir/notes.txt" is no medium|{"sign": "128x64", "areas": [{"items": ["notes.txt"]}]}
areas[0].colour is not a field here|{"sign": "128x64", "areas": [{"colour": 1}]}
areas[0].items[0].wait is not a field here|{"sign": "128x64", "areas": [{"items": [{"path": "red.jpg", "wait": 1}]}]}
kind is not a field here|{"kind": "program", "sign": "128x64", "areas": []}
EOF2

[ $failures -eq 0 ] && echo "cli compact: all passed"
exit $((failures > 0))

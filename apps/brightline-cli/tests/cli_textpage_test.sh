#!/usr/bin/env bash
# Text pages without a person: the demo page built from its JSON, inspected and built again to
# the same bytes, made into a show with `make`, played stepped with `play`, and every frame
# compared with the page picture stored in the file, page after page. Then the refusals.
# Usage: cli_textpage_test.sh BRIGHTLINE_CLI DEMO_DIR
set -u
cli=$1
demo=$2
dir=$(mktemp -d)
[ -n "${KEEP:-}" ] || trap 'rm -rf "$dir"' EXIT
export BRIGHTLINE_PROFILE="$dir/profile.ini"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$cli" build "$demo/prices.ZRT.json" "$dir/prices.ZRT" 2>"$dir/err" || { fail "build"; cat "$dir/err"; }
[ ! -s "$dir/err" ] || { fail "build printed on standard error"; cat "$dir/err"; }
"$cli" inspect "$dir/prices.ZRT" > "$dir/prices.json" || fail "inspect"
"$cli" build "$dir/prices.json" "$dir/again.ZRT" || fail "build from inspect"
cmp -s "$dir/prices.ZRT" "$dir/again.ZRT" || fail "inspect then build gives other bytes"
grep -q '"text": "今日特价 "' "$dir/prices.json" || fail "inspect shows no UTF-8 text"

# The page pictures, cut out of the file as the layout says: a 32-bit length, then a bitmap.
pages=$(/usr/bin/python3 - "$dir" <<'PY'
import struct, sys
folder = sys.argv[1]
data = open(f"{folder}/prices.ZRT", "rb").read()
offset, count = struct.unpack_from("<Ii", data, 52)
for i in range(count):
    (n,) = struct.unpack_from("<I", data, offset)
    open(f"{folder}/page{i}.bmp", "wb").write(data[offset + 4:offset + 4 + n])
    offset += 4 + n
print(count)
PY
)
[ "$pages" = 3 ] || fail "the demo page has $pages page pictures, expected 3"

line='{"band": [0,0,0,0], "selected": 0, "horizontal": 0, "role": 0, "endLineA": -1, "endLineB": -1}'
cat > "$dir/program.json" <<JSON
{"kind": "program", "ledWidth": 128, "ledHeight": 32, "areaFormat": 0,
 "regionLines": [$line, $line, $line, $line, $line, $line, $line, $line],
 "areaLists": [[{"path": "", "thumbIndex": -1, "moveIn": 0, "moveOut": -1, "speed": 0, "start": 0, "hold": 3, "barRect": [0,0,0,0]},
                {"path": "$dir/prices.ZRT", "thumbIndex": 0, "moveIn": 0, "moveOut": -1, "speed": 0, "start": 0, "hold": 1, "barRect": [0,0,0,0]}],
               [], [], []]}
JSON
"$cli" build "$dir/program.json" "$dir/show.ZPF" || fail "build program"
made=$("$cli" make "$dir/show.ZPF" --workspace "$dir/ws" 2>"$dir/make.err")
[ "$made" = "1 media made into $dir/ws" ] || { fail "make printed '$made'"; cat "$dir/make.err"; }
"$cli" play run.at --workspace "$dir/ws" --frames "$dir/frames" > "$dir/play.out" 2>&1 \
    || { fail "play"; cat "$dir/play.out"; }
frames=("$dir"/frames/*.png)
[ "${#frames[@]}" = "$pages" ] || fail "${#frames[@]} frames for $pages pages"
i=0
for f in "${frames[@]}"; do
    convert "$f" rgb:"$dir/frame.rgb" && convert "$dir/page$i.bmp" rgb:"$dir/page.rgb" \
        || fail "convert $f"
    cmp -s "$dir/frame.rgb" "$dir/page.rgb" || fail "$(basename "$f") differs from page $i"
    i=$((i + 1))
done

# Refusals: a wrong version, a cut file, a page below 7 x 8, a run in a font not in the table.
cp "$dir/prices.ZRT" "$dir/v2.ZRT"
printf '\002' | dd of="$dir/v2.ZRT" bs=1 seek=4 conv=notrunc 2>/dev/null
"$cli" inspect "$dir/v2.ZRT" >/dev/null 2>"$dir/err"; rc=$?
[ $rc = 1 ] && grep -q "not a text page" "$dir/err" || { fail "version 2: exit $rc"; cat "$dir/err"; }
head -c 200 "$dir/prices.ZRT" > "$dir/cut.ZRT"
"$cli" inspect "$dir/cut.ZRT" >/dev/null 2>"$dir/err"; rc=$?
[ $rc = 1 ] && grep -q "corrupt text page" "$dir/err" || { fail "cut file: exit $rc"; cat "$dir/err"; }
sed 's/"pageWidth": 128/"pageWidth": 6/' "$demo/prices.ZRT.json" > "$dir/narrow.json"
cp "$demo/star.bmp" "$dir/"
"$cli" build "$dir/narrow.json" "$dir/narrow.ZRT" 2>"$dir/err"; rc=$?
[ $rc = 1 ] && grep -q "Minimum width and height is 7×8" "$dir/err" || { fail "width 6: exit $rc"; cat "$dir/err"; }
[ ! -e "$dir/narrow.ZRT" ] || fail "a refused page was written"
sed 's/"font": 2,/"font": 9,/' "$demo/prices.ZRT.json" > "$dir/nofont.json"
"$cli" build "$dir/nofont.json" "$dir/nofont.ZRT" 2>"$dir/err"; rc=$?
[ $rc = 1 ] && grep -q "runs\[0\].font names no font" "$dir/err" || { fail "unknown font: exit $rc"; cat "$dir/err"; }

if [ "$failures" -ne 0 ]; then echo "$failures failed (files in $dir)"; exit 1; fi
echo "cli textpage: all passed ($pages pages, ${#frames[@]} frames)"

#!/usr/bin/env bash
# Every JSON example in the docs is valid JSON and is built by brightline-cli; a compact program
# example also comes back from inspect --compact.
# Usage: cli_docs_test.sh BRIGHTLINE_CLI DOCS_DIR DEMO_DIR
set -u
cli=$(realpath "$1")
docs=$(realpath "$2")
demo=$(realpath "$3")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export BRIGHTLINE_PROFILE="$dir/profile.ini"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
cd "$dir" || exit 1
cp "$demo"/*.bmp . || fail "no pictures in $demo"

# Each ```json block of each page into its own file, named after the page and the block number.
/usr/bin/python3 - "$docs" <<'PY' || fail "extracting the examples"
import pathlib, re, sys
count = 0
for page in sorted(pathlib.Path(sys.argv[1]).rglob("*.md")):
    for i, block in enumerate(re.findall(r"^```json\n(.*?)^```", page.read_text(), re.M | re.S)):
        pathlib.Path(f"{page.stem}-{i}.json").write_text(block)
        count += 1
if count == 0:
    sys.exit("no JSON examples found")
PY
examples=0
for example in *.json; do
    examples=$((examples + 1))
    /usr/bin/python3 -c 'import json, sys; json.load(open(sys.argv[1]))' "$example" 2> err.txt ||
        { fail "$example is not JSON: $(tail -n 1 err.txt)"; continue; }
    # A compact program names media that must be there: empty files of those names will do for
    # building.
    /usr/bin/python3 - "$example" <<'PY'
import json, os, sys
d = json.load(open(sys.argv[1]))
if isinstance(d, dict) and "areas" in d:
    for area in d["areas"]:
        for item in ([area["background"]] if "background" in area else []) + area.get("items", []):
            path = item if isinstance(item, str) else item["path"]
            os.makedirs(os.path.dirname(path) or ".", exist_ok=True)
            open(path, "a").close()
PY
    "$cli" build "$example" "$example.out" > /dev/null 2> err.txt ||
        { fail "$example does not build: $(cat err.txt)"; continue; }
    if grep -q '"areas"' "$example"; then
        "$cli" inspect "$example.out" --compact > back.json 2> err.txt ||
            fail "$example: inspect --compact: $(cat err.txt)"
        "$cli" build back.json back.out && cmp -s back.out "$example.out" ||
            fail "$example: inspect --compact then build differs"
    else
        # inspect then build gives the same bytes back
        "$cli" inspect "$example.out" > back.json 2> err.txt && "$cli" build back.json back.out &&
            cmp -s back.out "$example.out" || fail "$example: inspect then build differs"
    fi
done
echo "$examples examples"

# Each ```json inspect block (a kind inspect prints and build does not take) is JSON with the
# fields inspect prints for a real clip, in the same order.
/usr/bin/python3 - "$docs" <<'PY' || fail "extracting the inspect examples"
import pathlib, re, sys
for page in sorted(pathlib.Path(sys.argv[1]).rglob("*.md")):
    for i, block in enumerate(re.findall(r"^```json inspect\n(.*?)^```", page.read_text(), re.M | re.S)):
        pathlib.Path(f"{page.stem}-inspect-{i}.txt").write_text(block)
PY
ffmpeg -loglevel error -f lavfi -i testsrc=size=32x16:rate=10:duration=0.2 clip.avi || fail "ffmpeg clip"
"$cli" convert clip.avi clip.zvi > /dev/null 2>&1 || fail "convert clip"
"$cli" inspect clip.zvi > clip.json 2> err.txt || fail "inspect clip: $(cat err.txt)"
for example in *-inspect-*.txt; do
    [ -e "$example" ] || { fail "no inspect examples"; break; }
    /usr/bin/python3 - "$example" clip.json <<'PY' || fail "$example differs from what inspect prints"
import json, sys
doc, real = (json.load(open(p)) for p in sys.argv[1:])
def shape(v):
    if isinstance(v, dict): return [(k, shape(x)) for k, x in v.items()]
    if isinstance(v, list): return [shape(v[0])] if v else []
    return type(v).__name__
if shape(doc) != shape(real) or doc["kind"] != real["kind"]:
    sys.exit(f"{sys.argv[1]}: {shape(doc)} != {shape(real)}")
PY
done

[ $failures -eq 0 ] && echo "cli docs: all passed"
exit $((failures > 0))

#!/usr/bin/env bash
# brightline-cli convert and inspect on clips made from a real video and a text page file.
# Usage: cli_media_test.sh BRIGHTLINE_CLI
set -euo pipefail
cli="$1"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
cd "$dir"
export BRIGHTLINE_PROFILE="$dir/profile.ini"
fail() { echo "FAIL: $*" >&2; exit 1; }

ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i testsrc=size=64x32:rate=10:duration=1 -c:v mpeg4 clip.avi

"$cli" convert clip.avi clip.zvi --size 32x16 >out.txt || fail "convert exited $?"
grep -q 'clip.zvi: 22 frames, codec "JPG ", rate 30, 32 x 16' out.txt || fail "convert said: $(cat out.txt)"
"$cli" inspect clip.zvi >clip.json || fail "inspect of a good clip exited $?"
python3 - <<'PY' || fail "inspect JSON"
import json
d = json.load(open("clip.json"))
assert d["kind"] == "zvi" and d["codec"] == "JPG " and d["rate"] == 30 and d["frameCount"] == 22, d
assert d["width"] == 32 and d["height"] == 16 and d["records"] == 22 and d["damagedFrames"] == []
assert all(f["codec"] == "JPG" and not f["damaged"] and f["size"] == "32x16" for f in d["frames"])
assert d["frames"][1]["offset"] == 24 + 4 + d["frames"][0]["length"]
PY

# One flipped byte in frame 3: its checksum no longer matches.
python3 - <<'PY'
import struct
b = bytearray(open("clip.zvi", "rb").read())
pos = 24
for i in range(3):
    pos += 4 + struct.unpack_from("<i", b, pos)[0]
b[pos + 20] ^= 0xFF
open("bad.zvi", "wb").write(b)
open("short.zvi", "wb").write(b[: len(b) // 2])
PY
set +e
"$cli" inspect bad.zvi >bad.json 2>bad.err; rc=$?
set -e
[ "$rc" = 1 ] || fail "inspect of a damaged clip exited $rc"
grep -q "frame 3 is damaged" bad.err || fail "damage not named: $(cat bad.err)"
python3 -c 'import json; d=json.load(open("bad.json")); assert d["damagedFrames"]==[3], d["damagedFrames"]; assert "checksum" in d["frames"][3]["problem"]' \
    || fail "damaged frame JSON"
set +e
"$cli" inspect short.zvi >/dev/null 2>short.err; rc=$?
set -e
[ "$rc" = 1 ] || fail "inspect of a cut clip exited $rc"
grep -q "of 22 frames are there" short.err || fail "cut clip: $(cat short.err)"

# A text page file of two 16 x 8 pages.
python3 - <<'PY'
import struct
def bmp(w, h, colour):
    stride = (w * 3 + 3) // 4 * 4
    rows = b"".join(bytes(colour) * w + b"\0" * (stride - 3 * w) for _ in range(h))
    return b"BM" + struct.pack("<IHHI", 54 + len(rows), 0, 0, 54) + struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 0, 0, 0, 0) + rows
pages = [bmp(16, 8, (0, 0, 255)), bmp(16, 8, (0, 255, 0))]
head = b"ZRT\0" + struct.pack("<14I", 1, 60, 0, 60, 0, 0, 0, 0, 0, 0, 16, 8, 62, 2)
body = b"\0\0" + b"".join(struct.pack("<I", len(p)) + p for p in pages)
open("page.ZRT", "wb").write(head + body)
PY
"$cli" convert page.ZRT page.zvi >out.txt || fail "convert of a text page exited $?"
grep -q 'page.zvi: 2 frames, codec "PNG ", rate 30, 16 x 8' out.txt || fail "text page convert said: $(cat out.txt)"
"$cli" inspect page.zvi >/dev/null || fail "inspect of the text page clip"

set +e
"$cli" convert clip.avi x.zvi --mode 3 2>/dev/null; [ $? = 2 ] || fail "--mode 3 without --size is a usage error"
"$cli" convert page.ZRT x.zvi --size 8x8 2>/dev/null; [ $? = 2 ] || fail "--size on a text page is a usage error"
"$cli" convert missing.avi x.zvi 2>/dev/null; [ $? = 1 ] || fail "a missing video fails"
set -e
[ ! -e x.zvi ] || fail "a failed convert leaves no clip"
echo "cli media: all passed"

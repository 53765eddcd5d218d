#!/usr/bin/env bash
# brightline-cli font-sheet as a user runs it: every ink pixel of every glyph in a font file ends
# up on the sheet (counted independently from the file), exit codes for bad input and usage.
# Usage: cli_fonts_test.sh BRIGHTLINE_CLI FONTS_DIR
set -u
cli=$1
fonts=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
check() {  # check "what" expected-status command...
    local what=$1 want=$2
    shift 2
    "$@" >"$dir/out" 2>"$dir/err"
    local got=$?
    if [ "$got" != "$want" ]; then
        echo "FAIL: $what: exit $got, expected $want"; cat "$dir/err"; failures=$((failures + 1))
    fi
}

# Ink bits of all glyphs in a ZFON file, times scale squared, against the white pixels of the
# sheet.
compare() {  # compare FONTFILE SHEET SCALE
    /usr/bin/python3 - "$@" <<'PY'
import struct, sys, zlib
font, sheet, scale = sys.argv[1], sys.argv[2], int(sys.argv[3])
data = open(font, 'rb').read()
assert data[:4] == b'ZFON'
count, = struct.unpack_from('<i', data, 4)
pos, ink = 8, 0
for _ in range(count):
    prop, w, h, first, n = struct.unpack_from('<BBBBH', data, pos)
    pos += 6
    size = h * ((w + 7) // 8) + (1 if prop else 0)
    for g in range(n):
        rows = data[pos + g * size + (1 if prop else 0): pos + (g + 1) * size]
        ink += sum(bin(b).count('1') for b in rows)
    pos += size * n
png = open(sheet, 'rb').read()
assert png[:8] == b'\x89PNG\r\n\x1a\n'
width, height, depth, colour = struct.unpack_from('>IIBB', png, 16)
assert depth == 8 and colour == 2
idat, p = b'', 8
while p < len(png):
    length, kind = struct.unpack_from('>I4s', png, p)
    if kind == b'IDAT':
        idat += png[p + 8:p + 8 + length]
    p += 12 + length
raw = zlib.decompress(idat)
stride = width * 3
prev = bytearray(stride)
white = 0
for y in range(height):
    f = raw[y * (stride + 1)]
    line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
    for i in range(stride if f else 0):
        a = line[i - 3] if i >= 3 else 0
        b = prev[i]
        c = prev[i - 3] if i >= 3 else 0
        if f == 1: line[i] = (line[i] + a) & 255
        elif f == 2: line[i] = (line[i] + b) & 255
        elif f == 3: line[i] = (line[i] + (a + b) // 2) & 255
        elif f == 4:
            pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
            pr = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
            line[i] = (line[i] + pr) & 255
    white += sum(1 for x in range(0, stride, 3) if line[x] == 255 and line[x + 1] == 255 and line[x + 2] == 255)
    prev = line
if white != ink * scale * scale:
    print('FAIL: %s: %d white pixels on the sheet, the file has %d ink bits (scale %d)' % (font, white, ink, scale))
    sys.exit(1)
PY
    [ $? = 0 ] || failures=$((failures + 1))
}

check "sheet of ezfon.bin" 0 "$cli" font-sheet "$fonts/ezfon.bin" "$dir/ezfon.png" --scale 1
compare "$fonts/ezfon.bin" "$dir/ezfon.png" 1
check "sheet of zhzk16.bin at scale 1" 0 "$cli" font-sheet "$fonts/zhzk16.bin" "$dir/zhzk.png" --scale 1
compare "$fonts/zhzk16.bin" "$dir/zhzk.png" 1

printf 'ZFOX\1\0\0\0' >"$dir/bad.bin"
check "not a font file" 1 "$cli" font-sheet "$dir/bad.bin" "$dir/bad.png"
check "missing font file" 1 "$cli" font-sheet "$dir/none.bin" "$dir/none.png"
check "unwritable sheet" 1 "$cli" font-sheet "$fonts/ezfon.bin" "$dir/no/such/folder/x.png"
check "no output named" 2 "$cli" font-sheet "$fonts/ezfon.bin"
check "bad scale" 2 "$cli" font-sheet "$fonts/ezfon.bin" "$dir/x.png" --scale 0

if [ "$failures" != 0 ]; then echo "$failures failed"; exit 1; fi
echo "cli font-sheet: all passed"

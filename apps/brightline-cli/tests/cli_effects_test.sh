#!/usr/bin/env bash
# brightline-cli effects: a GIF for each entry and exit and a still of each entry, at the size
# asked for. Usage: cli_effects_test.sh BRIGHTLINE_CLI
set -euo pipefail
cli="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cli" effects --size 24x16 --out "$work/fx" >/dev/null
[ "$(ls "$work/fx" | wc -l)" -eq 141 ] || fail "expected 47 x 3 files, got $(ls "$work/fx" | wc -l)"
for name in NULL SHOW DFR_LF FR_STAR RADAR_90_CCW ZOOM ROTATE COLOR FLASH RANDOM; do
    [ -s "$work/fx/${name}_in.gif" ] && [ -s "$work/fx/${name}_out.gif" ] || fail "$name GIFs"
    [ "$(head -c 6 "$work/fx/${name}_in.gif")" = "GIF89a" ] || fail "$name is no GIF"
done
# PNG width and height: big-endian words at bytes 16..23
size="$(od -An -tx1 -j16 -N8 "$work/fx/FR_CIRCLE.png" | tr -d ' \n')"
[ "$size" = "0000001800000010" ] || fail "thumbnail size $size"

# --list: the 46 table positions in order and ROTATE, each with its script and list name.
"$cli" effects --list > "$work/list"
[ "$(wc -l < "$work/list")" -eq 47 ] || fail "--list gave $(wc -l < "$work/list") lines"
[ "$(sed -n 1p "$work/list")" = "$(printf '0\tNULL\tNo clear')" ] || fail "--list line 1"
[ "$(sed -n 3p "$work/list")" = "$(printf '2\tDFR_LF\tMove left')" ] || fail "--list line 3"
[ "$(sed -n 46p "$work/list")" = "$(printf '45\tRANDOM\tRandom')" ] || fail "--list line 46"
[ "$(sed -n 47p "$work/list")" = "$(printf -- '-\tROTATE\t')" ] || fail "--list ROTATE"

set +e
"$cli" effects --size 0x72 --out "$work/bad" >/dev/null 2>&1; rc=$?
set -e
[ $rc -eq 2 ] || fail "bad size exit $rc"
echo "cli effects: 1 passed, 0 failed"

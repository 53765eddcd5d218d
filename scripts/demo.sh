#!/usr/bin/env bash
# The headless demo: what Brightline does without a person, in a scratch folder.
#   1. the stored files built from JSON, read back, and byte-identical after a round trip;
#   2. a program made of real pictures into a show;
#   3. the show played by the engine into PNG frames and a GIF;
#   4. the show sent to the virtual sign over TCP and FTP, and its file list read back.
# Usage: scripts/demo.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:-build/release}" && pwd)
cli="$build/apps/brightline-cli/brightline-cli"
signsim="$build/apps/brightline-signsim/brightline-signsim"
here=$(cd "$(dirname "$0")/.." && pwd)
demo=$(mktemp -d "${TMPDIR:-/tmp}/brightline-demo.XXXXXX")
export BRIGHTLINE_WORKSPACE="$demo/BRIGHTLINE_TMP"
export BRIGHTLINE_PROFILE="$demo/Brightline II.ini"
sim_pid=""
trap '[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null; true' EXIT

step() { printf '\n== %s\n' "$*"; }
has_command() { "$cli" --help | grep -q "^  $1 "; }

step "Building the sample files from their JSON descriptions into $demo"
for f in "$here"/demo/*.json; do
    name=$(basename "$f" .json)
    "$cli" build "$f" "$demo/$name"
    printf '  %-14s %6d bytes\n' "$name" "$(stat -c %s "$demo/$name")"
done

step "The text page built from JSON: its page pictures"
"$cli" inspect "$demo/prices.ZRT" | tr -d ' \n' | grep -o '"pagePictures":\[[^]]*\]' | sed 's/^/  /'

step "The schedule, with each entry's description"
"$cli" inspect "$demo/sample.AT" | grep -E '"(programPath|description)"'

step "Round trip: inspect then build gives back the same bytes"
for name in sample.ZPF sample.AT LED_SET.ZRC UserInfo.dat RC_IMG.ZRC prices.ZRT; do
    "$cli" inspect "$demo/$name" > "$demo/$name.json"
    "$cli" build "$demo/$name.json" "$demo/$name.again"
    if cmp -s "$demo/$name" "$demo/$name.again"; then echo "  $name: identical"; else echo "  $name: DIFFERENT"; exit 1; fi
done

step "A program of two areas made from real pictures"
mkdir -p "$demo/media"
ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=640x360" -frames:v 1 "$demo/media/pattern.jpg"
ffmpeg -loglevel error -y -f lavfi -i "mandelbrot=size=400x400" -frames:v 1 "$demo/media/fractal.png"
ffmpeg -loglevel error -y -f lavfi -i "gradients=size=320x200:seed=7" -frames:v 1 "$demo/media/backdrop.bmp"
sed -e "s#@MEDIA@#$demo/media#g" "$here/demo/pictures.ZPF.json.in" > "$demo/pictures.json"
"$cli" build "$demo/pictures.json" "$demo/pictures.ZPF"
made=$("$cli" make "$demo/pictures.ZPF" 2>/dev/null)
echo "  $made:"
(cd "$BRIGHTLINE_WORKSPACE" && ls -l | tail -n +2 | awk '{printf "    %-14s %7d bytes\n", $9, $5}')
echo "  run.at:"
tr -d '\r' < "$BRIGHTLINE_WORKSPACE/run.at" | sed 's/^/    /'

if has_command play; then
    step "The show played by the engine (stepped) into frames"
    "$cli" play run.at --ticks 200 --frames "$demo/frames" --gif "$demo/show.gif" > "$demo/play.log"
    echo "  $(ls "$demo/frames" | wc -l) frames in $demo/frames, an animated GIF in $demo/show.gif"
fi

if [ -x "$signsim" ]; then
    step "Sending the show to the virtual sign (TCP command words, FTP upload)"
    "$signsim" --storage "$demo/sign" --port 0 --ftp-port 0 --no-serial > "$demo/signsim.out" 2>&1 &
    sim_pid=$!
    for _ in $(seq 100); do grep -q '^ready' "$demo/signsim.out" 2>/dev/null && break; sleep 0.1; done
    port=$(sed -n 's/^command port //p' "$demo/signsim.out")
    ftp=$(sed -n 's/^ftp port //p' "$demo/signsim.out")
    if [ -n "$port" ] && [ -n "$ftp" ]; then
        "$cli" send --host 127.0.0.1 --port "$port" --ftp-port "$ftp" 2>&1 | sed 's/^/  /' || true
        echo "  the sign's file list:"
        "$cli" sign file-list --host 127.0.0.1 --port "$port" 2>&1 | sed 's/^/    /' || true
    else
        echo "  the virtual sign did not start:"; sed 's/^/    /' "$demo/signsim.out"
    fi
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
    sim_pid=""
fi

echo
echo "Demo files are in $demo"

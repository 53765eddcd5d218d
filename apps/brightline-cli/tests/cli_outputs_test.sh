#!/usr/bin/env bash
# What brightline-cli writes and reads, tried as a careless user would: Make on a folder of the
# user's own, outputs onto their own input, a full disk (a file size limit of 0 stands in for it),
# outputs through a symbolic link or onto a FIFO, FIFOs and oversized files as inputs. Every
# failure keeps the old file and exits non-zero; nothing blocks (each run has a deadline).
# Usage: cli_outputs_test.sh BRIGHTLINE_CLI FONTS_DIR
set -u
cli=$1
fonts=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export BRIGHTLINE_PROFILE="$dir/profile.ini"
export BRIGHTLINE_WORKSPACE="$dir/default-ws"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# run EXPECTED-STATUS WHAT command...: runs with a deadline, output in $dir/out and $dir/err.
run() {
    local want=$1 what=$2
    shift 2
    timeout 60 "$@" >"$dir/out" 2>"$dir/err"
    local got=$?
    if [ "$got" = 124 ]; then
        fail "$what: did not end"
    elif [ "$got" != "$want" ]; then
        fail "$what: exit $got, expected $want"
        cat "$dir/err"
    fi
}
# full EXPECTED-STATUS WHAT command...: the same with no byte writable to any file (its messages
# go through a pipe, which the limit does not reach).
full() {
    local want=$1 what=$2
    shift 2
    timeout 60 bash -c 'ulimit -f 0; exec "$@"' full "$@" 2>&1 >/dev/null | cat >"$dir/err"
    local got=${PIPESTATUS[0]}
    if [ "$got" = 124 ]; then
        fail "$what: did not end"
    elif [ "$got" != "$want" ]; then
        fail "$what: exit $got, expected $want"
        cat "$dir/err"
    fi
}
said() { grep -q -- "$1" "$dir/err" || fail "expected \"$1\" in: $(cat "$dir/err")"; }
same() { cmp -s "$1" "$2" || fail "$1 changed"; }
no_leftovers() {
    ! ls "$1" | grep -q '\.tmp-' || fail "temporary files left in $1: $(ls "$1")"
}

ffmpeg -loglevel error -f lavfi -i testsrc2=size=64x32 -frames:v 1 "$dir/pic.png" || fail "ffmpeg png"
ffmpeg -loglevel error -f lavfi -i testsrc2=size=32x16:rate=10 -t 0.5 -c:v mjpeg "$dir/s.avi" ||
    fail "ffmpeg avi"
ffmpeg -loglevel error -f lavfi -i color=c=red:size=16x8:r=10 -frames:v 0 -c:v mjpeg \
    "$dir/empty.avi" || fail "ffmpeg empty avi"
program() {  # program PICTURE OUT.ZPF: one full-size area showing PICTURE
    cat >"$dir/p.json" <<JSON
{"kind": "program", "ledWidth": 64, "ledHeight": 32, "areaFormat": 0,
 "regionLines": [$(for i in 0 1 2 3 4 5 6 7; do [ $i = 0 ] || printf ','; printf '{"band": [0,0,0,0], "selected": 0, "horizontal": 0, "role": 0, "endLineA": -1, "endLineB": -1}'; done)],
 "areaLists": [[{"path": "", "thumbIndex": -1, "moveIn": 0, "moveOut": 0, "speed": 0, "start": 0, "hold": 3, "barRect": [0,0,0,0]},
   {"path": "$1", "thumbIndex": 0, "moveIn": 0, "moveOut": 0, "speed": 0, "start": 0, "hold": 1, "barRect": [0,0,0,0]}], [], [], []]}
JSON
    "$cli" build "$dir/p.json" "$2" || fail "build $2"
}

# Make: a folder of the user's own is refused and keeps every file.
mkdir "$dir/mine"
cp "$dir/pic.png" "$dir/mine/pic.png"
program "$dir/mine/pic.png" "$dir/mine/show.ZPF"
cp -r "$dir/mine" "$dir/mine.before"
run 1 "make into a folder of pictures" "$cli" make "$dir/mine/show.ZPF" --workspace "$dir/mine"
said "is not a Brightline workspace folder"
diff -r "$dir/mine" "$dir/mine.before" >/dev/null || fail "make changed the user's folder"
# A new folder is made and marked; making again into it works.
run 0 "make into a new folder" "$cli" make "$dir/mine/show.ZPF" --workspace "$dir/ws"
run 0 "make again" "$cli" make "$dir/mine/show.ZPF" --workspace "$dir/ws"
[ -s "$dir/ws/70001.shw" ] || fail "no region script"
# The default workspace, left unmarked with an old show by an earlier version, still works.
mkdir -p "$BRIGHTLINE_WORKSPACE"
echo old >"$BRIGHTLINE_WORKSPACE/70002.shw"
run 0 "make into the default workspace" "$cli" make "$dir/mine/show.ZPF"
[ ! -e "$BRIGHTLINE_WORKSPACE/70002.shw" ] || fail "the old show stayed in the default workspace"
[ -s "$BRIGHTLINE_WORKSPACE/run.at" ] || fail "no run.at in the default workspace"

# Make on a full disk fails and leaves no empty script behind.
full 1 "make on a full disk" "$cli" make "$dir/mine/show.ZPF" --workspace "$dir/ws"
said "could not write the show"
for f in "$dir"/ws/*; do [ -s "$f" ] || fail "empty file $f after a failed make"; done
no_leftovers "$dir/ws"

# convert: onto its own input, a video without frames, a cut text page.
cp "$dir/s.avi" "$dir/s.before"
run 1 "convert onto its own input" "$cli" convert "$dir/s.avi" "$dir/s.avi"
said "is the video itself"
same "$dir/s.avi" "$dir/s.before"
run 0 "convert" "$cli" convert "$dir/s.avi" "$dir/clip.zvi"
cp "$dir/clip.zvi" "$dir/clip.before"
run 1 "convert a video without frames" "$cli" convert "$dir/empty.avi" "$dir/clip.zvi"
said "no video frame could be converted"
same "$dir/clip.zvi" "$dir/clip.before"
printf 'ZRT\0\1\0\0\0' >"$dir/cut.ZRT"
head -c 51 /dev/zero >>"$dir/cut.ZRT"
run 1 "convert a cut text page" "$cli" convert "$dir/cut.ZRT" "$dir/clip.zvi"
same "$dir/clip.zvi" "$dir/clip.before"
full 1 "convert on a full disk" "$cli" convert "$dir/s.avi" "$dir/clip.zvi"
same "$dir/clip.zvi" "$dir/clip.before"
no_leftovers "$dir"

# play --gif and font-sheet on a full disk keep the old file.
run 0 "make a show to play" "$cli" make "$dir/mine/show.ZPF" --workspace "$dir/play"
run 0 "play --gif" "$cli" play run.at --workspace "$dir/play" --ticks 30 --gif "$dir/show.gif"
cp "$dir/show.gif" "$dir/show.before"
full 1 "play --gif on a full disk" "$cli" play run.at --workspace "$dir/play" --ticks 30 \
    --gif "$dir/show.gif"
same "$dir/show.gif" "$dir/show.before"
run 0 "font-sheet" "$cli" font-sheet "$fonts/ezfon.bin" "$dir/sheet.png"
cp "$dir/sheet.png" "$dir/sheet.before"
full 1 "font-sheet on a full disk" "$cli" font-sheet "$fonts/ezfon.bin" "$dir/sheet.png"
same "$dir/sheet.png" "$dir/sheet.before"
run 1 "font-sheet onto its font" "$cli" font-sheet "$dir/sheet.png" "$dir/sheet.png"
same "$dir/sheet.png" "$dir/sheet.before"
no_leftovers "$dir"

# build: a full disk, a symbolic link, a FIFO, its own input.
cp "$dir/mine/show.ZPF" "$dir/show.before"
full 1 "build on a full disk" "$cli" build "$dir/p.json" "$dir/mine/show.ZPF"
same "$dir/mine/show.ZPF" "$dir/show.before"
mkdir "$dir/real"
ln -s real/linked.ZPF "$dir/link.ZPF"
run 0 "build through a link" "$cli" build "$dir/p.json" "$dir/link.ZPF"
[ -L "$dir/link.ZPF" ] || fail "the link was replaced"
same "$dir/real/linked.ZPF" "$dir/show.before"
mkfifo "$dir/fifo.png"
run 1 "build onto a FIFO" "$cli" build "$dir/p.json" "$dir/fifo.png"
said "not a regular file"
[ -p "$dir/fifo.png" ] || fail "the FIFO was replaced"
run 1 "build onto its own input" "$cli" build "$dir/p.json" "$dir/p.json"

# Inputs: a FIFO is refused at once, a picture that is a FIFO does not stop Make, and a file
# over a read limit is refused with the limit named, not cut.
run 1 "inspect a FIFO" "$cli" inspect "$dir/fifo.png"
said "is a FIFO, not a regular file"
program "$dir/fifo.png" "$dir/fifo.ZPF"
run 1 "make with a FIFO as its picture" "$cli" make "$dir/fifo.ZPF" --workspace "$dir/ws"
run 0 "make with a FIFO as its picture, going on" "$cli" make "$dir/fifo.ZPF" --workspace "$dir/ws" --keep-going
said "not a regular file"
truncate -s 70M "$dir/huge.bin"
run 1 "font-sheet of a 70 MiB file" "$cli" font-sheet "$dir/huge.bin" "$dir/huge.png"
said "more than the 64 MiB read at most"

if [ "$failures" -ne 0 ]; then echo "$failures failed"; exit 1; fi
echo "cli outputs: all passed"

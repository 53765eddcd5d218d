#!/usr/bin/env bash
# Drives the text page editor as a person would, with xdotool on an X server without a window
# manager (take.sh runs it under Xvfb), and takes its screenshots: Page Format with its refusal,
# the font and colour dialogs, Extend Font Style, Insert Picture, a two-font page with a contour,
# Chinese, Latin and a picture in the vertical and the horizontal layout, the question before a
# modified page is dropped, and the About box. Chinese is typed with `xdotool type` (UTF-8 text,
# which Qt receives as text), as no input method runs here.
# Usage: pagewright-tour.sh PAGEWRIGHT OUTPUT_FOLDER
set -euo pipefail
pagewright=$1
out=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
runtime=$(mktemp -d)
export XDG_RUNTIME_DIR="$runtime"
# A build with the address sanitizer (./test's): the D-Bus library keeps a buffer to the end.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
cp "$here/../../demo/star.bmp" "$work/star.bmp"
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$work" "$runtime"
}
trap cleanup EXIT

# The first window whose name matches, within 10 seconds.
wait_window() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --name "$1" 2>/dev/null | head -1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return
        fi
        sleep 0.1
    done
    echo "no window named '$1' within 10 s" >&2
    exit 1
}
settle() { sleep "${1:-0.4}"; }
# Back to the editor window, or to the window named (without a window manager the focus does
# not come back by itself when a window closes).
editor() {
    xdotool windowfocus "$main"
    settle 0.3
}
focus() {
    xdotool windowfocus "$(wait_window "$1")"
    settle 0.3
}
# The screen, cut to what is on it, as OUTPUT/NAME.png.
shoot() {
    settle
    import -window root "$work/shot.png"
    convert "$work/shot.png" -bordercolor black -border 1 -trim +repage "$out/$1.png"
    echo "wrote $out/$1.png"
}

cd "$work"
"$pagewright" "$work/offer.ZRT" &
pid=$!
main=$(wait_window '^Pagewright V1\.3 - \[')
editor

# Page Format: a width of 6 is refused; then 256 x 64 in the vertical layout.
xdotool key ctrl+m
wait_window '^Page Format$' >/dev/null
settle
xdotool key Tab ctrl+a
xdotool type 6
xdotool key Return
wait_window '^Pagewright V1\.3$' >/dev/null
shoot pagewright-page-format-refused
xdotool key Return
focus '^Page Format$'
xdotool type 256
xdotool key Tab ctrl+a
xdotool type 64
shoot pagewright-page-format
xdotool key Return
editor

# A bold Latin face from the font dialog, yellow from the colour dialog.
xdotool key ctrl+f
wait_window '^Font$' >/dev/null
settle
xdotool type 'Liberation Sans'
xdotool key alt+y Prior alt+s ctrl+a
xdotool type 16
shoot pagewright-font
xdotool key Return
editor
xdotool key ctrl+u
wait_window '^Color$' >/dev/null
settle
xdotool key alt+h ctrl+a
xdotool type '#ffffff'
xdotool key Return
editor
xdotool type --delay 20 'Today only '
xdotool type --delay 60 '今日特价'

# The Chinese words selected with the mouse, made yellow with a red contour.
xdotool mousemove 430 44 mousedown 1 mousemove 330 44 mousemove 241 44 mouseup 1
settle 0.2
xdotool key ctrl+u
wait_window '^Color$' >/dev/null
settle
xdotool key alt+h ctrl+a
xdotool type '#ffff00'
shoot pagewright-color
xdotool key Return
editor
xdotool key ctrl+shift+e
wait_window '^Extend Font Style$' >/dev/null
settle
xdotool key space Tab ctrl+a
xdotool type 1
shoot pagewright-extend-font-style
xdotool key Return
editor

# A second line in a Chinese face, cyan, without the contour, and a picture at its end.
xdotool mousemove 500 44 click 1
xdotool key End Return
xdotool key ctrl+shift+e
wait_window '^Extend Font Style$' >/dev/null
settle
xdotool key space Return
editor
xdotool key ctrl+f
wait_window '^Font$' >/dev/null
settle
xdotool type 'WenQuanYi Zen Hei'
xdotool key alt+s ctrl+a
xdotool type 12
xdotool key Return
editor
xdotool key ctrl+u
wait_window '^Color$' >/dev/null
settle
xdotool key alt+h ctrl+a
xdotool type '#00ffff'
xdotool key Return
editor
xdotool type --delay 30 'Coffee 12.50 元 '
xdotool key ctrl+p
wait_window '^Insert Picture$' >/dev/null
settle
xdotool type "$work/star.bmp"
shoot pagewright-insert-picture
xdotool key Return
editor

# The first line centred, the second right-aligned (click on the line, then its key), saved.
xdotool mousemove 100 44 click 1
xdotool key ctrl+e
xdotool mousemove 100 84 click 1
xdotool key ctrl+r
xdotool key ctrl+s
settle
echo "title: $(xdotool getwindowname "$main")"
shoot pagewright-vertical

# The same page as one horizontal strip of 128 x 64 pages.
xdotool key ctrl+m
wait_window '^Page Format$' >/dev/null
settle
xdotool key space Tab ctrl+a
xdotool type 128
xdotool key Return
editor
xdotool key ctrl+Home
shoot pagewright-horizontal

# New on the modified page asks first; Cancel keeps it. Then the About box from the Help menu.
xdotool key ctrl+n
wait_window '^Save changes$' >/dev/null
shoot pagewright-save-changes
xdotool key Escape
editor
xdotool mousemove 173 8 click 1
settle
xdotool key Down Return
wait_window '^About Pagewright$' >/dev/null
shoot pagewright-about
xdotool key Return
editor

# Saved and closed with Exit (Ctrl+X): the program ends by itself.
xdotool key ctrl+s ctrl+x
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    echo "pagewright did not end within 10 s of Exit" >&2
    exit 1
fi
pid=
echo "pagewright tour: done"

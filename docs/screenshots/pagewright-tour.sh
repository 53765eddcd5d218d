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

# A dialog opened by its key (it has the focus), and closed with Return after an optional shot.
open_dialog() {
    xdotool key "$1"
    wait_window "^$2\$" >/dev/null
    settle
}
close_dialog() {
    [ -z "${1:-}" ] || shoot "$1"
    xdotool key Return
    editor
}
# Set > Color with an HTML colour typed in.
color() {
    open_dialog ctrl+u Color
    xdotool key alt+h ctrl+a
    xdotool type "$1"
    close_dialog "${2:-}"
}

cd "$work"
"$pagewright" "$work/offer.ZRT" &
pid=$!
main=$(wait_window '^Pagewright V1\.3 - \[')
editor

# Page Format: a width of 6 is refused; then 256 x 64 in the vertical layout.
open_dialog ctrl+m 'Page Format'
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
close_dialog pagewright-page-format

# A bold Latin face from the font dialog.
open_dialog ctrl+f Font
xdotool type 'Liberation Sans'
xdotool key alt+y Prior alt+s ctrl+a
xdotool type 16
close_dialog pagewright-font
xdotool type --delay 20 'Today only '
xdotool type --delay 60 '今日特价'

# The Chinese words selected with the mouse, made yellow with a red contour.
xdotool mousemove 430 44 mousedown 1 mousemove 330 44 mousemove 241 44 mouseup 1
settle 0.2
color '#ffff00' pagewright-color
open_dialog ctrl+shift+e 'Extend Font Style'
xdotool key space Tab ctrl+a
xdotool type 1
close_dialog pagewright-extend-font-style

# A second line in a Chinese face, cyan, without the contour, and a picture at its end.
xdotool mousemove 500 44 click 1
xdotool key End Return
open_dialog ctrl+shift+e 'Extend Font Style'
xdotool key space
close_dialog
open_dialog ctrl+f Font
xdotool type 'WenQuanYi Zen Hei'
xdotool key alt+s ctrl+a
xdotool type 12
close_dialog
color '#00ffff'
xdotool type --delay 30 'Coffee 12.50 元 '
open_dialog ctrl+p 'Insert Picture'
xdotool type "$work/star.bmp"
close_dialog pagewright-insert-picture

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
open_dialog ctrl+m 'Page Format'
xdotool key space Tab ctrl+a
xdotool type 128
close_dialog
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
close_dialog pagewright-about

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

#!/usr/bin/env bash
# Walks through a first show as a first-time user does, with xdotool on an X server without a
# window manager (take.sh runs it under Xvfb, 1280 x 800), and takes the getting-started
# screenshots: the logon, the main window with its guide, the sign settings, a new program, an
# area format, pictures added to the picture library and dragged into the program, an entry
# effect, a hold, the timeline, the preview, the send to a virtual sign and what arrived there.
# The real `brightline` runs from a scratch start folder (the sign list made from the demo, empty
# resource libraries, its own profile and workspace) with `brightline-signsim` as the sign, found
# through BRIGHTLINE_VIRTUAL_SIGN as `./run` does. Every step checks that it happened and the
# script stops with a message when not; the scratch folders and the programs go in any case.
# Usage: getting-started.sh BRIGHTLINE_BUILD OUTPUT_FOLDER
set -euo pipefail
if [ $# -ne 2 ]; then
    echo "usage: getting-started.sh BRIGHTLINE_BUILD OUTPUT_FOLDER" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
brightline=$build/apps/brightline/brightline
cli=$build/apps/brightline-cli/brightline-cli
signsim=$build/apps/brightline-signsim/brightline-signsim
for program in "$brightline" "$cli" "$signsim"; do
    [ -x "$program" ] || {
        echo "getting-started: $program is missing (build the brightline, brightline-cli and brightline-signsim targets)" >&2
        exit 1
    }
done
[ -n "${DISPLAY:-}" ] || {
    echo "getting-started: no X display (run it under xvfb-run, as take.sh does)" >&2
    exit 1
}

work=$(mktemp -d)
runtime=$(mktemp -d)
desk=$work/desk
pictures=$work/pictures
sign=$work/sign
mkdir -p "$desk" "$pictures" "$work/config" "$work/data" "$work/cache"
export XDG_RUNTIME_DIR="$runtime" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export XDG_CACHE_HOME="$work/cache"
export BRIGHTLINE_PROFILE="$work/profile.ini" BRIGHTLINE_WORKSPACE="$work/workspace"
# A build with the address sanitizer (./test's): the D-Bus library keeps a buffer to the end.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
app_pid=
sim_pid=
cleanup() {
    local status=$?
    for pid in $app_pid $sim_pid; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in $app_pid $sim_pid; do
        for _ in $(seq 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work" "$runtime"
    [ "$status" -eq 0 ] || echo "getting-started: FAILED (status $status)" >&2
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
    echo "getting-started: $*" >&2
    if [ -n "${GETTING_STARTED_KEEP_FAILURE:-}" ]; then
        import -window root "$GETTING_STARTED_KEEP_FAILURE" 2>/dev/null || true
        echo "getting-started: the screen at the failure is $GETTING_STARTED_KEEP_FAILURE" >&2
    fi
    exit 1
}
# The first window whose name matches, within 15 seconds.
wait_window() {
    local id
    for _ in $(seq 150); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return
        fi
        sleep 0.1
    done
    fail "no window named '$1' within 15 s${2:+ ($2)}"
}
# Until no visible window matches, within 15 seconds.
wait_gone() {
    for _ in $(seq 150); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "the window '$1' is still there after 15 s${2:+ ($2)}"
}
# Until a command succeeds, within SECONDS: wait_for SECONDS MESSAGE COMMAND...
wait_for() {
    local seconds=$1 message=$2
    shift 2
    for _ in $(seq $((seconds * 10))); do
        "$@" >/dev/null 2>&1 && return 0
        kill -0 "$app_pid" 2>/dev/null || fail "brightline ended while waiting: $message"
        sleep 0.1
    done
    fail "$message (not within $seconds s)"
}
settle() { sleep "${1:-0.5}"; }
focus() {
    local id
    id=$(wait_window "$@")
    xdotool windowfocus --sync "$id"
    settle 0.3
}
shots=0
# The screen as OUTPUT/getting-started-NN-NAME.png, numbered in the order taken.
shoot() {
    settle "${2:-0.6}"
    shots=$((shots + 1))
    local file
    file=$(printf '%s/getting-started-%02d-%s.png' "$out" "$shots" "$1")
    import -window root "$work/shot.png"
    # A dialog alone on the black screen is cut to itself.
    convert "$work/shot.png" -bordercolor black -border 1 -trim +repage "$file"
    echo "wrote $file"
}
click() {
    xdotool mousemove "$1" "$2" click "${3:-1}"
    settle 0.3
}
# A drag with the left button as a hand makes it: pressed, moved in steps, released.
drag() {
    local x0=$1 y0=$2 x1=$3 y1=$4 steps=12
    xdotool mousemove "$x0" "$y0" mousedown 1
    sleep 0.2
    for i in $(seq 1 $steps); do
        xdotool mousemove $((x0 + (x1 - x0) * i / steps)) $((y0 + (y1 - y0) * i / steps))
        sleep 0.05
    done
    sleep 0.3
    xdotool mousemove "$x1" "$y1"
    sleep 0.2
    xdotool mouseup 1
    settle 0.6
}
# The program as the compact JSON the command line prints.
program_json() { "$cli" inspect "$desk/first.ZPF" --compact 2>/dev/null; }
program_has() { program_json | grep -q "$1"; }
# Until exactly COUNT windows of the program are on the screen (the progress window has no name).
wait_window_count() {
    for _ in $(seq 300); do
        [ "$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l)" -eq "$1" ] && return 0
        sleep 0.1
    done
    fail "brightline still shows $(xdotool search --onlyvisible --pid "$app_pid" | wc -l) windows, not $1, after 30 s${2:+ ($2)}"
}
# A menu opened with a click (the menu bar's or the right button's) and its entry clicked once
# the menu is on the screen: popup X Y BUTTON ENTRY_X ENTRY_Y WHAT
popup() {
    local before
    before=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l)
    xdotool mousemove "$1" "$2" click "$3"
    wait_window_count $((before + 1)) "$6"
    settle 0.3
    xdotool mousemove "$4" "$5"
    settle 0.2
    xdotool click 1
    settle 0.3
}
# Whether the screen shows bright green (the preview's "Playing ..." strip) below the face.
playing_strip_shown() {
    import -window root "$work/check.png"
    local green
    green=$(convert "$work/check.png" -crop 470x100+805+362 +repage -fuzz 25% -fill black \
        +opaque '#00ff00' -fill white -opaque '#00ff00' -format '%[fx:mean]' info:)
    awk -v g="$green" 'BEGIN { exit !(g > 0.001) }'
}
# Every file of the made show arrived at the virtual sign as it was made (same bytes).
show_arrived() {
    local folder name
    for folder in "$sign/DATA1" "$sign/DATA2"; do
        [ -f "$folder/run.at" ] || continue
        for name in "$BRIGHTLINE_WORKSPACE"/*; do
            [ -f "$name" ] || continue
            cmp -s "$name" "$folder/$(basename "$name")" || continue 2
        done
        echo "$folder"
        return 0
    done
    return 1
}

# --- The start folder, the pictures and the virtual sign ---------------------------------------
# The sign list as ./run makes it: "Sample LED" (256 x 128, on 127.0.0.1) and "Front door".
"$cli" build "$here/../../demo/LED_SET.ZRC.json" "$desk/LED_SET.ZRC" >/dev/null
picture() {
    convert -size "$2" "gradient:$3" -font DejaVu-Sans-Bold -pointsize "$4" -fill white \
        -gravity center -annotate 0 "$5" "$pictures/$1"
}
picture welcome.png 128x128 '#102a80-#2aa0e0' 22 'WELCOME'
picture coffee.jpg 160x120 '#5a3010-#dca050' 20 $'COFFEE\n2.50'
picture cake.png 160x120 '#c83c8c-#fac8dc' 24 'CAKE'

"$signsim" --storage "$sign" --no-serial >"$work/signsim.log" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do
    grep -q '^ready' "$work/signsim.log" 2>/dev/null && break
    sleep 0.1
done
command_port=$(sed -n 's/^command port //p' "$work/signsim.log")
ftp_port=$(sed -n 's/^ftp port //p' "$work/signsim.log")
if [ -z "$command_port" ] || [ -z "$ftp_port" ]; then
    fail "the virtual sign did not start: $(cat "$work/signsim.log")"
fi
export BRIGHTLINE_VIRTUAL_SIGN="127.0.0.1:$command_port:$ftp_port"

# --- The logon and the main window -------------------------------------------------------------
cd "$desk"
"$brightline" >"$work/brightline.log" 2>&1 &
app_pid=$!
focus '^Log In$'
xdotool type admin
shoot logon
xdotool key Return
wait_gone '^Log In$' "the password admin was not taken"
main=$(wait_window '^Brightline$' "the main window after the logon")
# No window manager maximizes it here: the window is given the whole screen as one would.
xdotool windowsize --sync "$main" 1280 800
guide=$(wait_window '^Getting started$' "the guide on a first start")
xdotool windowmove --sync "$guide" 523 322
xdotool mousemove 1000 700
shoot main-window

# --- Guide step 1: the sign settings, "Sample LED" kept -----------------------------------------
click 640 348
wait_window '^LED Set$' "Step1 of the guide" >/dev/null
shoot sign-settings
click 847 487
wait_gone '^LED Set$' "OK in LED Set"
grep -q '^LED_NAME=Sample LED' "$BRIGHTLINE_PROFILE" || fail "LED Set did not keep the sign"
xdotool windowfocus --sync "$guide"
xdotool key Escape
wait_gone '^Getting started$' "Escape on the guide"

# --- A new program file "first" -----------------------------------------------------------------
click 34 50
wait_window '^New$' "the toolbar's New" >/dev/null
click 486 265
click 660 440
xdotool type first
xdotool mousemove 1000 700
shoot new-program
click 702 496
program_guide=$(wait_window '^Program' "the new program's guide")
settle 1
shoot program-frame
xdotool windowfocus --sync "$program_guide"
xdotool key Escape
wait_gone '^Program' "Escape on the program's guide"

# --- Area format 1 (two areas side by side) dragged onto the face, then saved ------------------
drag 172 200 1040 290
xdotool mousemove 1000 700
shoot area-format
click 129 50
wait_for 10 "Save did not write $desk/first.ZPF with area format 1" \
    program_has '"areaFormat": 1'

# --- Three pictures added to the picture library -----------------------------------------------
click 288 150
click 57 122
wait_window '^Add Resource$' "Add Resource on the Picture tab" >/dev/null
settle
xdotool key ctrl+a
xdotool type "$pictures/"
xdotool key Return
settle
xdotool type '"welcome.png" "coffee.jpg" "cake.png"'
shoot add-resource
xdotool key Return
wait_gone '^Add Resource$' "Open in the file dialog"
wait_for 10 "the picture library does not hold the three pictures" \
    bash -c "'$cli' inspect '$desk/RC_IMG.ZRC' | grep -c 'welcome.png\|coffee.jpg\|cake.png' | grep -qx 3"
settle 1.5
shoot picture-library

# --- Area 0: welcome as its background, coffee as an item; area 1: cake as its background -------
drag 61 200 64 578
wait_for 10 "welcome.png is not the background of area 0" program_has '"background": ".*/welcome.png"'
drag 173 200 220 578
wait_for 10 "coffee.jpg is not an item of area 0" program_has '".*/coffee.jpg"'
click 1100 300
drag 285 200 64 578
wait_for 10 "cake.png is not the background of area 1" program_has '"background": ".*/cake.png"'
click 1000 300
xdotool mousemove 1000 700
settle 1
shoot program-items

# --- An entry effect from "Move In" dropped onto the coffee card -------------------------------
click 137 150
settle 1.5
drag 173 200 205 578
wait_for 10 "the coffee item has no entry effect Move left" program_has '"in": "DFR_LF"'
xdotool mousemove 1000 700
shoot move-in

# --- Set Delay from the card's context menu: 8 seconds ------------------------------------------
popup 205 578 3 262 610 "the coffee card's context menu"
wait_window '^Set delay time at stop' "Set Delay in the context menu" >/dev/null
xdotool type 8
shoot set-delay
xdotool key Return
wait_gone '^Set delay time at stop' "OK in Set Delay"
wait_for 10 "the coffee item does not hold for 8 seconds" program_has '"hold": 8'

# --- The timeline, the pointer resting on the coffee bar ---------------------------------------
click 126 684
windows_before=$(xdotool search --onlyvisible --pid "$app_pid" | wc -l)
xdotool mousemove 11 575
settle 0.3
xdotool mousemove 12 576
wait_window_count $((windows_before + 1)) "the coffee bar's tooltip on the timeline"
shoot timeline 1

# --- Play: made into a show and previewed on the face -------------------------------------------
xdotool mousemove 826 493 click 1
wait_for 60 "Play did not make the show into $BRIGHTLINE_WORKSPACE" test -f "$BRIGHTLINE_WORKSPACE/run.at"
wait_for 30 "the preview does not say it is playing" playing_strip_shown
xdotool mousemove 1000 700
shoot preview 0.3

# --- Send: to the virtual sign, read back and verified -----------------------------------------
windows_before=$(xdotool search --onlyvisible --pid "$app_pid" | wc -l)
xdotool mousemove 926 493 click 1
wait_window_count $((windows_before + 1)) "the progress window of Send"
xdotool mousemove 1000 700
shoot sending 1
wait_for 60 "the show did not arrive at the virtual sign in $sign" show_arrived
wait_window_count "$windows_before" "the end of the send"
settle 1
echo "the show arrived in $(show_arrived)"
shoot sent

# --- What the sign holds: Send > Get File List --------------------------------------------------
popup 98 8 1 142 73 "the Send menu"
wait_window '^File list$' "Get File List" >/dev/null
xdotool mousemove 1000 700
shoot sign-files 1
click 788 516
wait_gone '^File list$' "OK in the file list"

# --- File > Exit: the program ends by itself ---------------------------------------------------
popup 20 8 1 45 119 "the File menu"
for _ in $(seq 150); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "brightline did not end within 15 s of File > Exit"
status=0
wait "$app_pid" || status=$?
[ "$status" -eq 0 ] || fail "brightline ended with status $status after File > Exit"
app_pid=
echo "getting-started: $shots screenshots, the show on the virtual sign"

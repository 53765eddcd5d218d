#!/usr/bin/env bash
# Takes the desktop's screenshots under Xvfb into this folder: the main program's windows
# (screenshot_tour), then the text page editor driven with xdotool (pagewright-tour.sh), then the
# getting-started walk-through: the real brightline driven with xdotool against a virtual sign
# (getting-started.sh).
# Usage: docs/screenshots/take.sh [BUILD_DIR]   (default build/ui, which must have screenshot_tour,
# pagewright, brightline, brightline-cli and brightline-signsim)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build/ui}" && pwd)
# A build with the address sanitizer (./test's): the D-Bus library keeps a buffer to the end,
# which the leak check would count against the tour.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" \
    "$build/shell/ui/tests/screenshot_tour" "$here"
xvfb-run -a -s "-screen 0 1280x800x24" \
    "$here/pagewright-tour.sh" "$build/apps/pagewright/pagewright" "$here"
xvfb-run -a -s "-screen 0 1280x800x24" \
    "$here/getting-started.sh" "$build" "$here"

#!/usr/bin/env bash
# Takes the desktop's screenshots under Xvfb into this folder: the main program's windows
# (screenshot_tour), then the text page editor driven with xdotool (pagewright-tour.sh).
# Usage: docs/screenshots/take.sh [BUILD_DIR]   (default build/ui, which must have screenshot_tour
# and pagewright)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build/ui}" && pwd)
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" \
    "$build/shell/ui/tests/screenshot_tour" "$here"
xvfb-run -a -s "-screen 0 1280x800x24" \
    "$here/pagewright-tour.sh" "$build/apps/pagewright/pagewright" "$here"

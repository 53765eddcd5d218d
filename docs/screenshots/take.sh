#!/usr/bin/env bash
# Takes the desktop's screenshots under Xvfb into this folder.
# Usage: docs/screenshots/take.sh [BUILD_DIR]   (default build/ui, which must have screenshot_tour)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build/ui}" && pwd)
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" \
    "$build/shell/ui/tests/screenshot_tour" "$here"

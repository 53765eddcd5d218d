#!/usr/bin/env bash
# Checks that every C++ file of the tree is as clang-format leaves it (the style in
# .clang-format, with the clang-format of Debian 12, clang-format-14, which
# scripts/install-deps.sh installs). Lists the files that are not and exits 1; `-i` formats them
# instead. Usage: scripts/check-format.sh [-i]
set -euo pipefail
cd "$(dirname "$0")/.."
formatter=${CLANG_FORMAT:-clang-format-14}
if ! command -v "$formatter" >/dev/null 2>&1; then
    echo "check-format: $formatter is not installed (scripts/install-deps.sh installs it)" >&2
    exit 1
fi
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    list() { git ls-files -z --cached --others --exclude-standard -- '*.cpp' '*.h' '*.inc'; }
else
    list() { find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' -o -name '*.inc' \) -print0; }
fi
if [ "${1:-}" = "-i" ]; then
    list | xargs -0 -r -P "$(nproc)" -n 32 "$formatter" -i
    exit 0
fi
# One clang-format a batch of files; each batch names the files it would change (a file it cannot
# read counts too), one short line each.
bad=$(list | xargs -0 -r -P "$(nproc)" -n 48 sh -c \
    '"$0" --dry-run --Werror "$@" >/dev/null 2>&1 && exit 0
     for f; do "$0" --dry-run --Werror "$f" >/dev/null 2>&1 || echo "$f"; done' "$formatter" |
    sort)
if [ -n "$bad" ]; then
    echo "These files are not clang-formatted (scripts/check-format.sh -i formats them):" >&2
    echo "$bad" >&2
    exit 1
fi
echo "check-format: every C++ file is clang-formatted"

#!/usr/bin/env bash
# Installs the Debian packages Brightline needs, quietly, and only those that are missing.
# Safe to run again and again; it does nothing when everything is there.
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ clang pkg-config
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    qt6-base-dev
    libjpeg62-turbo-dev libpng-dev zlib1g-dev libgif-dev libfreetype-dev
    libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
    libcurl4-openssl-dev nettle-dev nlohmann-json3-dev libcairo2-dev
    # the model and vendor names of serial devices (Select Modem)
    libudev-dev
    libclang-rt-14-dev
    # the formatter the tree is checked with (scripts/check-format.sh)
    clang-format-14
    # fonts for the bitmap font generator
    unifont xfonts-base fonts-dejavu-core fonts-wqy-zenhei
    # faces that stand in for the Windows fonts text pages name (pageeditor/render)
    fonts-liberation
    # test peers and tools
    python3 python3-pyftpdlib ffmpeg xvfb xauth imagemagick curl xdotool
    # the Debian packages and their test: dpkg-shlibdeps, the MIME file's and man pages' checks
    dpkg-dev libxml2-utils man-db
    # the manual: Markdown to HTML
    cmark-gfm
    # what the thumbnail benchmark compares with (bench/thumbnails)
    libvips-tools
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then SUDO="sudo"; else
        echo "These Debian packages are missing and this is not root: ${missing[*]}" >&2
        exit 1
    fi
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq >/dev/null
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null

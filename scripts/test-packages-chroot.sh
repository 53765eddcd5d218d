#!/usr/bin/env bash
# Installs the Debian packages of a build folder with apt into a clean Debian 12 made by
# debootstrap, as an administrator would on a new machine, and starts what was installed there:
# brightline-cli and brightline-signsim --version, a program built, made and played into a GIF
# by brightline-cli, and the desktop program up to its "Log In" dialog on an Xvfb display of
# this machine. Needs root, debootstrap and a Debian mirror; not part of ./test (which installs
# the packages with `dpkg --root` instead, without a network).
#
#   scripts/test-packages-chroot.sh BUILD_FOLDER [--keep-root DIR]
#
# The packages are built with cpack from BUILD_FOLDER (everything built). --keep-root DIR
# makes the Debian root in DIR (or reuses the one there, packages removed first) and leaves it;
# without it the root lies in a scratch folder under $TMPDIR and is removed. MIRROR (default
# http://deb.debian.org/debian) names the mirror. Exit status 0 when every check passed.
set -euo pipefail
# shellcheck source=scripts/package-checks.sh
source "$(dirname "$0")/package-checks.sh"

build=$(cd "${1:?usage: test-packages-chroot.sh BUILD_FOLDER [--keep-root DIR]}" && pwd)
mirror=${MIRROR:-http://deb.debian.org/debian}
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/bl_chroot.XXXXXX")
root="$scratch/root"
if [ "${2:-}" = "--keep-root" ]; then root=$(mkdir -p "${3:?--keep-root needs a folder}" && cd "$3" && pwd); fi

[ "$(id -u)" = 0 ] || fail "debootstrap and chroot need root"
command -v debootstrap >/dev/null || fail "debootstrap is not installed (apt-get install debootstrap)"

mounted=()
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[$i]}" 2>/dev/null || true; done
    rm -rf "$scratch"
}
trap cleanup EXIT

in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

# 1. The packages.
(cd "$scratch" && cpack --config "$build/CPackConfig.cmake" -B "$scratch/debs" >"$scratch/cpack.log" 2>&1) ||
    { cat "$scratch/cpack.log" >&2; fail "cpack could not build the packages"; }
debs=("$scratch"/debs/brightline-tools_*.deb "$scratch"/debs/brightline_*.deb)
for deb in "${debs[@]}"; do [ -f "$deb" ] || fail "cpack did not write $deb"; done

# 2. A clean Debian 12.
start=$SECONDS
if [ -x "$root/usr/bin/apt-get" ]; then
    in_root apt-get remove -y -qq brightline brightline-tools >/dev/null 2>&1 || true
else
    debootstrap --variant=minbase bookworm "$root" "$mirror" >"$scratch/debootstrap.log" 2>&1 ||
        { tail -20 "$scratch/debootstrap.log" >&2; fail "debootstrap could not make the root"; }
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc" && mounted+=("$root/proc")
echo "clean Debian 12 root ready in $((SECONDS - start)) s: $root"

# 3. apt install ./brightline-tools_*.deb ./brightline_*.deb, as the README says.
mkdir -p "$root/opt/debs"
cp "${debs[@]}" "$root/opt/debs/"
start=$SECONDS
in_root sh -c 'apt-get update -qq && apt-get install -y -qq /opt/debs/*.deb' >"$scratch/apt.log" 2>&1 ||
    { tail -30 "$scratch/apt.log" >&2; fail "apt could not install the packages"; }
echo "apt installed the packages and $(grep -c '^Setting up' "$scratch/apt.log") packages in all in $((SECONDS - start)) s"

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
[ "$(in_root brightline-cli --version)" = "brightline-cli $version" ] || fail "brightline-cli --version"
[ "$(in_root brightline-signsim --version)" = "brightline-signsim $version" ] || fail "brightline-signsim --version"
in_root man -w brightline-cli >/dev/null 2>&1 || echo "note: man is not installed in the root (minbase)"

# 4. The command line's own work: a program built, made and played into a GIF.
mkdir -p "$root/root/try"
cp "$here/../demo/star.bmp" "$root/root/try/"
cat >"$root/root/try/show.json" <<'JSON'
{"sign": "128x64", "areaFormat": 1,
 "areas": [{"items": ["star.bmp", {"path": "star.bmp", "in": "Move left", "hold": 2}]}]}
JSON
in_root sh -c 'cd /root/try && brightline-cli build show.json show.ZPF &&
    brightline-cli make show.ZPF --workspace ws && brightline-cli play run.at --workspace ws --ticks 100 --gif show.gif' \
    >"$scratch/cli.log" 2>&1 || { cat "$scratch/cli.log" >&2; fail "brightline-cli could not make and play a program"; }
[ "$(head -c 6 "$root/root/try/show.gif")" = "GIF89a" ] || fail "no GIF played"
echo "brightline-cli built, made and played a program: $(tail -1 "$scratch/cli.log")"

# 5. The desktop program up to its "Log In" dialog, on an Xvfb display of this machine.
start_xvfb_or_skip
mkdir -p "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix" && mounted+=("$root/tmp/.X11-unix")
mkdir -p "$root/home/operator/run"
chmod 700 "$root/home/operator/run"
chroot "$root" env -i PATH=/usr/bin:/bin HOME=/home/operator DISPLAY="$display" \
    XDG_RUNTIME_DIR=/home/operator/run LANG=C.UTF-8 sh -c 'cd /home/operator && exec brightline' \
    >"$scratch/desktop.log" 2>&1 &
pids+=($!)
wait_for 30 env DISPLAY="$display" xdotool search --name "^Log In$" ||
    { cat "$scratch/desktop.log" >&2; fail "the installed desktop showed no \"Log In\" dialog within 30 s"; }
for file in UserInfo.dat LED_SET.ZRC; do
    [ -f "$root/home/operator/.local/share/brightline/$file" ] ||
        fail "the first start did not copy $file into the user's folder"
done
echo "the installed desktop program shows its \"Log In\" dialog; the user's folder holds its copies"
echo "PASS"

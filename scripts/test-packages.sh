#!/usr/bin/env bash
# Builds the Debian packages from a build folder (everything built), installs them with
# `dpkg --root` into a scratch root and starts what was installed: brightline-cli --version, and,
# when Xvfb and xdotool are there, the desktop program up to its "Log In" dialog with a fresh
# home folder (its first start copies the user file and the sign list there and writes nothing
# into the installed tree), and once more without any user file, up to the warning that says
# where it looked.
#
#   scripts/test-packages.sh BUILD_FOLDER [--keep DIR]
#
# --keep DIR leaves the packages in DIR. Everything else lies in one scratch folder under
# $TMPDIR, removed at the end. Exit status 0 when every check passed.
set -euo pipefail
# shellcheck source=scripts/package-checks.sh
source "$(dirname "$0")/package-checks.sh"

build=$(cd "${1:?usage: test-packages.sh BUILD_FOLDER [--keep DIR]}" && pwd)
keep=""
if [ "${2:-}" = "--keep" ]; then keep=${3:?--keep needs a folder}; fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/bl_packages.XXXXXX")
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$scratch"
}
trap cleanup EXIT



# 1. The packages. Uncompressed here: the check is the layout, not the archive size.
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
[ -n "$version" ] || fail "no package version in $build/CPackConfig.cmake"
(cd "$scratch" && cpack --config "$build/CPackConfig.cmake" -B "$scratch/debs" \
    -D CPACK_DEBIAN_COMPRESSION_TYPE=none >"$scratch/cpack.log" 2>&1) ||
    { cat "$scratch/cpack.log" >&2; fail "cpack could not build the packages"; }
arch=$(dpkg --print-architecture)
desktop="$scratch/debs/brightline_${version}_${arch}.deb"
tools="$scratch/debs/brightline-tools_${version}_${arch}.deb"
for deb in "$desktop" "$tools"; do
    [ -f "$deb" ] || fail "cpack did not write $(basename "$deb"): $(ls "$scratch/debs")"
done
dpkg-deb -f "$desktop" Depends | grep -q "brightline-tools (= $version)" ||
    fail "brightline does not depend on brightline-tools $version"
dpkg-deb -f "$tools" Depends | grep -q "libc6" || fail "brightline-tools has no library dependencies"

# 2. Installed into a scratch root, as dpkg would install them (the libraries they need are the
# build machine's, so their dependencies are not looked for in the scratch root).
root="$scratch/root"
mkdir -p "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/info"
touch "$root/var/lib/dpkg/status"
dpkg --root="$root" --force-depends --force-not-root --log=/dev/null \
    -i "$tools" "$desktop" >"$scratch/dpkg.log" 2>&1 ||
    { cat "$scratch/dpkg.log" >&2; fail "dpkg could not install the packages"; }

for file in usr/bin/brightline usr/bin/pagewright usr/bin/brightline-cli usr/bin/brightline-signsim \
    usr/share/brightline/UserInfo.dat usr/share/brightline/LED_SET.ZRC \
    usr/share/brightline/fonts/zhzk16.bin usr/share/brightline/fonts/ezfon.bin \
    usr/share/applications/brightline.desktop usr/share/applications/pagewright.desktop \
    usr/share/icons/hicolor/scalable/apps/brightline.svg \
    usr/share/mime/packages/brightline.xml usr/share/man/man1/brightline-cli.1.gz \
    usr/share/man/man1/brightline-signsim.1.gz usr/share/bash-completion/completions/brightline-cli \
    usr/share/brightline/manual/index.html usr/share/doc/brightline/copyright \
    usr/share/doc/brightline-tools/copyright; do
    [ -f "$root/$file" ] || fail "the packages do not install /$file"
done
# Everything lies in the places the Filesystem Hierarchy Standard gives it.
stray=$(cd "$root" && find . -type f ! -path './usr/bin/*' ! -path './usr/share/*' \
    ! -path './var/lib/dpkg/*')
[ -z "$stray" ] || fail "files outside /usr/bin and /usr/share: $stray"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root"/usr/share/applications/*.desktop || fail "invalid desktop entry"
fi
if command -v xmllint >/dev/null; then
    xmllint --noout "$root/usr/share/mime/packages/brightline.xml" || fail "invalid MIME types"
fi

if command -v man >/dev/null; then
    for page in "$root"/usr/share/man/man1/*.1.gz; do
        warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
    done
fi
bash -n "$root/usr/share/bash-completion/completions/brightline-cli" || fail "completion script"
# The manual Help > Help opens: every page, link and picture there as installed.
python3 "$(dirname "$0")/check-manual.py" "$root/usr/share/brightline/manual" \
    "$root/usr/bin/brightline-cli" >"$scratch/manual.log" ||
    { cat "$scratch/manual.log" >&2; fail "the installed manual is incomplete"; }

out=$("$root/usr/bin/brightline-cli" --version) || fail "brightline-cli --version failed"
[ "$out" = "brightline-cli $version" ] || fail "brightline-cli --version printed \"$out\""
out=$("$root/usr/bin/brightline-signsim" --version) || fail "brightline-signsim --version failed"
[ "$out" = "brightline-signsim $version" ] || fail "brightline-signsim --version printed \"$out\""
echo "installed: $(basename "$tools") $(basename "$desktop"); --version answers $version"

# 3. The desktop program, started as a new user would.
start_xvfb_or_skip

home="$scratch/home"
mkdir -p "$home"
before=$(cd "$root/usr" && find . -type f | sort | md5sum)
# Starts the installed desktop program with a fresh environment; its process id in $started.
start_desktop() {
    env -i PATH="$root/usr/bin:/usr/bin:/bin" HOME="$home" DISPLAY="$display" \
        ASAN_OPTIONS=detect_leaks=0 "$root/usr/bin/brightline" >"$scratch/desktop.log" 2>&1 &
    started=$!
    pids+=("$started")
}
window_named() {
    DISPLAY="$display" xdotool search --name "^$1\$"
}

start_desktop
wait_for 30 window_named "Log In" ||
    { cat "$scratch/desktop.log" >&2; fail "no \"Log In\" window within 30 s"; }
user="$home/.local/share/brightline"
cmp -s "$user/UserInfo.dat" "$root/usr/share/brightline/UserInfo.dat" ||
    fail "the first start did not copy UserInfo.dat into $user"
cmp -s "$user/LED_SET.ZRC" "$root/usr/share/brightline/LED_SET.ZRC" ||
    fail "the first start did not copy LED_SET.ZRC into $user"
[ -f "$home/.config/brightline/Brightline II.ini" ] || fail "no profile in ~/.config/brightline"
kill "$started"
wait "$started" 2>/dev/null || true
after=$(cd "$root/usr" && find . -type f | sort | md5sum)
[ "$before" = "$after" ] || fail "the desktop program wrote into the installed tree"
echo "desktop: first start reached \"Log In\"; user file and sign list copied to ~/.local/share"

# Without the installed user file nor the user's copy, the start ends with a warning, not a
# silent exit.
rm "$user/UserInfo.dat" "$root/usr/share/brightline/UserInfo.dat"
start_desktop
wait_for 30 window_named "Warning!" ||
    { cat "$scratch/desktop.log" >&2; fail "no \"Warning!\" window without a user file"; }
kill "$started"
wait "$started" 2>/dev/null || true
echo "desktop: a missing user file is reported"

if [ -n "$keep" ]; then
    mkdir -p "$keep"
    cp "$desktop" "$tools" "$keep/"
fi
echo "PASS"

# What the package tests share (sourced by test-packages.sh and test-packages-chroot.sh): they
# keep the processes they start in the array `pids` and their logs in the folder $scratch.

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Waits up to $1 seconds for the command after it to succeed; false when the time ran out.
wait_for() {
    local seconds=$1
    shift
    local end=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.2
    done
}

# Starts Xvfb on the first free display from :170 and sets `display`; exits with status 0
# (the desktop part skipped) when Xvfb or xdotool is missing.
start_xvfb_or_skip() {
    if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
        echo "SKIP: the desktop start needs Xvfb and xdotool"
        exit 0
    fi
    display=""
    local n
    for n in $(seq 170 199); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
            display=":$n"
            break
        fi
    done
    [ -n "$display" ] || fail "no free X display number"
    Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
    pids+=($!)
    wait_for 10 env DISPLAY="$display" xdotool getmouselocation ||
        fail "Xvfb on $display did not start within 10 s"
}

#!/usr/bin/env bash
# Builds the libFuzzer targets under fuzz/ with clang and runs each, one after the other, for
# SECONDS (default 60), seeded from the demo files and fuzz/seeds/; the corpus of each target is
# kept between runs. Prints one line per target: executions, executions a second, and findings
# (crashes, leaks, inputs over the memory limit, and inputs that run longer than TIMEOUT seconds,
# default 10: a show that does not end within its tick budget is one). Exit 1 when anything was
# found.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]     (FUZZ_TIMEOUT=SECONDS to change the timeout)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
timeout_s=${FUZZ_TIMEOUT:-10}
build=build/fuzz
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DBRIGHTLINE_FUZZ=ON -DBRIGHTLINE_TESTS=OFF -DBRIGHTLINE_BENCH=OFF -DBRIGHTLINE_GUI=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    mapfile -t targets < <(sed -n 's/^ *brightline_fuzzer(\([a-z_0-9]*\).*/\1/p' fuzz/CMakeLists.txt)
fi
cmake --build "$build" --target brightline-cli "${targets[@]}" -j"$(nproc)" >/dev/null

# Seeds: the demo files, built from their JSON.
seeds="$build/seeds"
mkdir -p "$seeds"
for f in demo/*.json; do
    "$build/apps/brightline-cli/brightline-cli" build "$f" "$seeds/$(basename "$f" .json)"
done

status=0
printf '%-24s %8s %12s %10s  %s\n' target seconds executions "per second" findings
for t in "${targets[@]}"; do
    corpus="$build/corpus-$t"
    artifacts="$build/findings-$t"
    mkdir -p "$corpus" "$artifacts"
    cp "$seeds"/* "$corpus"/ 2>/dev/null || true
    # Targets with seeds of their own (fuzz/seeds/<target without "fuzz_">).
    cp "fuzz/seeds/${t#fuzz_}"/* "$corpus"/ 2>/dev/null || true
    log="$build/$t.log"
    before=$(find "$artifacts" -type f | wc -l)
    # -fork keeps going after a finding, so one run counts them all.
    "$build/fuzz/$t" "$corpus" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
        -max_total_time="$seconds" -timeout="$timeout_s" -rss_limit_mb=2048 \
        -artifact_prefix="$artifacts/" -print_final_stats=1 >"$log" 2>&1 || true
    found=$(( $(find "$artifacts" -type f | wc -l) - before ))
    # The fork mode's last progress line: "#EXECUTIONS: cov: ... time: SECONDSs job: ...".
    last=$(grep -E '^#[0-9]+: .* time: [0-9]+s' "$log" | tail -n1 || true)
    execs=$(sed -E 's/^#([0-9]+):.*/\1/' <<<"$last")
    took=$(sed -E 's/.* time: ([0-9]+)s.*/\1/' <<<"$last")
    [ -n "$execs" ] || execs=0
    [ -n "$took" ] && [ "$took" -gt 0 ] || took=$seconds
    rate=$(( execs / took ))
    verdict=$found
    if [ "$found" -gt 0 ]; then
        verdict="$found (in $artifacts, log $log)"
        status=1
    fi
    printf '%-24s %8s %12s %10s  %s\n' "$t" "$took" "$execs" "$rate" "$verdict"
done
exit $status

#!/usr/bin/env bash
# Builds the libFuzzer targets under fuzz/ with clang and runs each for SECONDS (default 60),
# seeded from the demo files and fuzz/seeds/. Prints each target's executions and whether it found anything.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
build=build/fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DBRIGHTLINE_FUZZ=ON -DBRIGHTLINE_TESTS=OFF -DBRIGHTLINE_BENCH=OFF -DBRIGHTLINE_GUI=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    mapfile -t targets < <(sed -n 's/^ *brightline_fuzzer(\([a-z_0-9]*\).*/\1/p' fuzz/CMakeLists.txt)
fi
cmake --build "$build" --target brightline-cli "${targets[@]}" -j"$(nproc)"

# Seeds: the demo files, built from their JSON.
seeds="$build/seeds"
mkdir -p "$seeds"
for f in demo/*.json; do
    "$build/apps/brightline-cli/brightline-cli" build "$f" "$seeds/$(basename "$f" .json)"
done

status=0
for t in "${targets[@]}"; do
    corpus="$build/corpus-$t"
    mkdir -p "$corpus"
    cp "$seeds"/* "$corpus"/ 2>/dev/null || true
    # Targets with seeds of their own (fuzz/seeds/<target without "fuzz_">).
    cp "fuzz/seeds/${t#fuzz_}"/* "$corpus"/ 2>/dev/null || true
    log="$build/$t.log"
    if "$build/fuzz/$t" "$corpus" -max_total_time="$seconds" -rss_limit_mb=2048 \
        -artifact_prefix="$build/$t-" -print_final_stats=1 >"$log" 2>&1; then
        verdict="no findings"
    else
        verdict="FINDING (see $log)"
        status=1
    fi
    execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
    [ -n "$execs" ] || execs=$(grep -oE '#[0-9]+' "$log" | tail -n1 | tr -d '#')
    printf '%-28s %6ss %12s executions  %s\n' "$t" "$seconds" "${execs:-?}" "$verdict"
done
exit $status

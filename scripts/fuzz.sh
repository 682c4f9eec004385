#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each for a bounded time on its seed
# corpus (fuzz/corpus/<target>), as many at once as there are cores;
# prints each target's runs and corpus size.
# Inputs the run finds go to a scratch folder, not into the repository. A
# crash stops the script with status 1 and names the input, which belongs
# in fuzz/corpus/<target>/ once the fault is mended.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 15)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
seconds="${1:-15}"
build="${FUZZ_BUILD_DIR:-build/ci-fuzz}"
targets=(frame_decoder_fuzz poll_batch_fuzz packed_bytes_fuzz group_receiver_fuzz configuration_fuzz command_line_fuzz simulator_options_fuzz lanta_file_fuzz)

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DZELO_BUILD_FUZZ=ON -DZELO_SANITIZE=address -DZELO_BUILD_TESTS=OFF \
    -DZELO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target "${targets[@]}"

scratch="$(mktemp -d "${TMPDIR:-/tmp}/zelo-fuzz.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
# One target's run; its verdict goes to $scratch/$target.result, so that
# targets run side by side (one per core) and report in a fixed order.
run_target() {
    local target="$1" log="$scratch/$1.log"
    mkdir -p "$scratch/$target" "$scratch/$target-crash"
    if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        timeout $((seconds + 60)) "$build/bin/$target" -max_total_time="$seconds" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$scratch/$target-crash/" \
        "$scratch/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
        echo ok >"$scratch/$target.result"
    else
        echo failed >"$scratch/$target.result"
    fi
}

jobs="$(nproc 2>/dev/null || echo 2)"
running=0
for target in "${targets[@]}"; do
    run_target "$target" &
    running=$((running + 1))
    if ((running >= jobs)); then
        wait -n || true
        running=$((running - 1))
    fi
done
wait

failed=0
for target in "${targets[@]}"; do
    log="$scratch/$target.log"
    if [[ "$(cat "$scratch/$target.result" 2>/dev/null)" == ok ]]; then
        runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
        corpus="$(find "$scratch/$target" "fuzz/corpus/$target" -type f | wc -l)"
        printf 'fuzz %-24s %9s runs in %ss, corpus %s inputs: no crash\n' \
            "$target" "${runs:-?}" "$seconds" "$corpus"
    else
        failed=1
        echo "fuzz $target FAILED; the input that crashed it:"
        ls "$scratch/$target-crash"
        mkdir -p "build/fuzz-crashes/$target"
        cp "$scratch/$target-crash/"* "build/fuzz-crashes/$target/" 2>/dev/null || true
        echo "(kept in build/fuzz-crashes/$target/)"
        tail -40 "$log"
    fi
done
exit "$failed"

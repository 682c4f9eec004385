#!/usr/bin/env bash
# Installs what is missing, builds and runs every test:
#   0. the layout of every C and C++ file against .clang-format,
#   1. the Windows cross-build and its export-ordinal check (where MinGW is there),
#   2. the thread tests under ThreadSanitizer (only their programs are
#      built: the target thread_tests),
#   3. every test under AddressSanitizer and UndefinedBehaviorSanitizer
#      (everything but the benchmarks is built),
#   4. the fault soak: transfers through the ASan build of zelo32 and
#      zelo-termsim under seeded line faults (about 3 minutes),
#   5. the libFuzzer targets, about 15 s each, with clang,
#   6. an optimised Release build of everything with warnings as errors (the
#      optimiser warns where a debug build does not), and the Debian package
#      made from it: contents, lintian, its programs and C header at work
#      from a scratch root.
#   7. the Windows build's tests and zelo32.exe end to end under 64-bit Wine
#      (where Wine is there), against the simulator built in step 3.
# Warnings are errors. Each stage prints its wall time and the CPU time
# (user + system) of the processes it ran; a table of both ends the run.
# CPU time is the figure to compare on a shared machine: other work slows
# the wall clock, not the CPU a stage spends. Usage: scripts/test.sh
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
jobs="$(nproc 2>/dev/null || echo 2)"

# Sets cpu_now to the user + system seconds of every finished child so far,
# from the second line of `times`. It runs in this shell, not in a command
# substitution: a subshell starts with no children's time of its own.
cpu_scratch="$(mktemp)"
cpu_now=0
read_children_cpu() {
    times >"$cpu_scratch"
    local _ user system
    { read -r _ && read -r user system; } <"$cpu_scratch"
    cpu_now="$(awk -v u="$user" -v s="$system" 'BEGIN {
        split(u, a, /[ms]/); split(s, b, /[ms]/); printf "%.1f", a[1] * 60 + a[2] + b[1] * 60 + b[2] }')"
}

stage_table=""
stage_name=""
stage_wall_start=0
stage_cpu_start=0
# stage NAME: ends the running stage (printing its times) and starts NAME;
# with no NAME, only ends it.
stage() {
    local now cpu
    now="$(date +%s.%N)"
    read_children_cpu
    cpu="$cpu_now"
    if [[ -n "$stage_name" ]]; then
        local line
        line="$(awk -v n="$stage_name" -v w0="$stage_wall_start" -v w1="$now" \
            -v c0="$stage_cpu_start" -v c1="$cpu" \
            'BEGIN { printf "%-34s %8.0f s wall %8.0f s CPU", n, w1 - w0, c1 - c0 }')"
        echo "-- $line"
        stage_table+="$line"$'\n'
    fi
    stage_name="${1:-}"
    stage_wall_start="$now"
    stage_cpu_start="$cpu"
    [[ -z "$stage_name" ]] || echo "== $stage_name"
}
run_start="$(date +%s.%N)"
# On a failure, the times of the stages that finished still show.
finish() {
    local status=$?
    if [[ $status -ne 0 && -n "$stage_table" ]]; then
        echo "== Times of the finished stages (\"$stage_name\" failed)"
        printf '%s' "$stage_table"
    fi
    rm -f "$cpu_scratch"
}
trap finish EXIT

# A test without a time limit of its own gets this one, so that a hung test
# fails the run instead of stalling it.
test_limit=600

configure() { # build-dir, extra cmake arguments (a later build type wins)...
    local dir="$1"
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZELO_WERROR=ON "$@" >/dev/null
}

stage "Bootstrap (missing packages)"
bash scripts/bootstrap.sh

stage "Layout of the sources (.clang-format)"
bash scripts/check_format.sh

stage "Windows cross-build"
bash scripts/check_windows_exports.sh build/ci-mingw

stage "ThreadSanitizer: thread tests"
# Only the programs of the thread tests: the target thread_tests gathers
# them by their label.
configure build/ci-tsan -DZELO_SANITIZE=thread
cmake --build build/ci-tsan -j "$jobs" --target thread_tests
ctest --test-dir build/ci-tsan -L thread --no-tests=error --timeout "$test_limit" \
    --output-on-failure -j "$jobs"

stage "ASan + UBSan: every test"
# Everything that has a test, and the programs the soak and the Wine stage
# run; the benchmarks only print figures (the Release build compiles them).
configure build/ci-asan -DZELO_SANITIZE=address -DZELO_BUILD_BENCH=OFF
cmake --build build/ci-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/ci-asan --no-tests=error --timeout "$test_limit" --output-on-failure \
    -j "$jobs"

stage "Fault soak"
bash scripts/soak.sh --bin build/ci-asan/bin --seeds "1 2" --sizes-per-line 2 --seconds 180

stage "Fuzzing"
bash scripts/fuzz.sh 15

stage "Release build and Debian package"
bash scripts/check_package.sh build/ci-package

stage "Windows programs under Wine"
TERMSIM="$root/build/ci-asan/bin/zelo-termsim" bash scripts/wine_tests.sh build/ci-wine
stage
read_children_cpu
total="$(awk -v w0="$run_start" -v w1="$(date +%s.%N)" -v c="$cpu_now" \
    'BEGIN { printf "%-34s %8.0f s wall %8.0f s CPU", "All stages", w1 - w0, c }')"
echo "== Times"
printf '%s' "$stage_table"
echo "$total"

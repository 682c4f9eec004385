#!/usr/bin/env bash
# Installs what is missing, builds and runs every test:
#   0. the layout of every C and C++ file against .clang-format,
#   1. the Windows cross-build and its export-ordinal check (where MinGW is there),
#   2. the thread tests under ThreadSanitizer,
#   3. every test under AddressSanitizer and UndefinedBehaviorSanitizer,
#   4. the fault soak: transfers through the ASan build of zelo32 and
#      zelo-termsim under seeded line faults (about 3 minutes),
#   5. the libFuzzer targets, about 15 s each, with clang,
#   6. an optimised Release build of everything with warnings as errors (the
#      optimiser warns where a debug build does not), and the Debian package
#      made from it: contents, lintian, its programs and C header at work
#      from a scratch root.
#   7. the Windows build's tests and zelo32.exe end to end under 64-bit Wine
#      (where Wine is there), against the simulator built in step 3.
# Warnings are errors. Usage: scripts/test.sh
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
jobs="$(nproc 2>/dev/null || echo 2)"

bash scripts/bootstrap.sh

configure() {  # build-dir, extra cmake arguments (a later build type wins)...
    local dir="$1"
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZELO_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
}

echo "== Layout of the sources (.clang-format)"
bash scripts/check_format.sh

echo "== Windows cross-build"
bash scripts/check_windows_exports.sh build/ci-mingw

echo "== ThreadSanitizer: thread tests"
configure build/ci-tsan -DZELO_SANITIZE=thread
ctest --test-dir build/ci-tsan -L thread --output-on-failure -j "$jobs"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer: every test"
configure build/ci-asan -DZELO_SANITIZE=address
ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/ci-asan --output-on-failure -j "$jobs"

echo "== Fault soak: every transfer byte-identical or a reported failure"
bash scripts/soak.sh --bin build/ci-asan/bin --seeds "1 2" --sizes-per-line 2 --seconds 180

echo "== Fuzzing"
bash scripts/fuzz.sh 15

echo "== Release build (warnings of the optimiser) and the Debian package"
bash scripts/check_package.sh build/ci-package

echo "== Windows programs under Wine"
TERMSIM="$root/build/ci-asan/bin/zelo-termsim" bash scripts/wine_tests.sh build/ci-wine

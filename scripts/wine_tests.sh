#!/usr/bin/env bash
# Builds the Windows programs for x86_64 with MinGW-w64 and runs them under
# 64-bit Wine: the link layer's tests (its serial driver on a COM port that
# Wine maps to a pseudo-terminal), the library's tests with the fake link
# layer, the C header test, the ordinal-binding test, the program's platform
# layer on real files, and zelo32.exe end to
# end against the simulator (zelo-termsim, a Linux program: TERMSIM names a
# built one, else it is built here). The shipped build is 32-bit; these
# machines cannot run 32-bit code, so the same sources are tested as 64-bit.
# Prints the number of tests run.
# Usage: [TERMSIM=path] scripts/wine_tests.sh [build-dir]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(mkdir -p "${1:-$root/build/wine64}" && cd "${1:-$root/build/wine64}" && pwd)"
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

if [[ ! -x "$wine" ]] || ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
    echo "wine tests: skipped (wine64 or g++-mingw-w64-x86-64 is not installed)"
    exit 0
fi

# Every wait below is bounded; this is the longest any one program may run.
readonly PROGRAM_LIMIT_SECONDS=120

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZELO_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake" \
    -DZELO_BUILD_BENCH=OFF -DZELO_BUILD_APP=ON >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target pendra_tests zelodll_tests \
    zelodll_thread_tests c_api_test ordinal_binding_test zelo_app_platform_tests zelo32
if [[ -z "${TERMSIM:-}" ]]; then
    cmake -S "$root" -B "$build/host" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELO_BUILD_TESTS=OFF \
        -DZELO_BUILD_BENCH=OFF -DZELO_BUILD_APP=OFF >/dev/null
    cmake --build "$build/host" -j "$(nproc 2>/dev/null || echo 2)" --target zelo-termsim
    TERMSIM="$build/host/bin/zelo-termsim"
fi

export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unix_to_wine() { printf 'Z:%s' "${1//\//\\}"; }
WINEPATH="$(unix_to_wine "$build/bin")"
export WINEPATH

peer_pid=""
cleanup() {
    if [[ -n "$peer_pid" ]]; then
        kill -TERM "$peer_pid" 2>/dev/null || true
        wait "$peer_pid" 2>/dev/null || true
    fi
    "$wineserver" -k >/dev/null 2>&1 || true
}
trap cleanup EXIT

# Wine's programs inherit the output of the first one that starts the
# server; output goes to files so that no pipe is held open by them.
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "wine tests: making the Wine prefix (once, ~15 s)"
    timeout 300 "$wine" wineboot -i >"$build/wineboot.log" 2>&1 </dev/null
fi
"$wineserver" -k >/dev/null 2>&1 || true

# Wine's COM1 is a link in the build folder, named once in Wine's registry
# (read when the server starts); the link is then pointed at whichever
# pseudo-terminal plays the far end: first the echoing line_peer, then each
# end-to-end case's simulator.
com1_link="$build/com1"
cc -std=c11 -O1 -Wall -Wextra -Werror -o "$build/line_peer" "$root/pendra/tests/wine/line_peer.c"
rm -f "$build/line_peer.path"
"$build/line_peer" "$build/line_peer.path" >"$build/line_peer.log" 2>&1 &
peer_pid=$!
for _ in $(seq 100); do
    [[ -s "$build/line_peer.path" ]] && break
    sleep 0.05
done
[[ -s "$build/line_peer.path" ]] || { echo "wine tests: line_peer did not start" >&2; exit 1; }
ln -sfn "$(cat "$build/line_peer.path")" "$com1_link"
timeout 60 "$wine" reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$com1_link" /f \
    >"$build/reg.log" 2>&1 </dev/null
"$wineserver" -k
"$wineserver" -p >"$build/wineserver.log" 2>&1 </dev/null

total=0
failed=0
# run_program FOLDER PROGRAM [VARIABLE=VALUE...]: one test program under
# Wine; gtest programs add their count of tests, others count as one.
run_program() {
    local folder="$1" program="$2" log="$build/wine-$2.log"
    shift 2
    local status=0
    env "$@" timeout "$PROGRAM_LIMIT_SECONDS" "$wine" "$folder/$program.exe" >"$log" 2>&1 \
        </dev/null || status=$?
    local count
    count="$(sed -nE 's/^\[==========\] ([0-9]+) tests? from .* ran\..*/\1/p' "$log" | tail -1)"
    total=$((total + ${count:-1}))
    if [[ $status -ne 0 ]]; then
        failed=$((failed + 1))
        echo "wine tests: $program failed (status $status):" >&2
        grep -vE '^\[ +(OK|RUN) +\]' "$log" | tail -40 >&2
    else
        echo "wine tests: $program passed (${count:-1})"
    fi
}

run_program "$build/bin" pendra_tests ZELO_TEST_PORT=COM1
run_program "$build/fake_pendra" zelodll_tests
run_program "$build/fake_pendra" zelodll_thread_tests
run_program "$build/fake_pendra" c_api_test
run_program "$build/fake_pendra" ordinal_binding_test
run_program "$build/bin" zelo_app_platform_tests

# zelo32.exe end to end: the end-to-end cases of the Linux program, with
# zelo32 run under Wine and Wine's COM1 pointed at each case's simulator.
kill -TERM "$peer_pid" 2>/dev/null || true
wait "$peer_pid" 2>/dev/null || true
peer_pid=""
cases="$root/app/headless/tests/end_to_end"
for script in command_line_cases.sh batch_cases.sh windows_cases.sh; do
    log="$build/wine-${script%.sh}.log"
    status=0
    ZELO32="$cases/wine_zelo32.sh" WINE_ZELO32="$build/bin/zelo32.exe" WINE_COM1_LINK="$com1_link" \
        TERMSIM="$TERMSIM" WORK_ROOT="$build/end_to_end/${script%.sh}" \
        timeout 600 bash "$cases/$script" >"$log" 2>&1 </dev/null || status=$?
    count="$(grep -c '^begin_case ' "$cases/$script")"
    total=$((total + count))
    if [[ $status -ne 0 ]]; then
        failed=$((failed + 1))
        echo "wine tests: zelo32.exe $script failed (status $status):" >&2
        tail -60 "$log" >&2
    else
        echo "wine tests: zelo32.exe $script passed ($count cases)"
    fi
done

if ((failed > 0)); then
    echo "wine tests: $failed program(s) failed, $total tests run" >&2
    exit 1
fi
echo "wine tests: $total tests run under Wine, all passed"

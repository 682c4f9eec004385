#!/usr/bin/env bash
# The program's main job against the terminal-line simulator, on a machine
# without terminals or a display:
#   1. installs what is missing to build and run it (not the test tools) and
#      builds (release),
#   2. starts zelo-termsim with terminals A and B, which hold a sample file
#      and poll records, on a pseudo-terminal that COM1 is pointed at,
#   3. runs the batch script scripts/demo/demo.zsc with zelo32: a download to
#      both terminals, an upload from A, clock synchronisation and a poll
#      that ends by itself,
#   4. shows the result lines, the uploaded file and the polled data.
# Usage: scripts/demo.sh [work-folder]   (default: a new folder under /tmp)
#
# scripts/demo.sh --desktop [work-folder] shows the desktop program instead:
# zelo32 with its window downloads PRICES.DAT to three simulated terminals
# (A, B, C) and closes by itself. On a display (DISPLAY or WAYLAND_DISPLAY)
# the window opens there; without one it runs under Xvfb and the screen,
# taken during the download with both output windows shown, is saved as
# desktop.png in the work folder.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
desktop=0
if [[ "${1:-}" == "--desktop" ]]; then
    desktop=1
    shift
fi
run="${1:-$(mktemp -d /tmp/zelo-demo.XXXXXX)}"
if [[ $desktop -eq 1 ]]; then
    bash "$root/scripts/bootstrap.sh" --for desktop-demo
else
    bash "$root/scripts/bootstrap.sh" --for demo
fi
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DZELO_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build/release" -j "$(nproc 2>/dev/null || echo 2)" --target zelo32 zelo-termsim >/dev/null
bin="$root/build/release/bin"

if [[ $desktop -eq 1 ]]; then
    e2e="$root/app/desktop/tests/end_to_end"
    if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
        # On the user's display: the same run, watched rather than captured.
        export ZELO32="$bin/zelo32" TERMSIM="$bin/zelo-termsim" WORK_ROOT="$run/desktop"
        exec bash "$e2e/desktop_download.sh" --on-this-display
    fi
    echo "== zelo32 ABC L PRICES.DAT PRICES.DAT with its window, under Xvfb, in $run/desktop"
    SCREENSHOT="$run/desktop.png" ZELO32="$bin/zelo32" TERMSIM="$bin/zelo-termsim" \
        WORK_ROOT="$run/desktop" bash "$e2e/desktop_download.sh"
    echo "== the screen during the download: $run/desktop.png"
    exit 0
fi

mkdir -p "$run/sim/A/ram" "$run/sim/B/ram"
cp "$root/scripts/demo/Zelocom.ini" "$root/scripts/demo/demo.zsc" "$run/"
printf 'ITEM-001;1.20\r\nITEM-002;3.45\r\nITEM-003;0.99\r\n' >"$run/PRICES.DAT"
printf '4901234567894;2\r\n4909876543210;1\r\n' >"$run/sim/A/ram/SALES.DAT"
printf 'A-0001 4901234567894\r\nA-0002 4909876543210\r\n' >"$run/sim/A/records.txt"
printf 'B-0001 4900000000017\r\n' >"$run/sim/B/records.txt"

echo "== starting the simulator (terminals A and B) in $run"
"$bin/zelo-termsim" --baud 9600 --link "$run/line" --dump-state "$run/sim/state.json" \
    -t "A:model=Brisa,ram=$run/sim/A/ram,records=$run/sim/A/records.txt,record_end=crlf" \
    -t "B:model=Brisa,ram=$run/sim/B/ram,records=$run/sim/B/records.txt,record_end=crlf" \
    >"$run/sim/termsim.log" 2>&1 &
sim=$!
trap 'kill $sim 2>/dev/null || true; wait $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do [[ -e "$run/line" ]] && break; sleep 0.1; done
[[ -e "$run/line" ]] || { cat "$run/sim/termsim.log"; exit 1; }

echo "== zelo32 Z demo.zsc"
status=0
(cd "$run" && PENDRA_PORT1="$run/line" timeout 120 "$bin/zelo32" Z demo.zsc) || status=$?

echo "== uploaded from terminal A: $run/SALES.DAT"
cat "$run/SALES.DAT" 2>/dev/null || echo "(none)"
echo "== polled data: $run/POLL.DAT"
cat "$run/POLL.DAT" 2>/dev/null || echo "(none)"
echo
echo "== downloaded to terminal B: $(cmp -s "$run/PRICES.DAT" "$run/sim/B/ram/PRICES.DAT" &&
    echo identical || echo MISSING)"
echo "zelo32 exit status: $status"
exit "$status"

#!/usr/bin/env bash
# The program's main job against the terminal-line simulator: start a
# simulated line of terminals, run Zelo32 headless against it, and show the
# result lines. Usage: scripts/demo.sh
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/bootstrap.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELO_BUILD_TESTS=OFF >/dev/null
cmake --build build/release

cat <<'TEXT'
The terminal command library and its link interface are built (build/release/lib).
Once the simulator and the program exist, this command will:
  1. start zelo-termsim with three terminals (A, B, C) on a pseudo-terminal,
  2. point COM1 at it and run Zelo32 headless: download a file to every terminal,
     upload it back, poll the records and write the result lines,
  3. print the Message Window lines and the files received under ADDR_x.
TEXT

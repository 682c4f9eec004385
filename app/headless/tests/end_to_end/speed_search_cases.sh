#!/usr/bin/env bash
# zelo32 with AutoBaudRate: the speed search against a terminal that hears
# only one speed.
set -euo pipefail
# shellcheck source=harness.sh
source "$(dirname "$0")/harness.sh"

# The configured 9600 finds no terminal; the search tries the speeds from
# the highest down and finds the terminal at 38400, opens the line there,
# sets the clock, and saves the speed it found.
begin_case found_at_38400
sed -i 's/^AutoBaudRate=0/AutoBaudRate=1/' "$case_dir/Zelocom.ini"
start_simulator A --baud=38400 --fixed-speed
run_zelo32 A M
expect_status 0
expect_line_matching '^  Open COM1 at 38400bps$'
expect_line_matching '^A Time Sync\. [0-9]{14} Successfully$'
grep -q '^BaudRate=38400' "$case_dir/Zelocom.ini" ||
    fail "the found speed was not saved: $(grep BaudRate "$case_dir/Zelocom.ini")"
grep -q '^AutoBaudRate=1' "$case_dir/Zelocom.ini" || fail "AutoBaudRate changed"

# Without the search, the terminal at 38400 is not heard at 9600: the line
# cannot be opened and nothing is saved.
begin_case not_found_without_search
start_simulator A --baud=38400 --fixed-speed
run_zelo32 A M
expect_status 1
expect_line_matching '^  COM1 open error at 9600bps'
grep -q '^BaudRate=9600' "$case_dir/Zelocom.ini" || fail "the speed changed"
expect_state A .clock ""

finish

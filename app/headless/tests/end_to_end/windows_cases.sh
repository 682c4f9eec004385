#!/usr/bin/env bash
# What only the Windows build can get wrong, run with zelo32.exe under Wine
# (ZELO32 is wine_zelo32.sh): the speed the serial driver sets, text files
# kept byte for byte, and a port that another zelo32 holds.
set -euo pipefail
# shellcheck source=harness.sh
source "$(dirname "$0")/harness.sh"

# The speed of the configuration reaches the device: the pseudo-terminal's
# own settings say so after the run.
begin_case line_speed_reaches_the_device
sed -i 's/^BaudRate=9600/BaudRate=19200/' "$case_dir/Zelocom.ini"
start_simulator A --baud=19200
run_zelo32 A M
expect_status 0
expect_line_matching '^  Open COM1 at 19200bps$'
expect_line_matching '^A Time Sync\. [0-9]{14} Successfully$'
speed="$(stty -F "$(readlink -f "$case_dir/line")" speed)"
[[ "$speed" == 19200 ]] || fail "the line runs at $speed baud, not 19200"

# Text goes both ways unchanged: CR LF, a lone LF and the old end-of-file
# mark are bytes like any other.
begin_case text_round_trip
start_simulator A
printf 'LINE 1\r\nLINE 2\nLAST\r\n\032tail' >"$case_dir/TEXT.TXT"
run_zelo32 A L TEXT.TXT ITEMS.TXT
expect_status 0
expect_lines "  Open COM1 at 9600bps" "A Download  TEXT.TXT Successfully" "  Close COM port"
cmp -s "$case_dir/TEXT.TXT" "$case_dir/sim/A/ram/ITEMS.TXT" || fail "the download differs"
run_zelo32 A U ITEMS.TXT BACK.TXT
expect_status 0
cmp -s "$case_dir/TEXT.TXT" "$case_dir/BACK.TXT" || fail "the upload differs"

# A port held by one zelo32 is refused to a second, which says so and ends;
# the first goes on and stops when told.
begin_case port_in_use
start_simulator A:generate_records=100000
start_zelo32 A 1
first_pid="$zelo32_pid"
first_stdout="$case_dir/stdout.first"
if wait_for_state A '.pollRecordsDelivered > 0'; then
    mv "$case_dir/stdout" "$first_stdout"
    run_zelo32 A M
    expect_status 1
    expect_line_matching 'COM1 open error'
    expect_state A .clock ""
fi
kill -INT "$first_pid" 2>/dev/null || true
zelo32_pid="$first_pid"
wait_for_zelo32 10
result_lines_of "$first_stdout"
expect_line_matching '^  Open COM1 at 9600bps$'

finish

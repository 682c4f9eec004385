#!/usr/bin/env bash
# zelo32 Z SCRIPT: batch scripts against simulated terminals on COM1.
set -euo pipefail
# shellcheck source=harness.sh
source "$(dirname "$0")/harness.sh"

# Each line runs for its own addresses, one after the other, on one line.
begin_case two_lines
printf 'A-0001\r\nA-0002\r\n' >"$case_dir/records.txt"
start_simulator "A:records=$case_dir/records.txt" B
printf 'A 1\nAB M\n' >"$case_dir/two.zsc"
run_zelo32 Z two.zsc
expect_status 0
expect_state A .pollRecordsDelivered 2
expect_line_matching '^A Time Sync\. [0-9]{14} Successfully$'
expect_line_matching '^B Time Sync\. [0-9]{14} Successfully$'
[[ "$(cat "$case_dir/POLL.DAT")" == "$(printf 'A A-0001\r\nA A-0002\r')" ]] ||
    fail "POLL.DAT holds: $(od -c "$case_dir/POLL.DAT")"

# A script's command characters are taken as written: "m" is no command, so
# its line is skipped without a word and the run's status is the other lines'.
begin_case lower_case_command_character
start_simulator A B
printf 'B M\nA m\n' >"$case_dir/lower.zsc"
run_zelo32 Z lower.zsc
expect_status 0
expect_lines "  Open COM1 at 9600bps" "B Time Sync. $(state B .clock) Successfully" "  Close COM port"
[[ "$(state B .clock)" =~ ^[0-9]{14}$ ]] || fail "terminal B clock is '$(state B .clock)'"
expect_state A .clock ""

# A line is read 99 characters at a time; the rest of a longer line is a line
# of its own. Here the first 99 characters download to A and the other 51 to B.
begin_case line_of_150_characters
start_simulator A B
printf 'price list\r\n' >"$case_dir/SRC.DAT"
first="A L $(printf './%.0s' $(seq 41))SRC.DAT T.DAT"
second="B L $(printf './%.0s' $(seq 17))SRC.DAT U.DAT"
((${#first} == 99 && ${#second} == 51)) || fail "the line's pieces are ${#first} and ${#second}"
printf '%s%s\n' "$first" "$second" >"$case_dir/long.zsc"
run_zelo32 Z long.zsc
expect_status 0
cmp -s "$case_dir/SRC.DAT" "$case_dir/sim/A/ram/T.DAT" || fail "T.DAT did not reach A whole"
cmp -s "$case_dir/SRC.DAT" "$case_dir/sim/B/ram/U.DAT" || fail "U.DAT did not reach B whole"
expect_state A '.filesReceived | join(",")' T.DAT
expect_state B '.filesReceived | join(",")' U.DAT

begin_case missing_script
start_simulator A
run_zelo32 Z missing.zsc
expect_status 2
grep -q "Can't found this file missing.zsc !" "$case_dir/stderr" ||
    fail "stderr: $(cat "$case_dir/stderr")"
grep -q '^AUTO_EXIT=Yes' "$case_dir/Zelocom.ini" || fail "AUTO_EXIT changed in Zelocom.ini"

# Stop (SIGINT) during the second of three lines: the poll ends, the third
# line never runs, and the run ends with the stop's result line and the
# status of a Ctrl-C (130).
begin_case stop_during_second_line
start_simulator A:generate_records=100000 B
printf 'A M\nA 1\nB M\n' >"$case_dir/three.zsc"
start_zelo32 Z three.zsc
if wait_for_state A '.pollRecordsDelivered > 0'; then
    kill -INT "$zelo32_pid"
fi
wait_for_zelo32 10
expect_status 130
expect_line_matching '^   Stop communication$'
[[ "$(state A .clock)" =~ ^[0-9]{14}$ ]] || fail "the first line did not run"
expect_state B .clock ""
grep -q '^Address=AB' "$case_dir/Zelocom.ini" || fail "the configured addresses were not kept"

finish

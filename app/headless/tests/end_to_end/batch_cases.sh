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

# A line longer than 99 characters is refused whole, with its line number:
# cutting it would run its tail as a command of its own (here, RUNME on A).
# The lines around it still run, and the run ends as a usage error.
begin_case line_over_99_characters_refused
start_simulator A B
printf 'price list\r\n' >"$case_dir/SRC.DAT"
long="A L $(printf 'x%.0s' $(seq 95)) A X RUNME"
printf 'B L SRC.DAT U.DAT\n%s\r\n' "$long" >"$case_dir/long.zsc"
run_zelo32 Z long.zsc
expect_status 2
grep -q "Script line 2 is longer than 99 characters; nothing of it was run." "$case_dir/stderr" ||
    fail "stderr: $(cat "$case_dir/stderr")"
expect_state A .runningProgram ""
expect_state A '.filesReceived | join(",")' ""
cmp -s "$case_dir/SRC.DAT" "$case_dir/sim/B/ram/U.DAT" || fail "line 1 did not run"

# Exactly 99 characters still fit, line end (CR LF) not counted.
begin_case line_of_99_characters
start_simulator A
printf 'price list\r\n' >"$case_dir/SRC.DAT"
line="A L $(printf './%.0s' $(seq 41))SRC.DAT T.DAT"
((${#line} == 99)) || fail "the line is ${#line} characters"
printf '%s\r\n' "$line" >"$case_dir/fits.zsc"
run_zelo32 Z fits.zsc
expect_status 0
cmp -s "$case_dir/SRC.DAT" "$case_dir/sim/A/ram/T.DAT" || fail "T.DAT did not reach A whole"

# Only a regular file is read as a script: a device, a folder or a pipe in
# its place ends the run at once with a message and status 2.
for script in /dev/zero folder.zsc pipe.zsc; do
    begin_case "script_not_a_regular_file_${script//\//_}"
    mkdir "$case_dir/folder.zsc"
    mkfifo "$case_dir/pipe.zsc"
    run_zelo32 Z "$script"
    expect_status 2
    grep -q "Can't read the script $script: it is not a regular file" "$case_dir/stderr" ||
        fail "stderr: $(cat "$case_dir/stderr")"
done

# The same for the configuration file: a pipe named Zelocom.ini would block
# the start for ever.
begin_case configuration_is_a_pipe
rm "$case_dir/Zelocom.ini"
mkfifo "$case_dir/Zelocom.ini"
run_zelo32 A M
expect_status 2
grep -q "Zelocom.ini: it is not a regular file" "$case_dir/stderr" ||
    fail "stderr: $(cat "$case_dir/stderr")"

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

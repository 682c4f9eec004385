#!/usr/bin/env bash
# What the operator is told beside the result lines: why the line did not
# open, the progress of a transfer on a terminal, and the program's options.
# The result lines themselves stay exactly as they were.
set -euo pipefail
# shellcheck source=harness.sh
source "$(dirname "$0")/harness.sh"

expect_stderr() {  # REGEX: standard error has a line matching it
    grep -Eq -- "$1" "$case_dir/stderr" || fail "standard error lacks '$1'; it holds:
$(cat "$case_dir/stderr")"
}
expect_open_error_lines() {
    expect_status 1
    expect_lines "  COM1 open error at 9600bps" "  COM1 open error"
}

# Each reason the line does not open has its own sentence with the device.
begin_case missing_device
run_zelo32 --port "$case_dir/ttyNOSUCH" A M
expect_open_error_lines
expect_stderr "^zelo32: $case_dir/ttyNOSUCH: no such device$"

begin_case plain_file_is_no_serial_device
: >"$case_dir/plain"
run_zelo32 --port "$case_dir/plain" A M
expect_open_error_lines
expect_stderr "^zelo32: $case_dir/plain: not a serial device$"

begin_case port_locked_by_another_program
start_simulator A
line_name="$(readlink -f "$case_dir/line")"
line_name="${line_name#/dev/}"
printf '%10d\n' "$sim_pid" >"$case_dir/locks/LCK..${line_name//\//_}"
run_zelo32 A M
expect_open_error_lines
expect_stderr "in use by another program \\(process $sim_pid\\)$"
expect_state A .clock ""

# Every listed terminal must answer; the one that did not is named.
begin_case silent_terminal_is_named
start_simulator A
run_zelo32 AC M
expect_open_error_lines
expect_stderr "^zelo32: COM1 opened, but terminal C did not answer at 9600 bps"

# Run as a user who may not open the device (as root, "nobody" stands in).
begin_case permission_denied_names_the_dialout_group
start_simulator A
chmod 0777 "$case_dir" "$case_dir/locks"
chmod 0666 "$case_dir/Zelocom.ini"
if [[ "$(id -u)" == 0 ]]; then
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    chmod 0600 "$(readlink -f "$case_dir/line")"
else
    as_user=()
    chmod 0000 "$(readlink -f "$case_dir/line")"
fi
(cd "$case_dir" && PENDRA_PORT1="$case_dir/line" PENDRA_LOCK_DIR="$case_dir/locks" \
    timeout "$RUN_LIMIT_SECONDS" "${as_user[@]}" "$ZELO32" A M \
    >"$case_dir/stdout" 2>"$case_dir/stderr") && run_status=0 || run_status=$?
result_lines_of "$case_dir/stdout"
expect_open_error_lines
expect_stderr "permission denied \\(join the dialout group"

# --port names this run's device in place of PENDRA_PORT1.
begin_case port_option_overrides_the_environment
start_simulator A
(cd "$case_dir" && PENDRA_PORT1=/dev/ttyNOSUCH PENDRA_ANSWER_MS=400 \
    PENDRA_LOCK_DIR="$case_dir/locks" timeout "$RUN_LIMIT_SECONDS" "$ZELO32" \
    --port "$case_dir/line" A M >"$case_dir/stdout" 2>"$case_dir/stderr") &&
    run_status=0 || run_status=$?
result_lines_of "$case_dir/stdout"
expect_status 0
[[ "$(state A .clock)" =~ ^[0-9]{14}$ ]] || fail "the clock was not set"

# -C runs in another folder: its Zelocom.ini and its polled-data file.
begin_case directory_option
printf 'A-0001\r\n' >"$case_dir/records.txt"
start_simulator "A:records=$case_dir/records.txt"
(cd / && PENDRA_PORT1="$case_dir/line" PENDRA_ANSWER_MS=400 PENDRA_LOCK_DIR="$case_dir/locks" \
    timeout "$RUN_LIMIT_SECONDS" "$ZELO32" -C "$case_dir" A 1 \
    >"$case_dir/stdout" 2>"$case_dir/stderr") && run_status=0 || run_status=$?
expect_status 0
[[ "$(cat "$case_dir/POLL.DAT")" == "$(printf 'A A-0001\r')" ]] ||
    fail "POLL.DAT in the -C folder holds: $(cat "$case_dir/POLL.DAT" 2>&1)"

begin_case version_and_usage
run_zelo32 --version
expect_status 0
grep -Eq '^zelo32 [0-9]+\.[0-9]+\.[0-9]+$' "$case_dir/stdout" || fail "version: $(cat "$case_dir/stdout")"
grep -q '^libzelodll 19$' "$case_dir/stdout" || fail "library version: $(cat "$case_dir/stdout")"
run_zelo32 --frobnicate A 1
expect_status 2
[[ "$(cat "$case_dir/stderr")" == "zelo32: unknown option --frobnicate.
Try 'zelo32 --help' for more information." ]] || fail "usage error: $(cat "$case_dir/stderr")"

# On a terminal a download shows its progress and ends with its size and
# time; into a file (the other cases) nothing of it appears.
begin_case progress_line_on_a_terminal
head -c 3000 /dev/urandom >"$case_dir/SENT.BIN"
start_simulator A
command="$(printf '%q ' env PENDRA_PORT1="$case_dir/line" PENDRA_ANSWER_MS=400 \
    PENDRA_LOCK_DIR="$case_dir/locks" "$ZELO32" A L SENT.BIN PRICE.BIN)"
(cd "$case_dir" && timeout "$RUN_LIMIT_SECONDS" script -qefc "$command 2>&1" /dev/null \
    >"$case_dir/terminal" </dev/null) && run_status=0 || run_status=$?
expect_status 0
grep -aEq 'A SENT\.BIN  [0-9]+/3000 bytes  [0-9]+%' "$case_dir/terminal" ||
    fail "no progress line: $(od -c "$case_dir/terminal" | head -20)"
grep -aEq 'A SENT\.BIN  3000 bytes in [0-9]+:[0-9]{2}' "$case_dir/terminal" ||
    fail "no closing line: $(od -c "$case_dir/terminal" | head -20)"
cmp -s "$case_dir/SENT.BIN" "$case_dir/sim/A/ram/PRICE.BIN" || fail "the download differs"
run_zelo32 A L SENT.BIN PRICE.BIN
expect_status 0
grep -q 'bytes' "$case_dir/stderr" && fail "a progress line went into a file: $(cat "$case_dir/stderr")"
run_zelo32 --quiet A L SENT.BIN PRICE.BIN
expect_status 0
[[ -s "$case_dir/stderr" ]] && fail "--quiet still wrote: $(cat "$case_dir/stderr")"

# A script line that cannot run is named with its line number and skipped;
# the lines around it run.
begin_case skipped_script_lines_are_named
start_simulator A
printf 'A m\nA E\nA M\n' >"$case_dir/lines.zsc"
run_zelo32 Z lines.zsc
expect_status 0
expect_stderr '^zelo32: lines.zsc, line 1: unknown command character "m"; line skipped$'
expect_stderr '^zelo32: lines.zsc, line 2: too few parts for command E; line skipped$'
[[ "$(state A .clock)" =~ ^[0-9]{14}$ ]] || fail "the third line did not run"

# A polled-data file that cannot be opened fails the run, and says why.
begin_case poll_file_cannot_be_opened
printf 'A-0001\r\n' >"$case_dir/records.txt"
start_simulator "A:records=$case_dir/records.txt"
sed -i 's|^File_Name=POLL.DAT|File_Name=missing/POLL.DAT|' "$case_dir/Zelocom.ini"
run_zelo32 A 1
expect_status 1
expect_stderr '^zelo32: missing/POLL.DAT: cannot open for the polled records: No such file or directory$'
expect_stderr '^zelo32: Poll Data file open error$'

# A transfer whose local file fails keeps its result line, and says beside it
# which file and the system's reason (below a regular file nothing can be
# made or opened, whoever runs the test).
begin_case local_file_of_a_transfer_fails
start_simulator A
printf 'LOG\r\n' >"$case_dir/sim/A/ram/LOG.DAT"
: >"$case_dir/file.txt"
run_zelo32 A U LOG.DAT file.txt/sub/OUT.DAT
expect_status 1
expect_lines "  Open COM1 at 9600bps" "A Upload  LOG.DAT File open error" "  Close COM port"
expect_stderr '^zelo32: file.txt/sub/OUT.DAT: cannot open for writing: Not a directory$'
run_zelo32 A L file.txt/sub/IN.DAT IN.DAT
expect_status 1
expect_stderr '^zelo32: file.txt/sub/IN.DAT: cannot open for reading: Not a directory$'

# A value the loader replaces is named with file and line; the run goes on.
begin_case unreadable_configuration_value
start_simulator A
sed -i 's|^BaudRate=9600|BaudRate=9600\nParity=MAYBE|' "$case_dir/Zelocom.ini"
run_zelo32 A M
expect_status 0
expect_stderr '^zelo32: Zelocom.ini:4: Parity=MAYBE is not one of its choices; NONE is used$'

# --verbose shows the link's steps, which are otherwise only in the trace.
begin_case verbose_shows_the_link_steps
start_simulator A
run_zelo32 --verbose A M
expect_status 0
expect_stderr 'opened .* at 9600 baud'

# The simulator's log names every request and reply in words.
begin_case simulator_log_in_words
start_simulator A "--log=$case_dir/sim/requests.log"
run_zelo32 A M
expect_status 0
grep -Eq '  A  set clock "M[0-9]{14}" -> 4 done$' "$case_dir/sim/requests.log" ||
    fail "log: $(cat "$case_dir/sim/requests.log")"

# The sample configuration of docs/simulator.md starts the simulator as printed.
begin_case documented_simulator_sample
guide="$(dirname "$0")/../../../../docs/simulator.md"
awk '/^## /{inside = ($0 == "## Configuration file")} inside && /^    /{block = 1; print substr($0, 5); next}
     inside && block && NF {exit} inside && block {print ""}' "$guide" >"$case_dir/sim/line.ini"
grep -q '^\[terminal A\]' "$case_dir/sim/line.ini" || fail "no sample in $guide"
printf 'A-0001\r\n' >"$case_dir/sim/polls.txt"
(cd "$case_dir/sim" && exec "$TERMSIM" -c line.ini --link "$case_dir/line" >termsim.log 2>&1) &
sim_pid=$!
for _ in $(seq 100); do
    [[ -e "$case_dir/line" ]] && break
    kill -0 "$sim_pid" 2>/dev/null || break
    sleep 0.05
done
[[ -e "$case_dir/line" ]] || fail "the documented sample did not start: $(cat "$case_dir/sim/termsim.log")"
[[ -d "$case_dir/sim/simA/ram" && -d "$case_dir/sim/simB/ems" ]] || fail "the sample's folders are missing"
[[ -e "$case_dir/sim/termsim-A" ]] && fail "a folder the options did not name was made"
stop_simulator

finish

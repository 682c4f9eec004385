#!/usr/bin/env bash
# The command-line forms of zelo32 against simulated terminals on COM1.
set -euo pipefail
# shellcheck source=harness.sh
source "$(dirname "$0")/harness.sh"

# A poll ends by itself once the terminal has had nothing for a while, and the
# polled-data file holds each record once, behind its terminal's address.
begin_case poll_until_no_data
printf 'A-0001 4901234567894\r\nA-0002 4909876543210\r\nA-0003 4900000000017\r\n' \
    >"$case_dir/records.txt"
start_simulator "A:records=$case_dir/records.txt"
run_zelo32 A 1
expect_status 0
expect_lines "  Open COM1 at 9600bps" "A Power-Saving off   Successfully" \
    "A Power-Saving on   Successfully" "  Close COM port"
expect_state A .pollRecordsDelivered 3
expect_state A .pollRecordsPending 0
[[ "$(cat "$case_dir/POLL.DAT")" == "$(printf 'A A-0001 4901234567894\r\nA A-0002 4909876543210\r\nA A-0003 4900000000017\r')" ]] ||
    fail "POLL.DAT holds: $(od -c "$case_dir/POLL.DAT")"
# The run's addresses are for this run only, never saved over the configured.
grep -q '^Address=AB' "$case_dir/Zelocom.ini" || fail "the configured addresses were replaced"

# Records longer than the library's 127-byte record buffer: the terminal has
# let each go once acknowledged, so what arrived is kept (on a line of its
# own) and the loss is reported, never passed over: a failure line each,
# the error log, status 1.
begin_case poll_records_longer_than_127_bytes
{
    printf '%s\r\n' "$(printf 'a%.0s' $(seq 198))"
    printf '%s\r\n' "$(printf 'b%.0s' $(seq 253))"
    printf 'short\r\n'
} >"$case_dir/records.txt"
start_simulator "A:records=$case_dir/records.txt,record_length=255"
run_zelo32 A 1
expect_status 1
expect_state A .pollRecordsDelivered 3
[[ "$(grep -c 'Poll record longer than 127 bytes; only its first 127 kept' <<<"$run_lines")" == 2 ]] ||
    fail "expected two failure lines; got: $run_lines"
[[ "$(grep -c 'Poll record longer than 127 bytes' "$case_dir/ERR_LOG.TXT")" == 2 ]] ||
    fail "ERR_LOG.TXT holds: $(cat "$case_dir/ERR_LOG.TXT")"
for letter in a b; do
    grep -qx "A $(head -c 127 /dev/zero | tr '\0' "$letter")"$'\r' "$case_dir/POLL.DAT" ||
        fail "POLL.DAT holds: $(od -c "$case_dir/POLL.DAT")"
done
grep -q "^A short" "$case_dir/POLL.DAT" || fail "the short record is missing"

# A lower-case address list is upper-cased like the command character.
begin_case lower_case_addresses_poll
printf 'A-0001\r\n' >"$case_dir/records.txt"
start_simulator "A:records=$case_dir/records.txt"
run_zelo32 a 1
expect_status 0
expect_state A .pollRecordsDelivered 1

begin_case clocks_of_two_terminals
start_simulator A B
run_zelo32 AB M
expect_status 0
expect_line_matching '^A Time Sync\. [0-9]{14} Successfully$'
expect_line_matching '^B Time Sync\. [0-9]{14} Successfully$'
for address in A B; do
    [[ "$(state "$address" .clock)" =~ ^[0-9]{14}$ ]] ||
        fail "terminal $address clock is '$(state "$address" .clock)'"
done

begin_case erase_a_file
start_simulator A
printf 'old\r\n' >"$case_dir/sim/A/ram/OLD.DAT"
printf 'keep\r\n' >"$case_dir/sim/A/ram/KEEP.DAT"
run_zelo32 A E OLD.DAT
expect_status 0
expect_lines "  Open COM1 at 9600bps" "A Purge  OLD.DAT Successfully" "  Close COM port"
[[ ! -e "$case_dir/sim/A/ram/OLD.DAT" ]] || fail "OLD.DAT is still on terminal A"
[[ -e "$case_dir/sim/A/ram/KEEP.DAT" ]] || fail "KEEP.DAT went from terminal A"
expect_state A '.filesDeleted | join(",")' OLD.DAT

begin_case erase_a_missing_file
start_simulator A
run_zelo32 A E NONE.DAT
expect_status 1
expect_lines "  Open COM1 at 9600bps" "A Purge  NONE.DAT doesn't exist" "  Close COM port"
expect_state A '.filesDeleted | length' 0

# Q is no command: nothing runs, so the terminal sees nothing at all.
begin_case unknown_command_character
start_simulator A
run_zelo32 A Q
expect_status 2
expect_lines ""
expect_state A .illegalRequests 0
expect_state A .clock ""

begin_case download_then_upload_round_trip
start_simulator A
head -c 1500 /dev/urandom >"$case_dir/SENT.BIN"
run_zelo32 A L SENT.BIN PRICE.BIN
expect_status 0
expect_lines "  Open COM1 at 9600bps" "A Download  SENT.BIN Successfully" "  Close COM port"
cmp -s "$case_dir/SENT.BIN" "$case_dir/sim/A/ram/PRICE.BIN" || fail "the download differs"
run_zelo32 A U PRICE.BIN BACK.BIN
expect_status 0
cmp -s "$case_dir/SENT.BIN" "$case_dir/BACK.BIN" || fail "the upload differs"
expect_state A '.filesSent | join(",")' PRICE.BIN

# A kill in the middle of an upload leaves the earlier file of that name as
# it was; the partial data is only in the temporary beside it, which the
# next upload of that name starts afresh and removes when it is done.
begin_case upload_killed_midway_keeps_the_earlier_file
start_simulator A
head -c 2000 /dev/urandom >"$case_dir/sim/A/ram/LOG.DAT"
printf 'EARLIER GOOD FILE\n' >"$case_dir/LOG.DAT"
cp "$case_dir/LOG.DAT" "$case_dir/EARLIER"
start_zelo32 A U LOG.DAT LOG.DAT
# Killed once a packet has landed, in the temporary or anywhere else.
for _ in $(seq 200); do
    [[ "$(cat "$case_dir"/LOG.DAT* | wc -c)" -ge $((18 + 255)) ]] && break
    sleep 0.05
done
kill -KILL "$zelo32_pid" 2>/dev/null || fail "zelo32 ended before it was killed"
wait "$zelo32_pid" 2>/dev/null || true
zelo32_pid=""
cmp -s "$case_dir/EARLIER" "$case_dir/LOG.DAT" || fail "the kill touched the earlier file"
run_zelo32 A U LOG.DAT LOG.DAT
expect_status 0
cmp -s "$case_dir/sim/A/ram/LOG.DAT" "$case_dir/LOG.DAT" || fail "the upload after the kill differs"
[[ ! -e "$case_dir/LOG.DAT.zelo-part" ]] || fail "a temporary was left behind"

# The line goes away in the middle of polling (the simulator ends, as an
# adapter pulled out): the run ends at once, says so, and keeps what it had.
begin_case poll_line_lost_ends_the_run
start_simulator A:generate_records=100000
start_zelo32 A 1
wait_for_state A '.pollRecordsDelivered > 0' || fail "no record was polled"
stop_simulator
wait_for_zelo32 20
expect_status 1
[[ "$(grep -cE '^A +Poll +Line lost' <<<"$run_lines")" == 1 ]] ||
    fail "expected one \"Line lost\" line, the run ending there; got: $run_lines"
[[ -s "$case_dir/POLL.DAT" ]] || fail "the records taken before the loss are gone"

# Every listed terminal must answer before the line counts as open, so one
# silent address among them keeps the command from running for any of them.
begin_case silent_address
start_simulator A
run_zelo32 AC M
expect_status 1
expect_lines "  COM1 open error at 9600bps" "  COM1 open error"
expect_state A .clock ""

finish

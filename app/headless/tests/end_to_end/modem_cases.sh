#!/usr/bin/env bash
# zelo32 with Use_modem=Yes: the first part of the command line is the number
# to dial through the simulator's Hayes modem.
set -euo pipefail
# shellcheck source=harness.sh
source "$(dirname "$0")/harness.sh"

begin_case dial_then_set_clock Use_modem=Yes
start_simulator --modem A
run_zelo32 5551234 A M
expect_status 0
expect_lines "  Open COM1 at 9600bps" "  Send initial command  ATS0=1" "  OK" \
    "  Dial phone no  5551234" "  CONNECT 9600" \
    "A Time Sync. $(state A .clock) Successfully" \
    "  Hang up" "     Send +++ATH  ret = 0" "  Close COM port"
[[ "$(jq -r .modem.lastNumber "$case_dir/sim/state.json")" == 5551234 ]] ||
    fail "the modem dialled '$(jq -r .modem.lastNumber "$case_dir/sim/state.json")'"
[[ "$(state A .clock)" =~ ^[0-9]{14}$ ]] || fail "terminal A clock is '$(state A .clock)'"

begin_case busy_line Use_modem=Yes
start_simulator --modem --modem-dial=BUSY A
run_zelo32 5551234 A M
expect_status 1
expect_line_matching '^  Fail$'
[[ "$(jq -r .modem.dials "$case_dir/sim/state.json")" == 1 ]] || fail "the modem was not dialled once"
expect_state A .clock ""

# A number longer than the 30 characters the dial number holds is refused
# whole: nothing is dialled with a cut number.
begin_case number_too_long Use_modem=Yes
start_simulator --modem A
run_zelo32 1234567890123456789012345678901 A M
expect_status 2
[[ "$(jq -r .modem.dials "$case_dir/sim/state.json")" == 0 ]] ||
    fail "the modem was dialled"

# Without the number the address takes its place and the command character
# becomes the address list: too few parts, nothing is dialled.
begin_case number_left_out Use_modem=Yes
start_simulator --modem A
run_zelo32 A M
expect_status 2
[[ "$(jq -r .modem.dials "$case_dir/sim/state.json")" == 0 ]] ||
    fail "the modem was dialled"

finish

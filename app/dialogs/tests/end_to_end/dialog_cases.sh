#!/usr/bin/env bash
# The table, address and dial commands as the dialogs start them, against
# zelo-termsim: each terminal must hold exactly the strings its family takes.
# ZELO32 is zelo-dialogs-driver here; the program's harness runs it.
set -euo pipefail
# shellcheck source=SCRIPTDIR/../../../headless/tests/end_to_end/harness.sh
source "$(dirname "$0")/../../../headless/tests/end_to_end/harness.sh"

# set_model NAME: the line's terminal model in the case's Zelocom.ini.
set_model() {
    sed -i "s/^Terminal_type=.*/Terminal_type=$1/" "$case_dir/Zelocom.ini"
}

ini_value() {  # KEY: its value in the case's Zelocom.ini, without a CR
    sed -n "s/^$1=//p" "$case_dir/Zelocom.ini" | tr -d '\r'
}

# One family of each layout: N/F letters with 6-character device tables, and
# E/D letters with 8-character ones.
tables_case() {  # MODEL BARCODE DEVICE COMM-A COMM-C
    begin_case "tables_$1"
    set_model "$1"
    start_simulator "A:model=$1" "B:model=$1"
    run_zelo32 tables
    expect_status 0
    expect_state A .barcodeTable "$2"
    expect_state A .deviceTable "$3"
    expect_state A .commTable "$4"
    # B became C, then took the communication table at its new address.
    expect_state C .barcodeTable "$2"
    expect_state C .deviceTable "$3"
    expect_state C .commTable "$5"
    [[ "$(jq '[.terminals[] | select(.address == "B")] | length' "$case_dir/sim/state.json")" == 0 ]] ||
        fail "a terminal still answers at B"
    [[ "$(ini_value Address)" == AC ]] || fail "Zelocom.ini holds Address=$(ini_value Address)"
    [[ "$(ini_value TERMINAL_TIMEOUT)" == 37 ]] ||
        fail "Zelocom.ini holds TERMINAL_TIMEOUT=$(ini_value TERMINAL_TIMEOUT)"
    expect_line_matching "^C Change address B to C +Successfully$"
}

tables_case Fenna FNNNFNNN AMNFK9 818EMA37 818EMC37
tables_case Corvo FEEEDEEE "AFN 9N5 " 818EFMA037 818EFMC037

# The dial dialog's first line in name order is Alpha, entry 2 of the book.
begin_case dial_from_phone_book Use_modem=Yes
cat >>"$case_dir/Zelocom.ini" <<INI
Modem_Phone_no001=5550001
Modem_Phone_name001=Zed
Modem_Phone_no002=5551234
Modem_Phone_name002=Alpha
INI
start_simulator --modem A B
run_zelo32 dial 0
expect_status 0
expect_line_matching "^  CONNECT 9600$"
expect_line_matching "^A Version +Brisa OS V5.30 2002-01-15 Successfully$"
# The stored line pads the number to 30 characters; the modem skips blanks.
[[ "$(jq -r '.modem.lastNumber | sub(" +$"; "")' "$case_dir/sim/state.json")" == 5551234 ]] ||
    fail "the modem dialled '$(jq -r .modem.lastNumber "$case_dir/sim/state.json")'"

finish

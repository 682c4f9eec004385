# Shared by the end-to-end cases: each case gets a fresh folder with a
# Zelocom.ini, a zelo-termsim playing its terminals on a pseudo-terminal, and
# one run of zelo32 pointed at it. Every wait is bounded, and the simulator is
# always ended and reaped, whatever a case does.
# Sourced by the case scripts, which run with ZELO32, TERMSIM and WORK_ROOT set.

: "${ZELO32:?path of zelo32}" "${TERMSIM:?path of zelo-termsim}" "${WORK_ROOT:?scratch folder}"
command -v jq >/dev/null || { echo "jq is needed to read the simulator's state dump" >&2; exit 1; }

# Longest a single zelo32 run may take before the case fails.
readonly RUN_LIMIT_SECONDS=30

failures=0
case_name=""
case_dir=""
sim_pid=""
zelo32_pid=""

fail() {
    echo "FAIL [$case_name]: $*" >&2
    failures=$((failures + 1))
}

stop_simulator() {
    [[ -n "$sim_pid" ]] || return 0
    kill -TERM "$sim_pid" 2>/dev/null || true
    local _
    for _ in $(seq 40); do
        kill -0 "$sim_pid" 2>/dev/null || break
        sleep 0.05
    done
    kill -KILL "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
    sim_pid=""
    expect_no_sanitizer_report "$case_dir/sim/termsim.log"
}
# A zelo32 left running by a case that ended early goes first, then the line.
stop_all() {
    if [[ -n "$zelo32_pid" ]]; then
        kill -KILL "$zelo32_pid" 2>/dev/null || true
        wait "$zelo32_pid" 2>/dev/null || true
        zelo32_pid=""
    fi
    stop_simulator
}
trap stop_all EXIT

# begin_case NAME: a fresh folder holding the settings every case shares.
# Extra "Section|Key=Value" lines may follow to change or add settings.
begin_case() {
    stop_simulator
    case_name="$1"
    shift
    case_dir="$WORK_ROOT/$case_name"
    rm -rf "$case_dir"
    mkdir -p "$case_dir/sim" "$case_dir/locks"
    local use_modem=No poll_period=ExistWhenPeriodNoData setting
    for setting in "$@"; do
        case "$setting" in
            Use_modem=*) use_modem="${setting#*=}" ;;
            Polling_Period=*) poll_period="${setting#*=}" ;;
            *) fail "begin_case: unknown setting $setting" ;;
        esac
    done
    cat >"$case_dir/Zelocom.ini" <<INI
[Communication]
Port=1
BaudRate=9600
DataBit=8
StopBit=1
Parity=NONE
Address=AB
Terminal_type=Brisa
AutoBaudRate=0
ErrorLog=New

[POWER]
Power_Saving=NO

[Multi_upload]
Upload_Save_Mode=Over-write
Upload_Loop=No

[POLL]
File_Name=POLL.DAT
Open_Method=New
Polling_Period=$poll_period
RePoll_NoData=1
Poll_Max_Wait_Time=1
Auto_Time_Sync=None

[COMMAND_LINE]
AUTO_EXIT=Yes
SHOW_ERROR_BOX=No

[Modem]
Use_modem=$use_modem
INI
}

# start_simulator ARGUMENT...: zelo-termsim on the case's line. An argument
# "A" or "A:KEY=VALUE,..." is a Brisa at address A whose RAM disk is
# sim/A/ram; anything starting with "-" goes to the simulator as it is.
start_simulator() {
    local argument address options=()
    for argument in "$@"; do
        if [[ "$argument" == -* ]]; then
            options+=("$argument")
            continue
        fi
        address="${argument%%:*}"
        mkdir -p "$case_dir/sim/$address/ram"
        options+=(-t "$address:model=Brisa,ram=$case_dir/sim/$address/ram")
        [[ "$argument" == *:* ]] && options+=(-t "$argument")
    done
    "$TERMSIM" --baud 9600 --link "$case_dir/line" --dump-state "$case_dir/sim/state.json" \
        "${options[@]}" >"$case_dir/sim/termsim.log" 2>&1 &
    sim_pid=$!
    local _
    for _ in $(seq 100); do
        [[ -e "$case_dir/line" && -s "$case_dir/sim/state.json" ]] && return 0
        kill -0 "$sim_pid" 2>/dev/null || break
        sleep 0.05
    done
    fail "the simulator did not start: $(cat "$case_dir/sim/termsim.log")"
    return 1
}

# run_zelo32 ARGUMENT...: runs the program in the case's folder; sets
# run_status and run_lines (the result lines without their time stamps).
run_zelo32() {
    start_zelo32 "$@"
    wait_for_zelo32 "$RUN_LIMIT_SECONDS"
}

# result_lines_of FILE: each line as its address (or blank) and its text,
# without the time stamp between them and without trailing blanks.
result_lines_of() {
    run_lines="$(sed -E 's/^(.) [0-9]{2}:[0-9]{2}:[0-9]{2} /\1 /; s/[[:space:]]+$//' "$1")"
}

# start_zelo32 ARGUMENT...: starts the program in the case's folder on the
# case's line (or on $line_path when a case sets it), with short answer
# waits, and returns at once; zelo32_pid
# is the program itself, so a signal sent to it reaches nothing else.
start_zelo32() {
    (cd "$case_dir" && PENDRA_PORT1="${line_path:-$case_dir/line}" PENDRA_ANSWER_MS=400 \
        PENDRA_LOCK_DIR="$case_dir/locks" exec "$ZELO32" "$@" \
        >"$case_dir/stdout" 2>"$case_dir/stderr") &
    zelo32_pid=$!
}

# wait_for_zelo32 SECONDS: waits for the started zelo32 to end, at most that
# long (then kills it and fails); sets run_status and run_lines.
wait_for_zelo32() {
    local _
    for _ in $(seq $(($1 * 20))); do
        kill -0 "$zelo32_pid" 2>/dev/null || break
        sleep 0.05
    done
    if kill -0 "$zelo32_pid" 2>/dev/null; then
        kill -KILL "$zelo32_pid" 2>/dev/null || true
        fail "zelo32 did not end within $1 seconds"
    fi
    run_status=0
    wait "$zelo32_pid" || run_status=$?
    zelo32_pid=""
    result_lines_of "$case_dir/stdout"
    expect_no_sanitizer_report "$case_dir/stderr"
}

# Under the sanitizer builds a report may come with an exit status a case
# expects anyway, so the reports are looked for by their text.
expect_no_sanitizer_report() {
    if grep -Eq 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$1"; then
        fail "sanitizer report in $1:
$(cat "$1")"
    fi
}

# wait_for_state ADDRESS JQ-CONDITION: waits up to 10 seconds for the
# condition to hold for terminal ADDRESS in the state dump.
wait_for_state() {
    local _
    for _ in $(seq 200); do
        [[ "$(state "$1" "$2" 2>/dev/null)" == true ]] && return 0
        sleep 0.05
    done
    fail "terminal $1 never reached $2"
    return 1
}

expect_status() {
    [[ "$run_status" == "$1" ]] || fail "exit status $run_status, expected $1
stdout:
$(cat "$case_dir/stdout")
stderr:
$(cat "$case_dir/stderr")"
}

# expect_lines LINE...: exactly these result lines, in this order.
expect_lines() {
    local expected
    expected="$(printf '%s\n' "$@")"
    [[ "$run_lines" == "$expected" ]] || fail "result lines differ
expected:
$expected
got:
$run_lines"
}

# expect_line_matching REGEX: some result line matches.
expect_line_matching() {
    grep -Eq -- "$1" <<<"$run_lines" || fail "no result line matches '$1'; got:
$run_lines"
}

# state ADDRESS JQ-FILTER: a value from terminal ADDRESS in the state dump.
state() {
    jq -r --arg a "$1" ".terminals[] | select(.address == \$a) | $2" "$case_dir/sim/state.json"
}

expect_state() {
    local got
    got="$(state "$1" "$2")"
    [[ "$got" == "$3" ]] || fail "terminal $1: $2 is '$got', expected '$3'"
}

# finish: ends the case script with the number of failed checks.
finish() {
    stop_all
    if ((failures > 0)); then
        echo "$failures check(s) failed" >&2
        exit 1
    fi
    echo "all cases passed"
}

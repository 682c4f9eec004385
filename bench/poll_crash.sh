#!/usr/bin/env bash
# Polled records exactly once across crashes: zelo32 polls two simulated
# terminals into POLL.DAT and is killed with SIGKILL at random moments, N
# times; a clean run then polls what is left. Every record the terminals
# had must be in POLL.DAT exactly once. With --restart-terminals the
# simulator is killed with SIGKILL at the same moments too and started
# again (keep_records=yes keeps its terminals' records and numbering).
#
# Usage: bench/poll_crash.sh [options]
#   --bin DIR              where zelo32 and zelo-termsim are (default build/asan/bin)
#   --kills N              kills before the clean run (default 100)
#   --records N            records per terminal (default 1500)
#   --restart-terminals    kill and restart the simulator with each kill
#   --protocol 1|2         the link's protocol version (default 2)
#   --seed N               seed of the kill moments (default 1)
#   --work DIR             scratch folder (default: a new one under /tmp, removed)
# Prints the counts; status 0 when every record is there exactly once.
set -uo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$root/build/asan/bin"
kills=100
records=1500
restart=0
protocol=2
seed=1
work=""
while (($#)); do
    case "$1" in
        --bin) bin="$(cd "$2" && pwd)"; shift 2 ;;
        --kills) kills="$2"; shift 2 ;;
        --records) records="$2"; shift 2 ;;
        --restart-terminals) restart=1; shift ;;
        --protocol) protocol="$2"; shift 2 ;;
        --seed) seed="$2"; shift 2 ;;
        --work) work="$2"; shift 2 ;;
        *) echo "poll_crash.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
for program in "$bin/zelo32" "$bin/zelo-termsim"; do
    [[ -x "$program" ]] || { echo "poll_crash.sh: $program is not built" >&2; exit 2; }
done
own_work=0
if [[ -z "$work" ]]; then
    work="$(mktemp -d "${TMPDIR:-/tmp}/zelo-poll-crash.XXXXXX")"
    own_work=1
fi
mkdir -p "$work/A" "$work/B" "$work/locks"
sim_pid=""
stop_simulator() { # signal
    [[ -n "$sim_pid" ]] || return 0
    kill "-$1" "$sim_pid" 2>/dev/null
    wait "$sim_pid" 2>/dev/null
    sim_pid=""
}
finish_up() {
    stop_simulator TERM
    ((own_work)) && rm -rf "$work"
}
trap finish_up EXIT

start_simulator() {
    rm -f "$work/line"
    "$bin/zelo-termsim" --baud 57600 --link "$work/line" --protocol "$protocol" \
        -t "A:model=Brisa,ram=$work/A/ram,generate_records=$records,keep_records=yes" \
        -t "B:model=Brisa,ram=$work/B/ram,generate_records=$records,keep_records=yes" \
        >>"$work/termsim.log" 2>&1 &
    sim_pid=$!
    local _
    for _ in $(seq 200); do
        [[ -e "$work/line" ]] && return 0
        sleep 0.05
    done
    echo "poll_crash.sh: the simulator did not start" >&2
    tail "$work/termsim.log" >&2
    exit 2
}

cat >"$work/Zelocom.ini" <<INI
[Communication]
Port=1
BaudRate=57600
DataBit=8
StopBit=1
Parity=NONE
Address=AB
Terminal_type=Brisa
AutoBaudRate=0
ErrorLog=New

[POWER]
Power_Saving=NO

[POLL]
File_Name=POLL.DAT
Open_Method=Append
Polling_Period=ExistWhenPeriodNoData
Poll_Max_Wait_Time=3
Auto_Time_Sync=None

[COMMAND_LINE]
AUTO_EXIT=Yes
SHOW_ERROR_BOX=No

[Modem]
Use_modem=No
INI

poll() { # runs zelo32 AB 1 in the background; its pid in poll_pid
    (cd "$work" && exec env PENDRA_PORT1="$work/line" PENDRA_PROTOCOL="$protocol" \
        PENDRA_LOCK_DIR="$work/locks" "$bin/zelo32" AB 1 >>"$work/zelo32.log" 2>&1) &
    poll_pid=$!
}

RANDOM=$seed
start_time=$SECONDS
start_simulator
killed=0
for ((n = 1; n <= kills; n++)); do
    poll
    # 0.1 to 2 s: start-up, the first batches, mid-run and the end.
    sleep "$(awk -v r=$RANDOM 'BEGIN { printf "%.3f", 0.1 + 1.9 * r / 32767 }')"
    if ((restart)); then
        stop_simulator KILL
    fi
    kill -KILL "$poll_pid" 2>/dev/null && killed=$((killed + 1))
    wait "$poll_pid" 2>/dev/null
    ((restart)) && start_simulator
done
# The clean run, and a second one in case the first met the end of a
# terminal's records only partly.
for _ in 1 2; do
    poll
    wait "$poll_pid"
done
stop_simulator TERM

expected=$((2 * records))
python3 - "$work/POLL.DAT" "$records" "$kills" "$killed" "$((SECONDS - start_time))" <<'PY'
import collections, re, sys
path, records, kills, killed, seconds = sys.argv[1], int(sys.argv[2]), *sys.argv[3:]
data = open(path, 'rb').read()
lines = re.findall(rb'([AB]) ([AB]),(\d{5}),49\d{11}\r\n', data)
count = collections.Counter((a, int(n)) for a, _, n in lines)
missing = sum(1 for a in (b'A', b'B') for n in range(1, records + 1) if count[(a, n)] == 0)
twice = sum(c - 1 for c in count.values() if c > 1)
stray = len(data) - sum(len(m.group(0)) for m in re.finditer(rb'([AB]) ([AB]),(\d{5}),49\d{11}\r\n', data))
print(f"poll crash: {kills} runs, {killed} killed with SIGKILL; {2 * records} records, "
      f"{len(count)} stored, {missing} missing, {twice} duplicated, {stray} stray bytes, in {seconds} s")
sys.exit(0 if missing == 0 and twice == 0 and stray == 0 else 1)
PY

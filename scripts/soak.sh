#!/usr/bin/env bash
# Fault soak: file transfers through the real zelo32 and zelo-termsim under
# seeded line faults, judged by their outcome only. Every run must end
#   - with status 0 and the file byte-identical at its destination, or
#   - with status 1 and a failure result line for the terminal.
# A failed upload must leave the earlier file of that name as it was.
# Anything else counts against the program: a silently wrong file (status 0,
# the file differs; or a failed upload that changed the earlier file), a
# failure not reported (status 1 without a failure line), a hang (the run
# outlived its time limit) or any other status.
#
# For each seed, each fault (drop, corrupt, nak, late, silent, and all five
# mixed) at each rate (1 % and 5 % of frames) gets a simulator of its own;
# then polling of two terminals under all faults mixed, every record counted
# once (poll_soak); then one file to four terminals at once under all faults
# mixed, every copy judged on its own (broadcast_soak);
# against it run downloads and uploads of several sizes, taken in turn from
# the size list so that short soaks still cover every size.
#
# Usage: scripts/soak.sh [options]
#   --bin DIR             where zelo32 and zelo-termsim are (default build/ci-asan/bin)
#   --seeds "1 2 ..."     simulator seeds (default "1 2 3")
#   --sizes-per-line N    sizes per simulator and direction (default all 11)
#   --transfers N         stop after N transfers (default: the whole matrix)
#   --seconds N           stop starting transfers after N seconds (default: no limit)
#   --vanishing N         per seed reached, N transfers of 20,000 bytes during which the
#                         simulator is killed at a random moment, as a USB adapter
#                         pulled out (default 2; not bound by --seconds)
#   --work DIR            scratch folder (default: a new one under /tmp, removed)
#   --no-polls            leave out the polling part
#   --broadcasts N        downloads of one file to four terminals at once
#                         (default 4, 0 leaves the part out)
# Prints one line per failing run and the figures at the end. Status: 0 when
# nothing counted against the program, 1 otherwise, 2 for wrong options.
set -uo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$root/build/ci-asan/bin"
seeds="1 2 3"
sizes=(0 1 127 128 254 255 256 511 1000 4097 20000)
per_line=${#sizes[@]}
max_transfers=0
max_seconds=0
work=""
polls=1
broadcasts=4
run_limit=90 # seconds one zelo32 run may take before it counts as a hang
vanishing=2
vanish_after="" # set: the simulator is killed this many seconds into the run

while (($#)); do
    case "$1" in
        --bin) bin="$(cd "$2" && pwd)"; shift 2 ;;
        --seeds) seeds="$2"; shift 2 ;;
        --sizes-per-line) per_line="$2"; shift 2 ;;
        --transfers) max_transfers="$2"; shift 2 ;;
        --seconds) max_seconds="$2"; shift 2 ;;
        --vanishing) vanishing="$2"; shift 2 ;;
        --work) work="$2"; shift 2 ;;
        --no-polls) polls=0; shift ;;
        --broadcasts) broadcasts="$2"; shift 2 ;;
        *) echo "soak.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
zelo32="$bin/zelo32"
termsim="$bin/zelo-termsim"
for program in "$zelo32" "$termsim"; do
    [[ -x "$program" ]] || { echo "soak.sh: $program is not built" >&2; exit 2; }
done

own_work=0
if [[ -z "$work" ]]; then
    work="$(mktemp -d "${TMPDIR:-/tmp}/zelo-soak.XXXXXX")"
    own_work=1
fi
mkdir -p "$work"
sim_pid=""
stop_simulator() {
    if [[ -n "$sim_pid" ]]; then
        kill -TERM "$sim_pid" 2>/dev/null
        wait "$sim_pid" 2>/dev/null
        sim_pid=""
    fi
}
finish_up() {
    stop_simulator
    ((own_work)) && rm -rf "$work"
}
trap finish_up EXIT

transfers=0 bytes=0 reported=0 silent=0 unreported=0 hangs=0 other=0
start_time=$SECONDS
size_cursor=0

against=0
print_figures() {
    against=$((silent + unreported + hangs + other))
    echo "soak: $transfers transfers, $bytes bytes, $((transfers - reported - against)) byte-identical," \
        "$reported reported failures, $silent silent corruptions, $unreported unreported failures," \
        "$hangs hangs, $other other endings, in $((SECONDS - start_time)) s"
}
# Stopped early: the figures so far.
trap 'print_figures; exit 130' INT TERM

budget_left() {
    ((max_transfers == 0 || transfers < max_transfers)) &&
        ((max_seconds == 0 || SECONDS - start_time < max_seconds))
}

# The source bytes of a seed, the same for every run of that seed: 20,000
# random bytes, then 20,000 bytes of price-file text (which the link packs).
make_pool() { # seed file
    python3 -c "
import random, sys
r = random.Random($1)
sys.stdout.buffer.write(bytes(r.getrandbits(8) for _ in range(20000)))
text, code = b'', 4901000000000
while len(text) < 20000:
    code += r.randint(1, 40)
    text += b'%d,ITEM %d %s,%d\\r\\n' % (code, r.randint(1, 500), r.choice([b'500ML', b'1L', b'6P']), r.randint(80, 1980))
sys.stdout.buffer.write(text[:20000])" >"$2"
}

# Random bytes for two transfers in turn (a download and an upload), then
# text for the next two.
pool_bytes() { # n size pool
    if (((($1 + 1) / 2) % 2 == 1)); then
        head -c "$2" "$3"
    else
        tail -c +20001 "$3" | head -c "$2"
    fi
}

start_simulator() { # folder, fault options...
    local folder="$1"
    shift
    rm -rf "$folder"
    mkdir -p "$folder/ram" "$folder/locks"
    "$termsim" --baud 57600 --link "$folder/line" "$@" \
        -t "A:model=Brisa,ram=$folder/ram" >"$folder/termsim.log" 2>&1 &
    sim_pid=$!
    local _
    for _ in $(seq 200); do
        [[ -e "$folder/line" ]] && return 0
        kill -0 "$sim_pid" 2>/dev/null || break
        sleep 0.05
    done
    echo "soak.sh: the simulator did not start: $(cat "$folder/termsim.log")" >&2
    exit 2
}

write_ini() { # folder
    cat >"$1/Zelocom.ini" <<INI
[Communication]
Port=1
BaudRate=57600
DataBit=8
StopBit=1
Parity=NONE
Address=A
Terminal_type=Brisa
AutoBaudRate=0
ErrorLog=New

[POWER]
Power_Saving=NO

[Multi_upload]
Upload_Save_Mode=Over-write
Upload_Loop=No

[COMMAND_LINE]
AUTO_EXIT=Yes
SHOW_ERROR_BOX=No

[Modem]
Use_modem=No
INI
}

# One transfer; judges it and counts it. Arguments: folder, direction, size,
# pool file, description.
transfer() {
    local folder="$1" direction="$2" size="$3" pool="$4" what="$5"
    local n=$((transfers + 1))
    local source destination
    if [[ "$direction" == download ]]; then
        source="$folder/d$n.bin"
        destination="$folder/ram/D$n.BIN"
        pool_bytes "$n" "$size" "$pool" >"$source"
        set -- A L "d$n.bin" "D$n.BIN"
    else
        source="$folder/ram/U$n.BIN"
        destination="$folder/u$n.bin"
        pool_bytes "$n" "$size" "$pool" >"$source"
        set -- A U "U$n.BIN" "u$n.bin"
        printf 'earlier file %d\n' "$n" >"$destination" # what a failure must leave
    fi
    (cd "$folder" && PENDRA_PORT1="$folder/line" PENDRA_ANSWER_MS=400 \
        PENDRA_LOCK_DIR="$folder/locks" timeout -k 5 "$run_limit" "$zelo32" "$@" \
        >"$folder/out" 2>"$folder/err") &
    local run=$!
    if [[ -n "$vanish_after" ]]; then
        sleep "$vanish_after"
        stop_simulator
    fi
    wait "$run"
    local status=$?
    transfers=$n
    bytes=$((bytes + size))
    local identical=0
    cmp -s "$source" "$destination" && identical=1
    # A failure result line: terminal A's, or the line's own when it could
    # not be opened (the connection check met a fault).
    local failure_line=0
    if grep -Eq '^  [0-9:]{8} COM[0-9]+ open error' "$folder/out" ||
        grep -E '^A [0-9:]{8} ' "$folder/out" | grep -Evq 'Successfully *$'; then
        failure_line=1
    fi
    case "$status" in
        0)
            if ((!identical)); then
                silent=$((silent + 1))
                echo "SILENTLY WRONG: $what $direction $size bytes: status 0, the file differs"
                sed 's/^/    /' "$folder/out"
            fi
            ;;
        1)
            if ((failure_line)); then
                reported=$((reported + 1))
            else
                unreported=$((unreported + 1))
                echo "UNREPORTED: $what $direction $size bytes: status 1 without a failure line"
                sed 's/^/    /' "$folder/out" "$folder/err"
            fi
            ;;
        124 | 137)
            hangs=$((hangs + 1))
            echo "HANG: $what $direction $size bytes: still running after ${run_limit}s"
            ;;
        *)
            other=$((other + 1))
            echo "STATUS $status: $what $direction $size bytes"
            sed 's/^/    /' "$folder/out" "$folder/err" | tail -30
            ;;
    esac
    # An upload that failed leaves the earlier file as it was; no upload
    # that ended by itself leaves its temporary behind.
    if [[ "$direction" == upload ]] && { [[ -e "$destination.zelo-part" && $status -le 1 ]] ||
        [[ $status == 1 && "$(cat "$destination" 2>/dev/null)" != "earlier file $n" ]]; }; then
        silent=$((silent + 1))
        echo "EARLIER FILE LOST: $what upload $size bytes: status $status, or a temporary left"
    fi
    rm -f "$source" "$destination" "$destination.zelo-part"
    if ((n % 500 == 0)); then
        echo "soak progress: $n transfers, $silent silent corruptions so far, $((SECONDS - start_time)) s"
    fi
}

faults=(drop corrupt nak late silent mixed)
rates=(0.01 0.05)
reached_seeds=""
for seed in $seeds; do
    budget_left || break
    reached_seeds+=" $seed"
    pool="$work/pool-$seed"
    make_pool "$seed" "$pool"
    for fault in "${faults[@]}"; do
        for rate in "${rates[@]}"; do
            budget_left || break 3
            folder="$work/line"
            if [[ "$fault" == mixed ]]; then
                share="$(awk -v r="$rate" 'BEGIN { printf "%.4f", r / 5 }')"
                options=(--drop "$share" --corrupt "$share" --nak "$share" --late "$share"
                    --silent "$share")
            else
                options=("--$fault" "$rate")
            fi
            start_simulator "$folder" --seed "$seed" "${options[@]}"
            write_ini "$folder"
            for ((k = 0; k < per_line; k++)); do
                size="${sizes[$(((size_cursor + k) % ${#sizes[@]}))]}"
                for direction in download upload; do
                    budget_left || break 3
                    transfer "$folder" "$direction" "$size" "$pool" \
                        "seed $seed, $fault $rate,"
                done
            done
            size_cursor=$(((size_cursor + per_line) % ${#sizes[@]}))
            stop_simulator
        done
    done
done

# The line vanishes: the simulator killed at a random moment of a transfer.
# Each run must end as the others do (a reported failure, or the whole file
# when the kill came after the end), never with a crash or a hang.
# Per seed the matrix reached, so that a soak cut short by its budget
# does not add the vanishing runs of seeds it never started.
vanished_from=$transfers
for seed in ${reached_seeds:-${seeds%% *}}; do
    pool="$work/pool-$seed"
    [[ -e "$pool" ]] || make_pool "$seed" "$pool"
    RANDOM=$seed
    for ((k = 0; k < vanishing; k++)); do
        direction=upload
        ((k % 2)) && direction=download
        folder="$work/vanish"
        start_simulator "$folder" --seed "$seed"
        write_ini "$folder"
        tenths=$((5 + RANDOM % 30)) # 0.5 to 3.4 s: from the connection to the end
        vanish_after="$((tenths / 10)).$((tenths % 10))"
        transfer "$folder" "$direction" 20000 "$pool" "seed $seed, line gone after ${vanish_after}s,"
        vanish_after=""
        stop_simulator
    done
done
echo "soak: the line vanished during $((transfers - vanished_from)) of the transfers above"

# Polling under all five faults mixed (5 % of frames): two terminals with
# 150 records each, polled with zelo32 until a run ends with nothing left;
# every record must be in POLL.DAT exactly once.
polls_counted=1
poll_soak() {
    local folder="$work/polls" seed="${seeds%% *}"
    rm -rf "$folder"
    mkdir -p "$folder/A" "$folder/B" "$folder/locks"
    "$termsim" --baud 57600 --link "$folder/line" --seed "$seed" --drop 0.01 --corrupt 0.01 \
        --nak 0.01 --late 0.01 --silent 0.01 \
        -t "A:model=Brisa,ram=$folder/A/ram,generate_records=150" \
        -t "B:model=Brisa,ram=$folder/B/ram,generate_records=150" >"$folder/termsim.log" 2>&1 &
    sim_pid=$!
    local _
    for _ in $(seq 200); do [[ -e "$folder/line" ]] && break; sleep 0.05; done
    write_ini "$folder"
    sed -i 's/^Address=A$/Address=AB/' "$folder/Zelocom.ini"
    printf '[POLL]\r\nFile_Name=POLL.DAT\r\nOpen_Method=Append\r\nPolling_Period=ExistWhenPeriodNoData\r\nPoll_Max_Wait_Time=3\r\n' >>"$folder/Zelocom.ini"
    for _ in 1 2 3; do
        (cd "$folder" && PENDRA_PORT1="$folder/line" PENDRA_ANSWER_MS=400 \
            PENDRA_LOCK_DIR="$folder/locks" timeout -k 5 "$run_limit" "$zelo32" AB 1 \
            >>"$folder/out" 2>&1)
    done
    stop_simulator
    python3 - "$folder/POLL.DAT" <<'PY' || polls_counted=0
import collections, re, sys
data = open(sys.argv[1], 'rb').read() if __import__('os').path.exists(sys.argv[1]) else b''
found = re.findall(rb'([AB]) \1,(\d{5}),49\d{11}\r\n', data)
count = collections.Counter(found)
missing = sum(1 for a in (b'A', b'B') for n in range(1, 151) if count[(a, b'%05d' % n)] == 0)
twice = sum(c - 1 for c in count.values() if c > 1)
stray = len(data) - sum(len(m.group(0)) for m in re.finditer(rb'([AB]) \1,(\d{5}),49\d{11}\r\n', data))
print(f"soak polls: 300 records under mixed faults, {len(count)} stored, {missing} missing, {twice} twice, {stray} stray bytes")
sys.exit(0 if missing == 0 and twice == 0 and stray == 0 else 1)
PY
}
# Run whatever the budget left: its cost is fixed (about 15 s).
((polls)) && poll_soak

# One file to four terminals on one line at once, under all five faults
# mixed (2 % of frames). Each copy is judged on its own, as a transfer of
# its own: byte-identical, or a failure line for its terminal; a copy that
# differs without one (whatever the status), or a run that ends 0 with a
# copy that differs, is a silent corruption.
broadcast_soak() {
    local folder="$work/broadcast" seed="${seeds%% *}" members=ABCD
    rm -rf "$folder"
    mkdir -p "$folder/locks"
    local terminals=() a
    for a in A B C D; do
        mkdir -p "$folder/$a/ram"
        terminals+=(-t "$a:model=Brisa,ram=$folder/$a/ram")
    done
    "$termsim" --baud 57600 --link "$folder/line" --seed "$seed" --drop 0.004 --corrupt 0.004 \
        --nak 0.004 --late 0.004 --silent 0.004 "${terminals[@]}" >"$folder/termsim.log" 2>&1 &
    sim_pid=$!
    local _
    for _ in $(seq 200); do [[ -e "$folder/line" ]] && break; sleep 0.05; done
    write_ini "$folder"
    sed -i "s/^Address=A$/Address=$members/" "$folder/Zelocom.ini"
    local pool="$work/pool-$seed" broadcast_sizes=(0 1 4097 20000) k
    [[ -e "$pool" ]] || make_pool "$seed" "$pool"
    for ((k = 0; k < broadcasts; k++)); do
        local size="${broadcast_sizes[$((k % ${#broadcast_sizes[@]}))]}" n=$((transfers + 1))
        pool_bytes "$n" "$size" "$pool" >"$folder/b$n.bin"
        (cd "$folder" && PENDRA_PORT1="$folder/line" PENDRA_ANSWER_MS=400 \
            PENDRA_LOCK_DIR="$folder/locks" timeout -k 5 "$run_limit" "$zelo32" "$members" L \
            "b$n.bin" "B$n.BIN" >"$folder/out" 2>"$folder/err")
        local status=$?
        if ((status == 124 || status == 137)); then
            hangs=$((hangs + 1))
            echo "HANG: broadcast $size bytes: still running after ${run_limit}s"
        fi
        for a in A B C D; do
            transfers=$((transfers + 1))
            bytes=$((bytes + size))
            cmp -s "$folder/b$n.bin" "$folder/$a/ram/B$n.BIN" && continue
            local lines
            lines="$(grep -E "^$a [0-9:]{8} " "$folder/out")"
            if ((status == 0)) || grep -Eq 'Successfully *$' <<<"$lines"; then
                silent=$((silent + 1))
                echo "SILENTLY WRONG: broadcast $size bytes, terminal $a: status $status, the copy differs"
                sed 's/^/    /' "$folder/out"
            elif ((status == 1)) && [[ -n "$lines" ]]; then
                reported=$((reported + 1))
            elif ((status == 1)); then
                unreported=$((unreported + 1))
                echo "UNREPORTED: broadcast $size bytes, terminal $a: status 1 without its line"
            elif ((status != 124 && status != 137)); then
                other=$((other + 1))
                echo "STATUS $status: broadcast $size bytes, terminal $a"
            fi
        done
        rm -f "$folder/b$n.bin" "$folder"/?/ram/"B$n.BIN"
    done
    stop_simulator
    echo "soak broadcast: $broadcasts files to $members under mixed faults"
}
((broadcasts > 0)) && broadcast_soak

print_figures
((against == 0 && polls_counted))

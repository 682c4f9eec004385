#!/usr/bin/env bash
# A 64 KiB download and upload at 57600 baud through ser2net on loopback
# (rfc2217:// and socket://) beside the same transfers on the direct line,
# each as a fraction of the direct line's throughput (goal: 0.95 or more).
# zelo32 against the simulator's terminal, whole runs timed (program start,
# opening, the transfer, closing); every file compared with what was sent.
#
# Usage: bench/network_line.sh BUILD_DIR [KIB]   (BUILD_DIR/bin holds zelo32
# and zelo-termsim, preferably a release build; ser2net must be installed)
set -euo pipefail

build="$(cd "${1:?usage: network_line.sh BUILD_DIR [KIB]}" && pwd)"
kib="${2:-64}"
zelo32="$build/bin/zelo32"
termsim="$build/bin/zelo-termsim"
command -v ser2net >/dev/null || { echo "ser2net is not installed" >&2; exit 1; }
work="$(mktemp -d)"
sim_pid="" ser2net_pid=""
cleanup() {
    for pid in $ser2net_pid $sim_pid; do
        kill -TERM "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

free_port() {
    python3 -c 'import socket
s = socket.socket()
s.bind(("127.0.0.1", 0))
print(s.getsockname()[1])'
}

mkdir -p "$work/ram"
cat >"$work/Zelocom.ini" <<INI
[Communication]
Port=1
BaudRate=57600
DataBit=8
StopBit=1
Parity=NONE
Address=A
Terminal_type=Brisa
AutoBaudRate=0
ErrorLog=None
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
head -c $((kib * 1024)) /dev/urandom >"$work/SENT.BIN"

"$termsim" --baud 57600 --link "$work/line" -t "A:model=Brisa,ram=$work/ram" \
    >"$work/termsim.log" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do [[ -e "$work/line" ]] && break; sleep 0.05; done
device="$(readlink -f "$work/line")"
telnet_port="$(free_port)"
raw_port="$(free_port)"
cat >"$work/ser2net.yaml" <<YAML
connection: &telnet
  accepter: telnet(rfc2217),tcp,127.0.0.1,$telnet_port
  connector: serialdev,$device,9600n81,local
connection: &raw
  accepter: tcp,127.0.0.1,$raw_port
  connector: serialdev,$device,57600n81,local
YAML
ser2net -n -u -c "$work/ser2net.yaml" >"$work/ser2net.log" 2>&1 &
ser2net_pid=$!
for _ in $(seq 100); do
    ss -ltnH "sport = :$raw_port" | grep -q . && break
    sleep 0.05
done

# seconds LINE ARGUMENTS...: one zelo32 run on LINE, its time in seconds.
seconds() {
    local line="$1" start end
    shift
    start=$(date +%s.%N)
    (cd "$work" && PENDRA_PORT1="$line" "$zelo32" --quiet "$@" >"$work/stdout" 2>"$work/stderr") || {
        echo "zelo32 $* on $line failed: $(cat "$work/stdout" "$work/stderr")" >&2
        exit 1
    }
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}

status=0
printf '%-26s %9s %9s %9s\n' "line" "down s" "up s" "fraction"
direct_total=""
for line in "$work/line" "rfc2217://127.0.0.1:$telnet_port" "socket://127.0.0.1:$raw_port"; do
    rm -f "$work/ram/PRICE.BIN" "$work/BACK.BIN"
    down=$(seconds "$line" A L SENT.BIN PRICE.BIN)
    up=$(seconds "$line" A U PRICE.BIN BACK.BIN)
    cmp -s "$work/SENT.BIN" "$work/ram/PRICE.BIN" || { echo "download differs on $line" >&2; status=1; }
    cmp -s "$work/SENT.BIN" "$work/BACK.BIN" || { echo "upload differs on $line" >&2; status=1; }
    total=$(awk -v a="$down" -v b="$up" 'BEGIN { print a + b }')
    [[ -n "$direct_total" ]] || direct_total=$total
    name="${line#"$work/"}"
    printf '%-26s %9.2f %9.2f %9.3f\n' "${name%%:[0-9]*}" "$down" "$up" \
        "$(awk -v a="$direct_total" -v b="$total" 'BEGIN { print a / b }')"
done
exit $status

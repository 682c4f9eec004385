#!/usr/bin/env bash
# zelo32 on lines reached over the network: ser2net in front of the
# simulator's pseudo-terminal, on loopback only, with rfc2217:// (Telnet
# com-port control) and socket:// (raw TCP); and the failures an operator
# meets: nothing listening, an unknown host, a server that never answers,
# the server gone in mid-transfer, a stop while the line opens.
set -euo pipefail
# shellcheck source=harness.sh
source "$(dirname "$0")/harness.sh"

if ! command -v ser2net >/dev/null; then
    echo "SKIP: ser2net is not installed (Debian package ser2net); the network-line cases need it"
    exit 77
fi

# Each step of opening a network line waits at most this (1 s).
export PENDRA_CONNECT_MS=1000

ser2net_pid=""
listener_pid=""

stop_ser2net() {
    [[ -n "$ser2net_pid" ]] || return 0
    kill -TERM "$ser2net_pid" 2>/dev/null || true
    local _
    for _ in $(seq 40); do
        kill -0 "$ser2net_pid" 2>/dev/null || break
        sleep 0.05
    done
    kill -KILL "$ser2net_pid" 2>/dev/null || true
    wait "$ser2net_pid" 2>/dev/null || true
    ser2net_pid=""
}
stop_listener() {
    [[ -n "$listener_pid" ]] || return 0
    kill -KILL "$listener_pid" 2>/dev/null || true
    wait "$listener_pid" 2>/dev/null || true
    listener_pid=""
}
stop_network() {
    stop_listener
    stop_all
    stop_ser2net
}
trap stop_network EXIT

# free_port: a loopback TCP port nothing listens on at this moment.
free_port() {
    python3 -c 'import socket
s = socket.socket()
s.bind(("127.0.0.1", 0))
print(s.getsockname()[1])'
}

# start_ser2net: ser2net on 127.0.0.1 in front of the case's line, with an
# RFC 2217 accepter on $telnet_port (the device opened at 9600n81 until
# the client sets it) and a raw one on $raw_port (57600n81).
start_ser2net() {
    local device attempt
    device="$(readlink -f "$case_dir/line")"
    for attempt in 1 2 3; do
        telnet_port="$(free_port)"
        raw_port="$(free_port)"
        cat >"$case_dir/ser2net.yaml" <<YAML
%YAML 1.1
---
connection: &telnet
  accepter: telnet(rfc2217),tcp,127.0.0.1,$telnet_port
  connector: serialdev,$device,9600n81,local
connection: &raw
  accepter: tcp,127.0.0.1,$raw_port
  connector: serialdev,$device,57600n81,local
YAML
        ser2net -n -u -c "$case_dir/ser2net.yaml" -P "$case_dir/ser2net.pid" \
            >"$case_dir/ser2net.log" 2>&1 &
        ser2net_pid=$!
        local _
        for _ in $(seq 100); do
            if ss -ltnH "sport = :$telnet_port" | grep -q . &&
                ss -ltnH "sport = :$raw_port" | grep -q .; then
                return 0
            fi
            kill -0 "$ser2net_pid" 2>/dev/null || break
            sleep 0.05
        done
        stop_ser2net  # a port taken meanwhile: again with others
    done
    fail "ser2net did not start: $(cat "$case_dir/ser2net.log")"
    return 1
}

# start_silent_listener: a loopback listener that takes connections and
# never says a word, for at most 60 seconds; its port in $silent_port.
start_silent_listener() {
    python3 -c 'import socket, sys, time
s = socket.socket()
s.bind(("127.0.0.1", 0))
s.listen(4)
print(s.getsockname()[1], flush=True)
held = []
s.settimeout(1)
end = time.monotonic() + 60
while time.monotonic() < end:
    try:
        held.append(s.accept()[0])
    except socket.timeout:
        pass' >"$case_dir/listener.port" &
    listener_pid=$!
    local _
    for _ in $(seq 100); do
        silent_port="$(head -n1 "$case_dir/listener.port")"
        [[ -n "$silent_port" ]] && return 0
        sleep 0.05
    done
    fail "the silent listener did not start"
}

set_speed() { sed -i "s/^BaudRate=.*/BaudRate=$1/" "$case_dir/Zelocom.ini"; }

# A test file with 0xFF bytes in runs and alone: Telnet's escape byte must
# arrive as it was sent, both ways.
make_test_file() {
    { printf '\377\377\377 IAC \377'; head -c "$2" /dev/urandom; printf '\377'; } >"$1"
}

# The far end's speed comes from RFC 2217: ser2net opens the device at
# 9600, the terminal hears only 57600, so nothing works unless the link set
# the remote port. Download and upload with 0xFF in the data, then a poll.
begin_case rfc2217_transfers_and_polling
set_speed 57600
printf 'A-0001 4901234567894\r\nA-0002 4909876543210\r\n' >"$case_dir/records.txt"
start_simulator A "A:records=$case_dir/records.txt" --baud=57600 --fixed-speed
start_ser2net
line_path="rfc2217://127.0.0.1:$telnet_port"
make_test_file "$case_dir/SENT.BIN" 3000
run_zelo32 A L SENT.BIN PRICE.BIN
expect_status 0
expect_lines "  Open COM1 at 57600bps" "A Download  SENT.BIN Successfully" "  Close COM port"
cmp -s "$case_dir/SENT.BIN" "$case_dir/sim/A/ram/PRICE.BIN" || fail "the download differs"
run_zelo32 A U PRICE.BIN BACK.BIN
expect_status 0
cmp -s "$case_dir/SENT.BIN" "$case_dir/BACK.BIN" || fail "the upload differs"
run_zelo32 A 1
expect_status 0
expect_state A .pollRecordsDelivered 2
grep -q '^A A-0002 4909876543210' "$case_dir/POLL.DAT" || fail "POLL.DAT holds: $(cat "$case_dir/POLL.DAT")"
# Raw TCP on the same line: the far port keeps ser2net's own settings.
line_path="socket://127.0.0.1:$raw_port"
rm "$case_dir/sim/A/ram/PRICE.BIN"
run_zelo32 A L SENT.BIN PRICE.BIN
expect_status 0
cmp -s "$case_dir/SENT.BIN" "$case_dir/sim/A/ram/PRICE.BIN" || fail "the download over socket:// differs"

# The speed search sets each speed it tries on the remote port: the
# terminal hears only 38400, which the search finds (after the configured
# 57600) and keeps.
begin_case rfc2217_speed_search
set_speed 57600
sed -i 's/^AutoBaudRate=0/AutoBaudRate=1/' "$case_dir/Zelocom.ini"
start_simulator A --baud=38400 --fixed-speed
start_ser2net
line_path="rfc2217://127.0.0.1:$telnet_port"
run_zelo32 A M
expect_status 0
expect_line_matching '^  Open COM1 at 38400bps$'
expect_line_matching '^A Time Sync\. [0-9]{14} Successfully$'
grep -q '^BaudRate=38400' "$case_dir/Zelocom.ini" || fail "the found speed was not saved"

# Nothing listening, an unknown host (the "invalid" domain is never looked
# up), a listener that never answers: each ends as a port that does not
# open, soon, with the address and the reason on standard error.
begin_case failures_in_words
start_silent_listener
nothing="$(free_port)"
for failure in "rfc2217://127.0.0.1:$nothing|connection refused" \
    "socket://127.0.0.1:$nothing|connection refused" \
    "rfc2217://no-such-host.invalid:2217|unknown host" \
    "rfc2217://127.0.0.1:$silent_port|no answer from the server within 1 s"; do
    line_path="${failure%%|*}"
    started=$SECONDS
    run_zelo32 A M
    expect_status 1
    expect_lines "  COM1 open error at 9600bps" "  COM1 open error"
    grep -qF "$line_path: ${failure#*|}" "$case_dir/stderr" ||
        fail "no reason for $line_path on standard error: $(cat "$case_dir/stderr")"
    ((SECONDS - started <= 5)) || fail "$line_path took $((SECONDS - started)) s to fail"
done

# SIGTERM while the speed search waits on a server that never answers:
# the program ends at once, not after the opening step's limit (20 s here)
# nor after every speed.
sed -i 's/^AutoBaudRate=0/AutoBaudRate=1/' "$case_dir/Zelocom.ini"
line_path="rfc2217://127.0.0.1:$silent_port"
PENDRA_CONNECT_MS=20000 start_zelo32 A M
sleep 0.5
started_ms=$(date +%s%3N)
kill -TERM "$zelo32_pid"
wait_for_zelo32 10
expect_status 143
took_ms=$(($(date +%s%3N) - started_ms))
((took_ms <= 1500)) || fail "SIGTERM took $took_ms ms"
stop_listener

# ser2net goes away in the middle of a download: the command fails within
# its time-outs instead of waiting on a dead connection.
begin_case server_gone_mid_transfer
start_simulator A --log="$case_dir/sim/requests.log"
start_ser2net
line_path="rfc2217://127.0.0.1:$telnet_port"
make_test_file "$case_dir/SENT.BIN" 20000
start_zelo32 A L SENT.BIN PRICE.BIN
for _ in $(seq 200); do
    grep -q 'download' "$case_dir/sim/requests.log" 2>/dev/null && break
    sleep 0.05
done
stop_ser2net
wait_for_zelo32 20
expect_status 1
expect_line_matching '^A Download  SENT\.BIN '

# ser2net killed in the middle of an upload from the terminal: the run ends
# with "Line lost", the earlier file of that name stays as it was, and the
# partial data does not stay behind.
begin_case server_killed_mid_upload
start_simulator A
head -c 30000 /dev/urandom >"$case_dir/sim/A/ram/LOG.DAT"
printf 'EARLIER GOOD FILE\n' >"$case_dir/LOG.DAT"
cp "$case_dir/LOG.DAT" "$case_dir/EARLIER"
start_ser2net
line_path="socket://127.0.0.1:$raw_port"
start_zelo32 A U LOG.DAT LOG.DAT
for _ in $(seq 200); do
    [[ -s "$case_dir/LOG.DAT.zelo-part" ]] && break
    sleep 0.05
done
[[ -s "$case_dir/LOG.DAT.zelo-part" ]] || fail "no packet arrived before the kill"
kill -KILL "$ser2net_pid"
wait "$ser2net_pid" 2>/dev/null || true
ser2net_pid=""
wait_for_zelo32 20
expect_status 1
expect_line_matching '^A Upload .*Line lost$'
cmp -s "$case_dir/EARLIER" "$case_dir/LOG.DAT" || fail "the lost line touched the earlier file"
[[ ! -e "$case_dir/LOG.DAT.zelo-part" ]] || fail "a temporary was left behind"

finish

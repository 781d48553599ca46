#!/usr/bin/env bash
# The fault soak: the real main window (fault_soak) against two simulated
# units that inject faults at random moments, one on a socat pseudo-terminal
# pair and one on loopback TCP, all in a private network namespace. The
# serial line itself vanishes now and then: this script kills its socat pair
# and makes it anew. Builds nothing.
#
#   bench/soak/fault-soak.sh [minutes] [build-dir]    # default 10, build/release
#
# Needs root (unshare -n), socat and ip. The environment may set SOAK_SEED
# (default from the clock; printed, so a run can be repeated),
# SOAK_INTERVAL_MS (the units' mean time between faults, default 15000) and
# SOAK_VANISH_S (mean time between two vanishings of the line, default 60).
# Prints the soak's summary lines, keeps the logs in the directory it names,
# and exits non-zero when a target is missed or anything crashed.
set -euo pipefail

minutes=${1:-10}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${2:-$root/build/release}" && pwd)
soak="$build/bench/soak/fault_soak"
sim="$build/tools/qireq-sim/qireq-sim"

if [[ -z ${QIREQ_SOAK_NETNS:-} ]]; then
    for program in "$soak" "$sim"; do
        [[ -x $program ]] || { echo "fault-soak.sh: $program is not built" >&2; exit 2; }
    done
    for tool in socat unshare ip; do
        command -v "$tool" >/dev/null || { echo "fault-soak.sh: $tool is not installed" >&2; exit 2; }
    done
    [[ $(id -u) == 0 ]] || { echo "fault-soak.sh: needs root for its network namespace" >&2; exit 2; }
    # Everything below runs in a network namespace of its own: the window's
    # TCP and the LAN unit meet on its loopback, and nothing leaves it.
    export QIREQ_SOAK_NETNS=1
    exec unshare -n -- bash "${BASH_SOURCE[0]}" "$minutes" "$build"
fi
ip link set lo up

seed=${SOAK_SEED:-$(( $(date +%s) % 2147483647 ))}
interval=${SOAK_INTERVAL_MS:-15000}
vanish_s=${SOAK_VANISH_S:-60}
logs=$(mktemp -d /tmp/qireq-soak.XXXXXX)
# Serial ports are locked by their file name machine-wide: names of our own.
program_end="$logs/soak$$-program"
unit_end="$logs/soak$$-unit"
pair_log="$logs/serial-line.log"
started=$(date +%s)
echo "fault soak: $minutes min, seed $seed, logs in $logs"

pids=()
stop_all() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
}
trap stop_all EXIT

# The serial line: a socat pair, killed after half to one and a half times
# SOAK_VANISH_S and made anew 3 to 8 s later ("FAULT vanish <ms>").
serial_line() {
    set +e
    local socat_pid='' pause_pid=''
    trap 'kill $pause_pid $socat_pid 2>/dev/null; exit 0' TERM
    pause() {
        sleep "$(( $1 / 1000 )).$(printf '%03d' $(( $1 % 1000 )))" &
        pause_pid=$!
        wait "$pause_pid"
        pause_pid=''
    }
    RANDOM=$seed
    while :; do
        socat "pty,raw,echo=0,link=$program_end" "pty,raw,echo=0,link=$unit_end" 2>>"$logs/socat.err" &
        socat_pid=$!
        pause $(( vanish_s * 500 + (RANDOM * 32768 + RANDOM) % (vanish_s * 1000 + 1) ))
        kill "$socat_pid"
        wait "$socat_pid"
        socat_pid=''
        local gap=$(( 3000 + RANDOM % 5001 ))
        echo "FAULT vanish $gap" >>"$pair_log"
        pause "$gap"
    done
}
: >"$pair_log"
serial_line &
pids+=($!)

wait_until() {  # wait_until SECONDS COMMAND...
    local deadline=$(( $(date +%s) + $1 ))
    shift
    until "$@"; do
        (( $(date +%s) < deadline )) || return 1
        sleep 0.1
    done
}
wait_until 10 test -e "$program_end" -a -e "$unit_end" || { echo "fault-soak.sh: socat made no pair" >&2; exit 2; }

"$sim" --tty "$unit_end" --chaos "$seed" --chaos-interval "$interval" \
    >"$logs/serial-unit.log" 2>&1 &
serial_pid=$!
pids+=("$serial_pid")
"$sim" --tcp 127.0.0.1:0 --name QIR-SIM-LAN --mac 00A1B0000002 --chaos "$(( seed + 1 ))" \
    --chaos-interval "$interval" >"$logs/lan-unit.log" 2>&1 &
lan_pid=$!
pids+=("$lan_pid")
for log in serial-unit lan-unit; do
    wait_until 10 grep -qx READY "$logs/$log.log" || { echo "fault-soak.sh: the $log did not start" >&2; exit 2; }
done
port=$(sed -n 's/^TCP 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$logs/lan-unit.log" | head -n 1)

set +e
"$soak" --pty "$program_end" --lan-port "$port" --seconds $(( minutes * 60 )) --seed "$seed" \
    --fault-log "0:$logs/serial-unit.log" --fault-log "0:$pair_log" --fault-log "1:$logs/lan-unit.log" \
    2>"$logs/timeline.log" | tee "$logs/summary.txt"
status=${PIPESTATUS[0]}
set -e

failed=0
if (( status > 128 )); then
    echo "crashes: 1 (fault_soak died of signal $(( status - 128 )); see $logs/timeline.log)"
    failed=1
elif (( status != 0 )); then
    failed=1
fi
for unit in "serial-unit:$serial_pid" "lan-unit:$lan_pid"; do
    if ! kill -0 "${unit#*:}" 2>/dev/null; then
        echo "crashes: the simulated ${unit%%:*} ended early (see $logs/${unit%%:*}.log)"
        failed=1
    fi
done
echo "runtime: $(( $(date +%s) - started )) s"
exit "$failed"

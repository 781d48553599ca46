#!/usr/bin/env bash
# Installs what is needed, builds QIR-EQ and starts it. Unless QIREQ_NO_SIM
# is set, two simulated units (tools/qireq-sim) are started beside it: one on
# a pseudo-terminal, which the program finds as a serial unit, and one on the
# loopback network (TCP on 127.0.0.3:5000), which announces itself by SSDP
# and is found as a LAN unit. Their tiles appear within a few seconds, and a
# click on either connects. The program looks for units on every network
# the machine is on.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/release -j "$(nproc)" --target qireq qireq-sim

sim=build/release/tools/qireq-sim/qireq-sim
if [ -z "${QIREQ_NO_SIM:-}" ]; then
  log=$(mktemp)
  lan_log=$(mktemp)
  "$sim" --pty --name "Demo Unit" --capability 17 > "$log" &
  sim_pid=$!
  "$sim" --tcp 127.0.0.3:5000 --ssdp 127.0.0.3 --name "Demo LAN Unit" --mac 00A1B0000002 > "$lan_log" &
  lan_pid=$!
  trap 'kill "$sim_pid" "$lan_pid" 2>/dev/null || true; rm -f "$log" "$lan_log"' EXIT
  for _ in $(seq 50); do
    grep -q '^READY' "$log" && break
    sleep 0.1
  done
  pty=$(sed -n 's/^PTY //p' "$log" | head -n 1)
  if [ -n "$pty" ]; then
    echo "Simulated unit on $pty"
    # Pseudo-terminals are not among the ports the system lists; name it.
    export QIREQ_EXTRA_SERIAL_PORTS="$pty${QIREQ_EXTRA_SERIAL_PORTS:+:$QIREQ_EXTRA_SERIAL_PORTS}"
  fi
fi
build/release/src/app/qireq "$@"

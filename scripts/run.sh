#!/usr/bin/env bash
# Installs what is needed, builds QIR-EQ and starts it. Unless QIREQ_NO_SIM
# is set, a simulated unit (tools/qireq-sim) is started beside it on a
# pseudo-terminal, which the program finds as a serial unit: a tile "Device0"
# appears within a few seconds, and a click on it connects.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/release -j "$(nproc)" --target qireq qireq-sim

sim=build/release/tools/qireq-sim/qireq-sim
sim_pid=""
if [ -z "${QIREQ_NO_SIM:-}" ]; then
  log=$(mktemp)
  "$sim" --pty --name "Demo Unit" --capability 17 > "$log" &
  sim_pid=$!
  trap 'kill "$sim_pid" 2>/dev/null || true; rm -f "$log"' EXIT
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

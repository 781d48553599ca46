#!/usr/bin/env bash
# Installs what is needed, builds QIR-EQ and starts it. When no real unit is
# attached, a simulated unit (qireq-sim) is started beside it on loopback and
# on a pseudo-terminal, so the program has something to find and edit.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/release -j "$(nproc)"

sim=build/release/tools/qireq-sim/qireq-sim
sim_pid=""
if [ -x "$sim" ] && [ -z "${QIREQ_NO_SIM:-}" ]; then
  "$sim" --tcp 127.0.0.2:5000 --pty --lan --ssdp 127.0.0.1 &
  sim_pid=$!
  trap '[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true' EXIT
fi
build/release/src/qireq "$@"

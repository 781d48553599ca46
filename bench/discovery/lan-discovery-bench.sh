#!/usr/bin/env bash
# How fast the main window lists many LAN units: for N = 1, 10, 100, 250
# simulated units (one qireq-sim --units process), the time from the start
# of discovery until all N have tiles, and the longest stall of the window's
# event loop meanwhile; then, with the N tiles shown, memory, scrolling, a
# click and Refresh (see LanDiscoveryBench.cpp); then how many of the N
# `qireq-ctl discover --seconds 10` finds. Targets: 1000 units within 30 s,
# no stall over 50 ms while listing.
#
# Needs root: it makes two network namespaces joined by a veth pair, the
# window in one and the units in the other, and removes them at the end;
# nothing leaves them. Usage: bench/discovery/lan-discovery-bench.sh [build dir]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
sizes=${QIREQ_BENCH_UNITS:-"1 10 100 250"}
bench="$build/bench/discovery/lan_discovery_bench"
sim="$build/tools/qireq-sim/qireq-sim"
ctl="$build/tools/qireq-ctl/qireq-ctl"
host=qbench$$h
unit=qbench$$u
sim_pid=""

cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null || true
  ip netns del "$host" 2>/dev/null || true
  ip netns del "$unit" 2>/dev/null || true
}
trap cleanup EXIT

ip netns add "$host"
ip netns add "$unit"
ip -n "$unit" link add u0 type veth peer name h0 netns "$host"
ip -n "$host" addr add 10.78.0.1/16 dev h0
ip -n "$unit" addr add 10.78.0.2/16 dev u0
for ns in "$host" "$unit"; do ip -n "$ns" link set lo up; done
ip -n "$host" link set h0 up
ip -n "$unit" link set u0 up
# 255.255.255.255 needs a route to leave by.
ip -n "$host" route add default dev h0
ip -n "$unit" route add default dev u0

# Unit i (from 1) is 10.78.B.C with B = 1 + (i - 1) / 250, C = 1 + (i - 1) % 250.
address() { echo "10.78.$((1 + ($1 - 1) / 250)).$((1 + ($1 - 1) % 250))"; }
largest=0
for n in $sizes; do [ "$n" -gt "$largest" ] && largest=$n; done
for i in $(seq "$largest"); do ip -n "$unit" addr add "$(address "$i")/16" dev u0; done

for n in $sizes; do
  list=""
  for i in $(seq "$n"); do list="$list${list:+,}$(address "$i")"; done
  log=$(mktemp)
  ip netns exec "$unit" "$sim" --units "$list" --lan > "$log" &
  sim_pid=$!
  for _ in $(seq 200); do grep -q '^READY' "$log" && break; sleep 0.05; done
  ip netns exec "$host" "$bench" "$n" 60 || true
  found=$(ip netns exec "$host" "$ctl" discover --seconds 10 -o json 2>/dev/null | grep -o '"address"' | wc -l || true)
  echo "units $n ctl_discover_found $found"
  kill "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
  sim_pid=""
  rm -f "$log"
done

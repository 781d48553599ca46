#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang, under AddressSanitizer +
# UndefinedBehaviorSanitizer, in build/fuzz, and runs each over a copy of
# its seed corpus (fuzz/corpus/<target>/, with fuzz/dict/<target>.dict) for
# the given time. Fails on any finding; the input that caused it is kept in
# build/fuzz/runs/<target>/findings/ and the report at the end of its log.
#
#   bash scripts/fuzz.sh [seconds per target (default 30)] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_receive fuzz_preset fuzz_lan_datagrams fuzz_sim_requests)
build=build/fuzz

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++-14 \
  -DQIREQ_SANITIZE="address;undefined" -DQIREQ_BUILD_FUZZ=ON -DQIREQ_UNITY_BUILD=ON \
  -DQIREQ_BUILD_TESTS=OFF -DQIREQ_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target fuzz_targets

export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=()
for target in "${targets[@]}"; do
  run=$build/runs/$target
  rm -rf "$run"
  mkdir -p "$run/corpus" "$run/findings"
  cp fuzz/corpus/"$target"/* "$run/corpus/"
  options=(-max_total_time="$seconds" -timeout=10 -print_final_stats=1
           -artifact_prefix="$run/findings/")
  [ -f fuzz/dict/"$target".dict ] && options+=(-dict=fuzz/dict/"$target".dict)
  echo "-- $target: ${seconds} s"
  if "$build/fuzz/$target" "${options[@]}" "$run/corpus" >"$run/log" 2>&1; then
    # The last status line (executions, coverage, corpus) and the rate.
    grep -E '^#[0-9]+' "$run/log" | tail -n 1
    grep -E 'stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$run/log"
  else
    failed+=("$target")
    tail -n 60 "$run/log"
    echo "-- $target: FINDING, input kept in $run/findings/:"
    ls "$run/findings"
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in ${failed[*]}"
  exit 1
fi
echo "fuzz: no findings in ${targets[*]}"

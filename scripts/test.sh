#!/usr/bin/env bash
# Installs what is needed, checks the folder layers, builds QIR-EQ and runs
# every test: a normal build, then the same tests under AddressSanitizer +
# UndefinedBehaviorSanitizer with leak checks, the threaded tests (label
# "threads") under ThreadSanitizer, a short run of the fuzz targets (clang,
# libFuzzer), and the Windows build (MinGW-w64) with its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# Every folder includes only from the folders below it.
python3 scripts/check-layers.py

jobs=$(nproc)
started=$SECONDS
phase() {  # phase <name>: marks the end of the last phase in the log
  echo "== $1 after $((SECONDS - started)) s"
}
configure() {  # configure <dir> <cmake args...>
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQIREQ_UNITY_BUILD=ON "$@"
}
build() {  # build <dir> <cmake args...>
  configure "$@"
  cmake --build "$1" -j "$jobs"
}

build build/release
phase "release build"
ctest --test-dir build/release --output-on-failure -j "$jobs"
phase "release tests"

build build/asan -DQIREQ_SANITIZE="address;undefined" -DQIREQ_BUILD_BENCH=OFF
phase "asan build"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS="suppressions=$(pwd)/tests/support/lsan.supp" \
  ctest --test-dir build/asan --output-on-failure -j "$jobs" -LE nosan
phase "asan tests"

configure build/tsan -DQIREQ_SANITIZE=thread -DQIREQ_BUILD_BENCH=OFF
cmake --build build/tsan -j "$jobs" --target thread_tests
phase "tsan build"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
  ctest --test-dir build/tsan --output-on-failure -j "$jobs" -L threads --no-tests=ignore
phase "tsan tests"

# The fuzz targets, briefly: each over its seed corpus (long runs: README).
bash scripts/fuzz.sh 10
phase "fuzz"

# Windows: Qt for MinGW-w64 is built on a machine's first run (about half an
# hour) and cached; then the programs, the setup program, the Windows test
# programs under Wine and the black boxes against the simulated unit.
bash scripts/windows-build.sh
phase "windows build"
bash scripts/windows-check.sh
phase "windows under wine"

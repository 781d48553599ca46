#!/usr/bin/env bash
# Takes a screenshot of the main window on a virtual X display and saves it
# as a PNG (docs/screenshot.png unless another path is given).
#
#   bash scripts/screenshot.sh [output.png]
#
# Builds the program first if it is not built yet (QIREQ_BUILD_DIR picks the
# build directory, build/release by default). Needs xvfb-run and ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${QIREQ_BUILD_DIR:-build/release}
program="$build/src/qireq"
out=${1:-docs/screenshot.png}

if [ ! -x "$program" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$build" --target qireq
fi
mkdir -p "$(dirname "$out")"

# Runs inside the virtual display: start the program, wait for its window,
# capture it, and let the program close itself.
capture() {
  local program=$1 out=$2 pid window="" tries=0
  QT_QPA_PLATFORM=xcb QIREQ_TEST_CLOSE_AFTER_MS=20000 "$program" &
  pid=$!
  while [ -z "$window" ] && [ $tries -lt 100 ]; do
    sleep 0.1
    tries=$((tries + 1))
    if command -v xwininfo >/dev/null; then
      window=$(xwininfo -root -tree 2>/dev/null | awk '/"QIR-EQ_V4.7"/ { print $1; exit }')
    elif [ $tries -ge 30 ]; then
      window=root
    fi
  done
  if [ -z "$window" ]; then
    echo "screenshot: the window did not appear" >&2
    kill "$pid" 2>/dev/null || true
    return 1
  fi
  sleep 1.5  # first paint, curves and pictures
  if [ "$window" = root ]; then
    import -window root -trim +repage "$out"
  else
    import -window "$window" "$out"
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
export -f capture

xvfb-run -a -s "-screen 0 1280x800x24" bash -c 'capture "$1" "$2"' _ "$program" "$out"
echo "screenshot: $out"

#!/usr/bin/env bash
# Takes a screenshot of the main window on a virtual X display and saves it
# as a PNG (docs/screenshot.png unless another path is given).
#
#   bash scripts/screenshot.sh [output.png]
#
# Uses the tests' build of the program (tests/app/qireq-test-window: the same
# window without discovery) and builds it first if it is not built yet
# (QIREQ_BUILD_DIR picks the build directory, build/release by default).
# Needs xvfb-run and ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."

# Runs inside the virtual display (the script calls itself there with
# --inside): start the program, wait for its window, capture it, end it.
capture() {
  local program=$1 out=$2 pid window="" tries=0
  # The tests' build of the program: no discovery, so the picture shows the
  # window as it opens and nothing is sent to this machine's serial ports or
  # network; it closes itself after 20 s if the capture never ends it.
  QT_QPA_PLATFORM=xcb "$program" --close-after-ms 20000 &
  pid=$!
  while [ -z "$window" ] && [ $tries -lt 100 ]; do
    sleep 0.1
    tries=$((tries + 1))
    if command -v xwininfo >/dev/null; then
      # The mapped window of that name (Qt also keeps a hidden 1x1 one).
      for id in $(xwininfo -root -tree 2>/dev/null | awk '/"QIR-EQ_V4.7"/ { print $1 }'); do
        if xwininfo -id "$id" 2>/dev/null | grep -q 'IsViewable'; then
          window=$id
          break
        fi
      done
    elif [ $tries -ge 30 ]; then
      window=root
    fi
  done
  if [ -z "$window" ]; then
    echo "screenshot: the window did not appear" >&2
    kill "$pid" 2>/dev/null || true
    return 1
  fi
  sleep 1.5  # first paint: controls, pictures and the response curve
  if [ "$window" = root ]; then
    import -window root -trim +repage "$out"
  else
    import -window "$window" "$out"
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

if [ "${1:-}" = --inside ]; then
  capture "$2" "$3"
  exit
fi

build=${QIREQ_BUILD_DIR:-build/release}
program="$(pwd)/$build/tests/app/qireq-test-window"
out=${1:-docs/screenshot.png}

if [ ! -x "$program" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$build" --target qireq-test-window
fi
mkdir -p "$(dirname "$out")"

xvfb-run -a -s "-screen 0 1280x800x24" bash "$(pwd)/scripts/screenshot.sh" --inside "$program" "$out"
echo "screenshot: $out"

#!/usr/bin/env bash
# Runs the Windows build (scripts/windows-build.sh) under Wine, in a network
# namespace of its own with only loopback up, on a virtual X display:
#  1. the Windows test programs, through CTest in build/windows;
#  2. black boxes against the Linux simulated unit (build/release's qireq-sim):
#     - qireq-ctl.exe over TCP: the same output and exit status as the Linux
#       qireq-ctl for info, eq show, status and usage; a verified eq set;
#       preset push and pull byte-exact;
#     - serial: the simulator's pseudo-terminal mapped as COM1 through Wine's
#       registry, one that never answers as COM2 and one whose writes block
#       as COM3: qireq-ctl.exe reads the unit on COM1 and fails within its
#       --timeout on COM2 and COM3; the window lists the unit on COM1 while
#       the dead ports are probed, a click on its tile connects, and a drag
#       of a band marker sends SetBand to the simulator.
# What each step saw is kept in build/windows/check/ (logs, the window's
# screenshot). Needs root for the namespace; without it, it says so and
# stops with exit status 0.
#
#   bash scripts/windows-check.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

if [ "${1:-}" != --inside ]; then
  bash scripts/install-deps.sh wine wine64 fonts-wine xvfb xauth xdotool imagemagick \
    x11-utils python3 iproute2 util-linux
  [ -f build/windows/CMakeCache.txt ] || bash scripts/windows-build.sh
  if [ ! -x build/release/tools/qireq-sim/qireq-sim ] || [ ! -x build/release/tools/qireq-ctl/qireq-ctl ]; then
    cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build/release -j "$(nproc)" --target qireq-sim qireq-ctl
  fi
  if ! unshare --net true 2>/dev/null; then
    echo "windows-check: skipped: no network namespace can be made here (needs root)"
    exit 0
  fi
  exec unshare --net bash "$0" --inside
fi

# --- Inside the namespace --------------------------------------------------
ip link set lo up
out=$root/build/windows/check
rm -rf "$out"
mkdir -p "$out"
export WINEPREFIX=$root/build/windows/wine
export QIREQ_WINDOWS_SDK=${QIREQ_WINDOWS_SDK:-$HOME/.cache/qireq/windows-sdk}
wine_run() { bash "$root/scripts/wine-run.sh" "$@"; }
sim=$root/build/release/tools/qireq-sim/qireq-sim
ctl_linux=$root/build/release/tools/qireq-ctl/qireq-ctl
ctl_windows=$root/build/windows/tools/qireq-ctl/qireq-ctl.exe
qireq_windows=$root/build/windows/src/app/qireq.exe

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
fail() { echo "windows-check: FAILED: $*" >&2; exit 1; }
passed=0
pass() { passed=$((passed + 1)); echo "ok: $*"; }

# The display comes before the first Wine call: a wineserver started without
# one keeps every later window invisible. A server of this prefix started in
# another namespace would make its sockets there.
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
wineserver -k 2>/dev/null || true

wait_for_line() {  # wait_for_line <file> <extended regex> <seconds>
  local deadline=$((SECONDS + $3))
  while [ $SECONDS -lt $deadline ]; do
    grep -Eq "$2" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# --- Serial ports: COM1 a unit, COM2 silent, COM3 blocking -------------------
"$sim" --pty --name "Wine COM" --capability 17 >"$out/sim-serial.log" 2>&1 &
pids+=($!)
wait_for_line "$out/sim-serial.log" '^READY' 10 || fail "the serial simulator did not start"
unit_pty=$(sed -n 's/^PTY //p' "$out/sim-serial.log" | head -n 1)
python3 "$root/scripts/windows-check-ports.py" >"$out/dead-ports.txt" &
pids+=($!)
wait_for_line "$out/dead-ports.txt" '^BLOCKED ' 10 || fail "the dead ports were not made"
silent_pty=$(sed -n 's/^SILENT //p' "$out/dead-ports.txt")
blocked_pty=$(sed -n 's/^BLOCKED //p' "$out/dead-ports.txt")
for port in "COM1 $unit_pty" "COM2 $silent_pty" "COM3 $blocked_pty"; do
  set -- $port
  wine_run reg add 'HKLM\Software\Wine\Ports' /v "$1" /d "$2" /f >/dev/null 2>&1
done
wineserver -k  # the port links are made when the server starts
echo "COM1 $unit_pty, COM2 $silent_pty (silent), COM3 $blocked_pty (writes block)" | tee "$out/ports.txt"

# An interface with a known MAC beside loopback, for the MAC look-up test
# (SendARP answers for this machine's own addresses without sending).
ip link add qireq0 type veth peer name qireq1
ip link set qireq0 address 02:51:52:45:51:01
ip addr add 192.0.2.1/24 dev qireq0
ip link set qireq1 up
ip link set qireq0 up

# --- 1. The Windows test programs -----------------------------------------
echo "== ctest under Wine"
QIREQ_TEST_SILENT_COM_PORT=COM2 ctest --test-dir build/windows --output-on-failure -j 2 2>&1 \
  | tee "$out/ctest.log"
grep -q '100% tests passed' "$out/ctest.log" || fail "ctest under Wine"
ip link del qireq0  # the rest talks over loopback only

# --- 2. qireq-ctl.exe over TCP ----------------------------------------------
echo "== qireq-ctl.exe against the simulated unit over TCP"
"$sim" --tcp 127.0.0.2:5000 --name "Wine TCP" --capability 17 >"$out/sim-tcp.log" 2>&1 &
pids+=($!)
wait_for_line "$out/sim-tcp.log" '^READY' 10 || fail "the TCP simulator did not start"

# Output and exit status agree; Windows ends its text lines with CR LF, and
# the answer times of JSON ("ms") are the run's own.
same_as_linux() {  # same_as_linux <arguments...>
  local linux_status=0 windows_status=0
  "$ctl_linux" --tcp 127.0.0.2 "$@" 2>&1 | grep -v '"ms": ' >"$out/linux.txt" || true
  "$ctl_linux" --tcp 127.0.0.2 "$@" >/dev/null 2>&1 || linux_status=$?
  wine_run "$ctl_windows" --tcp 127.0.0.2 "$@" >"$out/windows-crlf.txt" 2>&1 || windows_status=$?
  tr -d '\r' <"$out/windows-crlf.txt" | grep -v '"ms": ' >"$out/windows.txt" || true
  cmp -s "$out/linux.txt" "$out/windows.txt" \
    || { diff "$out/linux.txt" "$out/windows.txt" >&2 || true; fail "qireq-ctl $* prints otherwise on Windows"; }
  [ "$linux_status" = "$windows_status" ] || fail "qireq-ctl $*: exit $windows_status on Windows, $linux_status on Linux"
  pass "qireq-ctl.exe $* (exit $windows_status) as on Linux"
}
same_as_linux info
same_as_linux eq show
same_as_linux -o json status
same_as_linux usage
same_as_linux eq set 9 --gain 1

wine_run "$ctl_windows" --tcp 127.0.0.2 eq set 3 --freq 1000 --gain -3.5 --q 2 >"$out/eq-set.txt" 2>&1 \
  || { cat "$out/eq-set.txt"; fail "a verified eq set"; }
pass "a verified eq set from Windows"
"$ctl_linux" --tcp 127.0.0.2 preset pull "$out/set.bin" >/dev/null
"$ctl_linux" --tcp 127.0.0.2 eq reset >/dev/null
wine_run "$ctl_windows" --tcp 127.0.0.2 preset push "$out/set.bin" >"$out/push.txt" 2>&1 \
  || { cat "$out/push.txt"; fail "preset push from Windows"; }
"$ctl_linux" --tcp 127.0.0.2 preset pull "$out/after-push.bin" >/dev/null
cmp "$out/set.bin" "$out/after-push.bin" || fail "the unit holds otherwise after a push from Windows"
wine_run "$ctl_windows" --tcp 127.0.0.2 preset pull "$out/windows-pull.bin" >/dev/null
cmp "$out/set.bin" "$out/windows-pull.bin" || fail "a pull on Windows writes another file"
pass "preset push and pull byte-exact"

# --- 3. Serial: COM1 a unit, COM2 silent, COM3 blocking -----------------------
echo "== qireq-ctl.exe on serial ports"
wine_run "$ctl_windows" --serial COM1 info >"$out/serial-info.txt" 2>&1 \
  || { cat "$out/serial-info.txt"; fail "qireq-ctl.exe --serial COM1 info"; }
grep -q 'Wine COM' "$out/serial-info.txt" || fail "COM1 info does not name the unit"
pass "qireq-ctl.exe --serial COM1 info"
for dead in COM2 COM3; do
  started=$SECONDS
  status=0
  timeout 30 bash "$root/scripts/wine-run.sh" "$ctl_windows" --serial "$dead" --timeout 2 info \
    >"$out/serial-$dead.txt" 2>&1 || status=$?
  took=$((SECONDS - started))
  [ "$status" = 1 ] || { cat "$out/serial-$dead.txt"; fail "$dead: exit $status, not 1"; }
  [ "$took" -le 6 ] || fail "$dead: failed only after $took s (--timeout 2)"
  pass "qireq-ctl.exe --serial $dead fails in $took s: $(head -n 1 "$out/serial-$dead.txt")"
done

# --- 4. The setup program -----------------------------------------------------
echo "== the setup program"
setup=$(ls "$root"/build/windows/qireq-*-win64-setup.exe)
wine_run "$setup" /S >"$out/setup.txt" 2>&1 || fail "the silent install"
installed="$WINEPREFIX/drive_c/Program Files/QIR-EQ"
[ -f "$installed/qireq.exe" ] || fail "the setup program installed no qireq.exe"
find "$WINEPREFIX/drive_c" -name 'QIR-EQ.lnk' | grep -q . || fail "no Start-menu entry"
# The installed program alone, with only the DLLs installed beside it: it
# starts and shows its window, and is still running a moment later; then it
# is ended by its pid. Its discovery goes nowhere: this namespace has only
# loopback and the COM ports above.
WINEDEBUG=-all wine "C:\\Program Files\\QIR-EQ\\qireq.exe" >"$out/installed-run.txt" 2>&1 &
installed_pid=$!
pids+=("$installed_pid")
installed_window() { xdotool search --onlyvisible --name '^QIR-EQ' 2>/dev/null | head -n 1; }
deadline=$((SECONDS + 60))
while [ -z "$(installed_window)" ] && [ $SECONDS -lt $deadline ] && kill -0 "$installed_pid" 2>/dev/null; do
  sleep 0.2
done
[ -n "$(installed_window)" ] || fail "the installed qireq.exe showed no window"
sleep 2
kill -0 "$installed_pid" 2>/dev/null || fail "the installed qireq.exe ended by itself"
import -window "$(installed_window)" "$out/installed-window.png" 2>/dev/null || true
kill "$installed_pid" 2>/dev/null || true
wait "$installed_pid" 2>/dev/null || true
for _ in $(seq 50); do [ -z "$(installed_window)" ] && break; sleep 0.1; done
# Should the pid have been a launcher's, this prefix's server (started by
# this script) ends what is left, so the window step below finds only its own.
[ -z "$(installed_window)" ] || wineserver -k
pass "the setup program installs silently; the installed qireq.exe starts and shows its window"
[ -f "$installed/Uninstall.exe" ] && wine_run "$installed/Uninstall.exe" /S >/dev/null 2>&1 || true

# --- 5. The window ------------------------------------------------------------
echo "== qireq.exe"
# 0 dB is a safe place to start from: the unit's band 3 must move for the drag.
"$ctl_linux" --serial "$unit_pty" eq reset >/dev/null
sleep 0.5  # the reset's lines are in the unit's log
from=$(wc -l <"$out/sim-serial.log")
: >"$out/window.log"
wine_run "$qireq_windows" >"$out/window.log" 2>&1 &
pids+=($!)
python3 "$root/scripts/windows-check-window.py" "$out" "$from" | tee "$out/window-steps.txt" || fail "the window"
pass "the window lists COM1, connects on a click and sends SetBand on a drag"

echo "windows-check: $passed passed, 0 failed"

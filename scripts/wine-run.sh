#!/usr/bin/env bash
# Runs a program of the Windows build under Wine with the DLLs it needs on
# its path: the SDK's Qt (scripts/windows-sdk.sh) and the MinGW runtime.
# CTest runs the Windows test programs through it (the build's
# CMAKE_CROSSCOMPILING_EMULATOR), and so does scripts/windows-check.sh.
#
#   bash scripts/wine-run.sh program.exe [arguments...]
#
# WINEPREFIX defaults to build/windows/wine, made on first use (one process
# makes it while others wait). Wine's own messages are off unless WINEDEBUG
# says otherwise.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sdk=${QIREQ_WINDOWS_SDK:-$HOME/.cache/qireq/windows-sdk}
export WINEPREFIX=${WINEPREFIX:-$root/build/windows/wine}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: their install dialogs would wait for a click.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

windows_path() {  # windows_path <unix path>: the same folder on Wine's drive Z:
  local p=$1
  echo "Z:${p//\//\\}"
}
runtime_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
pthread_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")
export WINEPATH="$(windows_path "$sdk/bin");$(windows_path "$runtime_dir");$(windows_path "$pthread_dir")"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      wineboot --init >/dev/null 2>&1 || true
      # Every Windows has Tahoma, the face behind the dialog font "MS Shell
      # Dlg". Wine ships one but lists it only from the Fonts folder; without
      # it Qt falls back to the first family it finds (here a maths font
      # whose glyph bearings scroll every QLineEdit's text out of sight).
      for face in tahoma tahomabd; do
        if [ -f "/usr/share/wine/fonts/$face.ttf" ]; then
          cp "/usr/share/wine/fonts/$face.ttf" "$WINEPREFIX/drive_c/windows/Fonts/"
          name="Tahoma"; [ "$face" = tahomabd ] && name="Tahoma Bold"
          wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
            /v "$name (TrueType)" /d "$face.ttf" /f >/dev/null 2>&1
        fi
      done
      wineserver --wait
    fi
  ) 9>"$WINEPREFIX.lock"
fi
exec wine "$@"

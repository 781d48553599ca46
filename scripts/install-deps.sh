#!/usr/bin/env bash
# Installs everything QIR-EQ needs to build, run and test on Debian 12; with
# package names as arguments, those instead (scripts/package.sh).
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev libudev-dev libgl-dev libxkbcommon-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  socat iproute2 xvfb xauth x11-apps imagemagick
  poppler-utils  # pdftotext and pdftoppm: the report tests read and render the PDF
  python3 python3-numpy python3-scipy
  clang-14 libclang-rt-14-dev llvm-14  # scripts/fuzz.sh: libFuzzer, llvm-symbolizer
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix  # scripts/windows-sdk.sh, windows-build.sh
)
[ $# -eq 0 ] || packages=("$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi

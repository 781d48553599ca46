#!/usr/bin/env bash
# Builds the Debian package of QIR-EQ: checks the desktop entry and the
# AppStream entry, builds build/package (Release, without tests) and runs
# cpack, which leaves qireq_<version>_amd64.deb there. Install it with
#   sudo apt install ./build/package/qireq_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh \
  build-essential cmake ninja-build pkg-config dpkg-dev \
  qt6-base-dev qt6-serialport-dev libudev-dev libgl-dev libxkbcommon-dev \
  desktop-file-utils appstream

desktop-file-validate data/com.example.qireq.desktop
appstreamcli validate --no-net data/com.example.qireq.metainfo.xml

build=build/package
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQIREQ_BUILD_TESTS=OFF -DQIREQ_BUILD_BENCH=OFF
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/qireq_*.deb
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$build"
ls -l "$build"/qireq_*.deb

#!/usr/bin/env bash
# Builds QIR-EQ for 64-bit Windows on this Linux machine: Qt for MinGW-w64
# first when it is not cached (scripts/windows-sdk.sh, about half an hour),
# then build/windows with qireq.exe, qireq-ctl.exe, the test programs that
# run on Windows and the benchmarks, and the packages:
#   build/windows/qireq-<version>-win64.zip        the programs with their DLLs
#   build/windows/qireq-<version>-win64-setup.exe  the setup program (NSIS)
# scripts/windows-check.sh runs the tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh nsis librsvg2-bin imagemagick file
sdk=$(bash scripts/windows-sdk.sh | tail -n 1)

started=$SECONDS
cmake -S . -B build/windows -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$sdk/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DQIREQ_UNITY_BUILD=ON \
  -DCMAKE_CROSSCOMPILING_EMULATOR="env;QIREQ_WINDOWS_SDK=$sdk;$PWD/scripts/wine-run.sh"
cmake --build build/windows -j "$(nproc)"
(cd build/windows && cpack -G "ZIP;NSIS" --config CPackConfig.cmake >cpack.log)
echo "== windows build after $((SECONDS - started)) s"
file build/windows/src/app/qireq.exe build/windows/tools/qireq-ctl/qireq-ctl.exe \
  build/windows/qireq-*-win64.zip build/windows/qireq-*-win64-setup.exe

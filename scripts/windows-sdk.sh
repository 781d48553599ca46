#!/usr/bin/env bash
# Builds what the Windows build of QIR-EQ links against, cross-compiled with
# MinGW-w64, into one folder ($QIREQ_WINDOWS_SDK, by default
# ~/.cache/qireq/windows-sdk):
#   - Qt Base 6.4.2 from Debian's source package (the release of the host
#     tools it builds with, Debian's security fixes applied): Core, Gui,
#     Widgets, Network and Test; the windows, direct2d, offscreen and
#     minimal platform plugins; shared, Release; no OpenGL, TLS, SQL, D-Bus
#     or print support; Qt's own zlib, PCRE2, FreeType, HarfBuzz and libpng;
#   - Qt Serial Port 6.4.2 from shared/vendor, its wait for received bytes
#     taken from an event rather than the completion port, which Wine needs
#     (scripts/windows-sdk/qtserialport-overlapped-events.patch);
#   - GoogleTest from the source Debian's googletest package installs, and
#     Google Benchmark from Debian's source package, both static.
# Each part is stamped with its version and a hash of the recipe that built
# it (its function below, the toolchain file, its patches); a part whose
# stamp matches is not built again. A new Qt Base starts the folder afresh.
# Every compile runs under nice at -j2.
#
#   bash scripts/windows-sdk.sh        prints the SDK's folder when done
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/install-deps.sh build-essential cmake ninja-build patch xz-utils \
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
  qt6-base-dev qt6-base-dev-tools googletest

sdk=${QIREQ_WINDOWS_SDK:-$HOME/.cache/qireq/windows-sdk}
qt_version=6.4.2
# This machine's moc, rcc and uic generate Qt's code: Qt Base must be the
# same Debian release.
qtbase_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
gtest_version=$(dpkg-query -W -f='${Version}' googletest)
benchmark_version=1.7.1-1
jobs=2

case "$qtbase_version" in
  "$qt_version"+*) ;;
  *) echo "windows-sdk.sh: this machine's Qt is $qtbase_version, not $qt_version" >&2; exit 1 ;;
esac

work=$(mktemp -d "${TMPDIR:-/tmp}/qireq-windows-sdk.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Downloads a Debian source package into $work, through a deb-src entry
# beside the machine's deb entries when it has none.
fetch_debian_source() {  # fetch_debian_source <package>=<version>
  if ! (cd "$work" && apt-get source --download-only "$1" >/dev/null 2>&1); then
    local sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources
    else
      sed -n 's/^deb /deb-src /p' /etc/apt/sources.list
    fi | $sudo_cmd tee /etc/apt/sources.list.d/qireq-deb-src.sources >/dev/null
    $sudo_cmd apt-get update
    (cd "$work" && apt-get source --download-only "$1")
  fi
}

build_qtbase() {
  fetch_debian_source qt6-base="$qtbase_version"
  tar -C "$work" -xf "$work"/qt6-base_*.orig.tar.xz
  tar -C "$work" -xf "$work"/qt6-base_*.debian.tar.xz
  local src=$work/qtbase-everywhere-src-$qt_version
  # Debian's fixes of security faults; its other patches are for Linux.
  local p
  for p in $(grep -E '^cve-' "$work/debian/patches/series"); do
    patch -d "$src" -p1 -s <"$work/debian/patches/$p"
  done
  patch -d "$src" -p1 -s <scripts/windows-sdk/qtbase-without-wintab.patch
  # Qt's own toolchain file (lib/cmake/Qt6/qt.toolchain.cmake) loads this copy.
  cp cmake/mingw-w64.cmake "$sdk/mingw-w64.cmake"
  nice cmake -S "$src" -B "$work/qtbase-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$sdk/mingw-w64.cmake" \
    -DCMAKE_INSTALL_PREFIX="$sdk" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DINPUT_opengl=no -DINPUT_ssl=no \
    -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF \
    -DFEATURE_zstd=OFF -DFEATURE_brotli=OFF -DFEATURE_icu=OFF -DFEATURE_glib=OFF \
    -DFEATURE_freetype=ON -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF \
    -DFEATURE_system_jpeg=OFF -DFEATURE_system_doubleconversion=OFF
  nice cmake --build "$work/qtbase-build" -j "$jobs"
  cmake --install "$work/qtbase-build" >/dev/null
}

build_qtserialport() {
  tar -C "$work" -xf "$root/../shared/vendor/qtserialport-everywhere-src-$qt_version.tar.xz"
  patch -d "$work/qtserialport-everywhere-src-$qt_version" -p1 -s \
    <scripts/windows-sdk/qtserialport-overlapped-events.patch
  nice cmake -S "$work/qtserialport-everywhere-src-$qt_version" -B "$work/serialport-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$sdk/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
  nice cmake --build "$work/serialport-build" -j "$jobs"
  cmake --install "$work/serialport-build" >/dev/null
}

build_googletest() {
  nice cmake -S /usr/src/googletest -B "$work/gtest-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$sdk/mingw-w64.cmake" \
    -DCMAKE_INSTALL_PREFIX="$sdk" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF
  nice cmake --build "$work/gtest-build" -j "$jobs"
  cmake --install "$work/gtest-build" >/dev/null
}

build_benchmark() {
  fetch_debian_source benchmark="$benchmark_version"
  tar -C "$work" -xf "$work"/benchmark_*.orig.tar.*
  nice cmake -S "$work/benchmark-${benchmark_version%-*}" -B "$work/benchmark-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$sdk/mingw-w64.cmake" \
    -DCMAKE_INSTALL_PREFIX="$sdk" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF \
    -DBENCHMARK_ENABLE_TESTING=OFF -DBENCHMARK_ENABLE_GTEST_TESTS=OFF \
    -DBENCHMARK_ENABLE_WERROR=OFF
  nice cmake --build "$work/benchmark-build" -j "$jobs"
  cmake --install "$work/benchmark-build" >/dev/null
}

recipe_hash() {  # recipe_hash <part> [files...]: what decides how the part is built
  { declare -f "build_$1"; cat cmake/mingw-w64.cmake "${@:2}"; } | sha256sum | cut -c1-16
}

ensure() {  # ensure <part> <version> [files the recipe reads...]
  local part=$1 stamp="$2 $(recipe_hash "$1" "${@:3}")"
  if [ "$(cat "$sdk/stamps/$part" 2>/dev/null)" = "$stamp" ]; then
    return
  fi
  echo "== $part $2 for Windows"
  rm -f "$sdk/stamps/$part"
  "build_$part"
  mkdir -p "$sdk/stamps"
  echo "$stamp" >"$sdk/stamps/$part"
}

qtbase_stamp="$qtbase_version $(recipe_hash qtbase scripts/windows-sdk/qtbase-*.patch)"
if [ "$(cat "$sdk/stamps/qtbase" 2>/dev/null)" != "$qtbase_stamp" ]; then
  rm -rf "$sdk"  # everything else is built against Qt Base
  mkdir -p "$sdk"
fi
ensure qtbase "$qtbase_version" scripts/windows-sdk/qtbase-*.patch
ensure qtserialport "$qt_version" scripts/windows-sdk/qtserialport-overlapped-events.patch
ensure googletest "$gtest_version"
ensure benchmark "$benchmark_version"
echo "$sdk"

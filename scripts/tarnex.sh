#!/usr/bin/env bash
# Installs what the build needs (Debian 12), builds, then either starts the program on the demo
# bank (run) or runs the whole test suite headless (test).
#   scripts/tarnex.sh run    install, build, start tarnex from build/bin
#   scripts/tarnex.sh test   install, build with warnings as errors, run every test through CTest
#   scripts/tarnex.sh package   install, build, make the Debian package velquarn_<version>_<arch>.deb
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TARNEX_BUILD_DIR:-$here/build}
mode=${1:-}
case "$mode" in
  run|test|package) ;;
  *) echo "usage: $0 run|test|package" >&2; exit 2 ;;
esac

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-multimedia-dev libgl-dev
  libsqlcipher-dev sqlcipher unixodbc-dev unixodbc tdsodbc
  libzip-dev libxlsxwriter-dev
  googletest libgtest-dev libbenchmark-dev
  fonts-wqy-zenhei
  libreoffice-writer-nogui unrtf
  xvfb dbus at-spi2-core python3-pyatspi
  dpkg-dev file lintian appstream desktop-file-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc 2>/dev/null || echo 2)
if [ "$mode" = test ]; then
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNEX_WERROR=ON
  cmake --build "$build" -j "$jobs"
  cd "$build"
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs"
elif [ "$mode" = package ]; then
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$build" -j "$jobs" --target package
else
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$build" -j "$jobs"
  exec "$build/bin/tarnex"
fi

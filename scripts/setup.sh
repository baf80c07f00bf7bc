#!/usr/bin/env bash
# Set-up for a fresh Debian 12 machine.
#   scripts/setup.sh run    install, build, start the program on its delivered database
#   scripts/setup.sh test   install, build, run every test
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES="g++ cmake ninja-build pkg-config qt6-base-dev qt6-qpa-plugins qt6-serialport-dev
  libsqlcipher-dev fonts-nanum qt6-translations-l10n libxlsxwriter-dev libzip-dev
  poppler-utils"

install_packages() {
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  # shellcheck disable=SC2086
  $sudo apt-get install -y -qq --no-install-recommends $PACKAGES >/dev/null
}

build() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build --parallel "$(nproc)"
}

case "${1:-}" in
  run)
    install_packages
    build
    exec build/bin/torvisk
    ;;
  test)
    install_packages
    build
    cd build
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 300
    ;;
  *)
    echo "usage: scripts/setup.sh run|test" >&2
    exit 2
    ;;
esac

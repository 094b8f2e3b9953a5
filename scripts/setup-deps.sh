#!/usr/bin/env bash
# Installs every Debian package KORVEN needs to build, run and test. Safe to run again.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config clang-format
  qt6-base-dev qt6-multimedia-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
  firebird-dev libfbclient2 libxlsxwriter-dev libzip-dev libpugixml-dev
  # run: the embedded engine, the server, its tools, the archiver, fonts
  firebird3.0-server-core firebird3.0-server firebird3.0-utils arj fonts-dejavu-core
  # Qt's own texts (question buttons, file and print dialogs) in Polish
  qt6-translations-l10n
  # tests and looking at what we build
  googletest libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool poppler-utils imagemagick unzip zip
  # the desktop tests run the program under a window manager, as operators have one
  openbox x11-utils
  libreoffice-calc-nogui libreoffice-writer-nogui
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  # The server package tries to start its service; where no init system allows it, that is harmless.
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

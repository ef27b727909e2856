#!/usr/bin/env bash
# Installs what building, running and testing the program needs on Debian,
# then configures and builds it. Sourced by run.sh and test.sh; with
# GRADES_WERROR=ON (test.sh, and so CI) every compiler warning is an error.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"

# Qt Charts' CMake files need the OpenGL development files, which Debian
# does not pull in with qt6-charts-dev.
PACKAGES=(
  build-essential cmake ninja-build ccache
  qt6-base-dev libqt6sql6-sqlite qt6-charts-dev libqt6opengl6-dev libsqlite3-dev qt6-translations-l10n libgl1-mesa-dev
  fonts-arphic-uming fonts-wqy-microhei
  libxlsxwriter-dev libquazip1-qt6-dev
  xvfb xauth openbox xdotool sqlite3 imagemagick poppler-utils python3-openpyxl
  postgresql postgresql-client libqt6sql6-psql
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then
    echo "Installing ${missing[*]} with sudo (you are not root)."
    SUDO="sudo"
  else
    echo "Installing ${missing[*]}."
  fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

export CCACHE_BASEDIR="$ROOT"
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGRADES_WERROR="${GRADES_WERROR:-OFF}" >/dev/null
cmake --build "$BUILD_DIR" -j 2

#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/scripts/setup.sh"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat <<MSG
There is no display here, so the program's window cannot be shown.
It is built in $BUILD_DIR. To run it on a virtual X server:

  xvfb-run -a -s "-screen 0 1280x1024x24" $BUILD_DIR/StudentGrades

MSG
  exit 1
fi
exec "$BUILD_DIR/StudentGrades" "$@"

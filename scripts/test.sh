#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the widget tests on
# Qt's offscreen platform, the end-to-end tests on a virtual X server.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/scripts/setup.sh"
ctest --test-dir "$BUILD_DIR" --output-on-failure -j 2 "$@"

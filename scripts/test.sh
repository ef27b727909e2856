#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the widget tests on
# Qt's offscreen platform, the end-to-end tests on a virtual X server. The
# build treats warnings as errors here (and so in CI); run.sh does not.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export GRADES_WERROR=ON
source "$ROOT/scripts/setup.sh"
ctest --test-dir "$BUILD_DIR" --output-on-failure -j 2 "$@"

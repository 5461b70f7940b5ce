#!/usr/bin/env bash
# Sets up, builds and runs every test. Extra arguments go to CMake's configure step.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${TORTELET_BUILD_DIR:-$top/build}
bash "$top/scripts/setup.sh" run test "$@"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

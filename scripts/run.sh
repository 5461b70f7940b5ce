#!/usr/bin/env bash
# Sets up, builds and starts Tortelet Studio.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/setup.sh" run
exec "${TORTELET_BUILD_DIR:-$top/build}/app/tortelet-studio"

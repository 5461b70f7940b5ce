#!/usr/bin/env bash
# Builds the Debian package: sets up and builds the project as scripts/run.sh does (extra arguments
# go to CMake's configure step), then packs what `cmake --install` lays out under /usr into
# build/tortelet-studio_<version>_<arch>.deb (or $TORTELET_BUILD_DIR). Prints the package's path.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${TORTELET_BUILD_DIR:-$top/build}
bash "$top/scripts/setup.sh" run "$@"
rm -f "$build"/tortelet-studio_*.deb
(cd "$build" && cpack -G DEB >&2)
ls "$build"/tortelet-studio_*.deb

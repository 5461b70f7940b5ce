#!/usr/bin/env bash
# Installs the Debian packages of the named lists when they are missing, then configures and builds
# the project into build/ (or $TORTELET_BUILD_DIR):
#   bash scripts/setup.sh run [test] [CMAKE-ARGUMENTS...]
# The tests and the benchmarks are built when the test list is named.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${TORTELET_BUILD_DIR:-$top/build}

lists=()
while [ $# -gt 0 ] && [ -f "$top/scripts/packages-$1.txt" ]; do
  lists+=("$1")
  shift
done
bash "$top/scripts/install-packages.sh" "${lists[@]}"

with_tests=OFF
for list in "${lists[@]}"; do [ "$list" != test ] || with_tests=ON; done
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORTELET_TESTS=$with_tests \
  -DTORTELET_BENCH=$with_tests "$@"
cmake --build "$build" -j "$(nproc)"

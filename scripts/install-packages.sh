#!/usr/bin/env bash
# Installs the Debian packages of the named lists that are missing, with sudo unless run as root:
#   bash scripts/install-packages.sh run [test]
# "run" is scripts/packages-run.txt (building and running), "test" scripts/packages-test.txt.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

wanted=()
for list in "$@"; do
  file="$top/scripts/packages-$list.txt"
  [ -f "$file" ] || { echo "install-packages.sh: no package list \"$list\"" >&2; exit 2; }
  mapfile -t -O "${#wanted[@]}" wanted < <(grep -v '^\s*#' "$file" | sed '/^\s*$/d')
done
missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

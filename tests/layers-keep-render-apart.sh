#!/usr/bin/env bash
# The table of rooms keeps the drawing and the file formats apart: a file of a format room (biff, ods,
# xlsx) that includes a header of render, or a file of render that includes a header of a format room,
# makes scripts/check-layers.sh fail. Each probe is a tree of one such file with the real table.
set -euo pipefail
top=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
faults=0

probe()
{
    local room=$1 included=$2 tree="$scratch/$1-$(basename "$2" .h)"
    mkdir -p "$tree/scripts" "$tree/$room"
    cp "$top/scripts/layers.txt" "$top/scripts/check-layers.sh" "$tree/scripts/"
    printf '#include "%s"\n' "$included" >"$tree/$room/Probe.cpp"
    if output=$(bash "$tree/scripts/check-layers.sh" "$tree"); then
        echo "$room may include $included, but must not"
        faults=$((faults + 1))
    elif [[ $output != *"$room/Probe.cpp:1: includes $included"* ]]; then
        echo "$room including $included fails for another reason: $output"
        faults=$((faults + 1))
    fi
}

for room in sheet/biff sheet/ods sheet/xlsx; do
    probe "$room" sheet/render/PieChart.h
    probe sheet/render "$room/Probe.h"
done
((faults == 0)) && echo "no format room uses render, and render uses none of them"
exit $((faults > 0))

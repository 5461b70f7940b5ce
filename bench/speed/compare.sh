#!/bin/bash
# Paired figures: tortelet-sheet dump, xlrd and SheetJS on the same
# workbooks, taken in turn, RUNS times each; prints each reader's best CPU time (user + system) and
# its peak resident set, and the rate of tortelet-sheet dump in MB/s of file.
#
#   bash bench/speed/compare.sh TORTELET-SHEET SHEETJS-FOLDER WORKBOOK...      (RUNS=5 by default)
#
# SHEETJS-FOLDER is where `npm install xlsx` was run. The workbooks come from make-speed-workbooks.py.
# With BEFORE=ANOTHER-TORTELET-SHEET, that build's dump is measured in the same turns, for figures
# before and after a change.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tool=$1 sheetjs=$2
shift 2
runs=${RUNS:-5}

# Prints "cpu-seconds peak-kB" of the best of $runs runs of the command.
measure() {
    local best="" peak="" figures
    figures=$(mktemp)
    for ((i = 0; i < runs; i++)); do
        /usr/bin/time -o "$figures" -f "%U %S %M" "$@" >/dev/null 2>&1
        read -r user system kb <"$figures"
        local cpu
        cpu=$(echo "$user + $system" | bc)
        if [[ -z $best ]] || (($(echo "$cpu < $best" | bc))); then best=$cpu; fi
        peak=$kb
    done
    rm -f "$figures"
    echo "$best $peak"
}

printf '%-16s %-10s %8s %9s %8s\n' workbook reader cpu_s peak_MB MB/s
for book in "$@"; do
    size=$(stat -c %s "$book")
    for reader in ${BEFORE:+before} tortelet xlrd sheetjs; do
        case $reader in
        before) command=("$BEFORE" dump "$book") ;;
        tortelet) command=("$tool" dump "$book") ;;
        xlrd) command=(/usr/bin/python3 "$here/xlrd-list.py" "$book") ;;
        sheetjs) command=(env NODE_PATH="$sheetjs/node_modules" node "$here/sheetjs-list.js" "$book") ;;
        esac
        read -r cpu kb <<<"$(measure "${command[@]}")"
        rate=$(echo "scale=1; $size / 1048576 / $cpu" | bc 2>/dev/null || echo -)
        printf '%-16s %-10s %8s %9.1f %8s\n' "$(basename "$book")" "$reader" "$cpu" "$(echo "$kb / 1024" | bc -l)" "$rate"
    done
done

#!/bin/sh
# Peak resident set of tortelet-sheet's dump, fill and render on the two dense workbooks, measured
# with /usr/bin/time -v, next to the bound every workbook keeps to: 4 times its size plus 50 MB.
#   bench/memory/measure-dense.sh BUILD_FOLDER
set -eu
build=${1:?the build folder, such as build}
tool=$build/tools/tortelet-sheet/tortelet-sheet
maker=$build/bench/memory/make_dense_workbook
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'Savings\t1000\nShares\t2500\n' > "$work/entries.txt"

peak() {
    /usr/bin/time -v "$@" > /dev/null 2> "$work/time.txt" || true
    grep 'Maximum resident' "$work/time.txt" | awk '{ printf "%.0f", $NF / 1024 }'
}

for made in mulrk mulblank "mulrk 65536"; do
    set -- $made
    kind=$1
    book=$work/$kind.xls
    "$maker" "$kind" "$book" ${2:-}
    size=$(stat -c %s "$book")
    awk -v kind="$made" -v size="$size" \
        'BEGIN { printf "%s: %.1f MB, bound %.0f MB\n", kind, size / 1048576, 4 * size / 1048576 + 50 }'
    printf '  dump %s MB\n' "$(peak "$tool" dump "$book")"
    printf '  fill %s MB\n' "$(peak "$tool" fill "$book" "$work/filled.xls" "$work/entries.txt")"
    printf '  render --range A1:O40 %s MB\n' "$(peak "$tool" render "$book" "$work/part.png" --range A1:O40)"
    printf '  render (refused) %s MB\n' "$(peak "$tool" render "$book" "$work/whole.png")"
done

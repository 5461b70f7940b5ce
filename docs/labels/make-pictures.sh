#!/bin/bash
# Draws two crowded pies as tortelet-sheet renders them, into eight-entries.png (Latin, Japanese and
# Arabic labels, small slices side by side) and arabic.png (every label right to left) beside this
# script:
#     bash docs/labels/make-pictures.sh build/tools/tortelet-sheet/tortelet-sheet
# The Japanese label needs a CJK font, such as fonts-wqy-microhei's; without one it shows boxes.
set -euo pipefail

tool=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$tool" template "$work/Pie Chart.xlt"
printf 'Savings\t25000\n401k\t55000\n株式\t15000\nHouse\t250000\nأسهم عقارية\t3000\nBonds\t11000\nCar\t7500\népargne café\t100\n' \
    > "$work/eight-entries.txt"
printf 'ادخار\t25000\nتقاعد\t55000\nأسهم\t15000\nمنزل\t250000\nأسهم عقارية\t3000\nسندات\t11000\nسيارة\t7500\n' \
    > "$work/arabic.txt"
for name in eight-entries arabic; do
    "$tool" fill "$work/Pie Chart.xlt" "$work/$name.xls" "$work/$name.txt"
    "$tool" render "$work/$name.xls" "$here/$name.png"
done

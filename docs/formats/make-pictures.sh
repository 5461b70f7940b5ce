#!/bin/bash
# Draws the filled sample as LibreOffice prints it, once from the .xls and once from the .xlsx that
# tortelet-sheet writes, into libreoffice-xls.png and libreoffice-xlsx.png beside this script:
#     bash docs/formats/make-pictures.sh build/tools/tortelet-sheet/tortelet-sheet
# Needs LibreOffice (soffice) and pdftoppm (poppler-utils).
set -euo pipefail

tool=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$tool" template "$work/Pie Chart.xlt"
printf 'Savings\t25000\n401k\t55000\nStocks\t15000\nHouse\t250000\nBonds\t11000\nCar\t7500\n' > "$work/sample.txt"
for name in libreoffice-xls.xls libreoffice-xlsx.xlsx; do
    "$tool" fill "$work/Pie Chart.xlt" "$work/$name" "$work/sample.txt"
done
# The whole sheet on one page, so that the chart is not cut between pages.
soffice --headless --norestore "-env:UserInstallation=file://$work/profile" \
    --convert-to 'pdf:calc_pdf_Export:{"SinglePageSheets":{"type":"boolean","value":"true"}}' \
    --outdir "$work" "$work/libreoffice-xls.xls" "$work/libreoffice-xlsx.xlsx" > /dev/null 2>&1
for name in libreoffice-xls libreoffice-xlsx; do
    pdftoppm -png -r 60 -singlefile "$work/$name.pdf" "$here/$name"
done

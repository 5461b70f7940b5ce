#!/bin/sh
# Writes lo-strings.xls with LibreOffice: 1,500 distinct texts (so the string table goes on in
# CONTINUE records), one text of 9,000 characters split between records, numbers and Unicode.
# Run: sh make-libreoffice-workbook.sh
set -e
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 - "$work/lo-strings.csv" <<'PY'
import sys
with open(sys.argv[1], "w", encoding="utf-8") as out:
    out.write("Label,Amount\n")
    for i in range(1500):
        out.write(f"entry {i} ünïcödé {'x' * (i % 17)},{i * 1.25}\n")
    out.write("long," + "0123456789" * 900 + "\n")
PY
soffice -env:UserInstallation=file://"$work"/profile --headless --convert-to xls:"MS Excel 97" \
    --infilter=CSV:44,34,76,1 --outdir "$work" "$work/lo-strings.csv" >/dev/null 2>&1
cp "$work/lo-strings.xls" .

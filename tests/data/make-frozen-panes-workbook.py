#!/usr/bin/python3
"""Writes gnumeric-frozen-panes.xls: a workbook whose sheets have frozen panes, which a headless
LibreOffice leaves out when it saves BIFF8. openpyxl writes it as .xlsx and Gnumeric's ssconvert
saves that as BIFF8, with a PANE record and the frozen flag in WINDOW2 for each frozen sheet.

"Assets": the first row and column frozen (B2), over a table of amounts. "Years": the three top
rows frozen (A4). "Notes": no panes.

    /usr/bin/python3 tests/data/make-frozen-panes-workbook.py [output folder]
"""

import os
import subprocess
import sys
import tempfile

import openpyxl

HERE = os.path.dirname(os.path.abspath(__file__))
ENTRIES = [("Savings", 25000), ("401k", 55000), ("Stocks", 15000), ("House", 250000), ("Bonds", 11000), ("Car", 7500)]


def workbook(path):
    book = openpyxl.Workbook()
    assets = book.active
    assets.title = "Assets"
    assets.append(["Asset Type", "Amount", "Share"])
    for label, amount in ENTRIES:
        assets.append([label, amount, amount / sum(value for _, value in ENTRIES)])
    assets.freeze_panes = "B2"
    years = book.create_sheet("Years")
    years.append(["Yearly amounts"])
    years.append([])
    years.append(["Year", "Amount"])
    for year in range(2000, 2030):
        years.append([year, 1000 + 100 * (year - 2000)])
    years.freeze_panes = "A4"
    notes = book.create_sheet("Notes")
    notes["A1"] = "No panes here"
    book.save(path)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else HERE
    with tempfile.TemporaryDirectory(prefix="tortelet-frozen-") as scratch:
        source = os.path.join(scratch, "gnumeric-frozen-panes.xlsx")
        workbook(source)
        subprocess.run(["ssconvert", "--export-type=Gnumeric_Excel:excel_biff8", source,
                        os.path.join(folder, "gnumeric-frozen-panes.xls")],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


if __name__ == "__main__":
    main()

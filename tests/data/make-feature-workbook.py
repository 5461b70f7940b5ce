#!/usr/bin/python3
"""Writes libreoffice-features.xls: a workbook whose sheets carry what a converted package must keep
or name. openpyxl writes it as .xlsx and a private headless LibreOffice saves that as BIFF8.

"Assets": the data rows A1:B7 under an AutoFilter (its arrows are drop-down objects), a link to a web
page, one to a mail address and one to a cell of "Summary"; a conditional format on the amounts, data
validation of a whole number and of a list; a header "&A", a footer "Page &P of &N", landscape A4
with a left margin of one inch. "Summary": a formula over the amounts.

    /usr/bin/python3 tests/data/make-feature-workbook.py [output folder]
"""

import os
import subprocess
import sys
import tempfile

import openpyxl
from openpyxl.formatting.rule import CellIsRule
from openpyxl.styles import Font, PatternFill
from openpyxl.worksheet.datavalidation import DataValidation

HERE = os.path.dirname(os.path.abspath(__file__))
ENTRIES = [("Savings", 25000), ("401k", 55000), ("Stocks", 15000), ("House", 250000), ("Bonds", 11000), ("Car", 7500)]


def workbook(path):
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "Assets"
    sheet.append(["Asset Type", "Amount", "Link"])
    for entry in ENTRIES:
        sheet.append(list(entry))
    for cell, text, target in [("C2", "Tortelet", "https://example.org/tortelet"),
                               ("C3", "Mail", "mailto:someone@example.org"),
                               ("C4", "Summary", "#Summary!A1")]:
        sheet[cell] = text
        sheet[cell].hyperlink = target
    sheet.auto_filter.ref = "A1:B7"
    sheet.conditional_formatting.add("B2:B7", CellIsRule(operator="greaterThan", formula=["20000"],
                                                         fill=PatternFill("solid", bgColor="FFC7CE"),
                                                         font=Font(color="9C0006")))
    whole = DataValidation(type="whole", operator="between", formula1="0", formula2="1000000",
                           showErrorMessage=True, error="A whole amount, please", prompt="The amount in dollars")
    listed = DataValidation(type="list", formula1='"Savings,401k,Stocks,House,Bonds,Car"', allow_blank=True)
    for validation, cells in [(whole, "B2:B7"), (listed, "A2:A7")]:
        sheet.add_data_validation(validation)
        validation.add(cells)
    sheet.oddHeader.center.text = "&A"
    sheet.oddFooter.center.text = "Page &P of &N"
    sheet.page_setup.orientation = "landscape"
    sheet.page_setup.paperSize = 9
    sheet.page_margins.left = 1.0
    summary = book.create_sheet("Summary")
    summary["A1"] = "Total"
    summary["B1"] = "=SUM(Assets!B2:B7)"
    book.save(path)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else HERE
    with tempfile.TemporaryDirectory(prefix="tortelet-features-") as scratch:
        source = os.path.join(scratch, "libreoffice-features.xlsx")
        workbook(source)
        subprocess.run(["soffice", "-env:UserInstallation=file://" + os.path.join(scratch, "profile"), "--headless",
                        "--convert-to", "xls:MS Excel 97", "--outdir", folder, source],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


if __name__ == "__main__":
    main()

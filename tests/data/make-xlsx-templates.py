#!/usr/bin/python3
"""Writes the SpreadsheetML chart templates in this folder, each made by another program:

libreoffice-pie-chart.xlsx   the built-in template (resources/templates/pie-chart.xlt) saved by
                             LibreOffice as a workbook ("Calc MS Excel 2007 XML")
libreoffice-pie-chart.xltx   the same saved as a template ("Calc MS Excel 2007 XML Template")
gnumeric-pie-chart.xlsx      the built-in template converted by Gnumeric's ssconvert
openpyxl-pie-3d.xlsx         "Assets" with the six sample entries in A4:B9 under a header in row 3
                             and a 3-D pie (openpyxl's PieChart3D) over them

    /usr/bin/python3 tests/data/make-xlsx-templates.py [output folder]
"""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
TEMPLATE = os.path.join(HERE, "..", "..", "resources", "templates", "pie-chart.xlt")
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "office"))

ENTRIES = [("Savings", 25000), ("401k", 55000), ("Stocks", 15000), ("House", 250000), ("Bonds", 11000),
           ("Car", 7500)]


def libreoffice(folder):
    from office_session import OfficeSession, file_url, properties
    with OfficeSession() as office:
        document = office.open(TEMPLATE)
        try:
            for name, filter_name in (("libreoffice-pie-chart.xlsx", "Calc MS Excel 2007 XML"),
                                      ("libreoffice-pie-chart.xltx", "Calc MS Excel 2007 XML Template")):
                document.storeToURL(file_url(os.path.join(folder, name)),
                                    properties(FilterName=filter_name, Overwrite=True))
        finally:
            document.close(True)


def gnumeric(folder):
    subprocess.run(["ssconvert", "--export-type=Gnumeric_Excel:xlsx2", TEMPLATE,
                    os.path.join(folder, "gnumeric-pie-chart.xlsx")],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def openpyxl_pie(folder):
    import openpyxl
    from openpyxl.chart import PieChart3D, Reference
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "Assets"
    sheet["A3"], sheet["B3"] = "Asset Type", "Amount"
    for row, (label, amount) in enumerate(ENTRIES, start=4):
        sheet.cell(row, 1, label)
        sheet.cell(row, 2, amount).number_format = '_("$"* #,##0_);_("$"* \\(#,##0\\);_("$"* "-"??_);_(@_)'
    pie = PieChart3D()
    pie.title = "My Assets"
    pie.add_data(Reference(sheet, min_col=2, min_row=3, max_row=9), titles_from_data=True)
    pie.set_categories(Reference(sheet, min_col=1, min_row=4, max_row=9))
    sheet.add_chart(pie, "C3")
    book.save(os.path.join(folder, "openpyxl-pie-3d.xlsx"))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else HERE
    openpyxl_pie(folder)
    gnumeric(folder)
    libreoffice(folder)


if __name__ == "__main__":
    main()

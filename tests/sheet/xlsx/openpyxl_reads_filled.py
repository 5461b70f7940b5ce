#!/usr/bin/python3
"""openpyxl opens a filled template: the entries stand in A4:B(3+count) and the pie's references cover
rows 4 to the last row given.

    openpyxl_reads_filled.py FILE COUNT LAST-ROW

Ends with 77 when openpyxl is missing."""

import re
import sys

try:
    import openpyxl
except ImportError:
    sys.exit(77)


def main():
    path, count, last_row = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    book = openpyxl.load_workbook(path)
    sheet = book.active
    for index in range(count):
        row = 4 + index
        label, amount = sheet.cell(row, 1).value, sheet.cell(row, 2).value
        if label != "Asset %d" % (index + 1) or amount != 1000 + 37 * index:
            sys.exit("row %d holds %r, %r" % (row, label, amount))
    charts = sheet._charts
    if len(charts) != 1:
        sys.exit("%d charts instead of one" % len(charts))
    series = charts[0].series[0]
    wanted = re.compile(r"\$B\$4:\$B\$%d$" % last_row)
    if not wanted.search(series.val.numRef.f):
        sys.exit("the values are %s, not rows 4 to %d" % (series.val.numRef.f, last_row))
    categories = series.cat.strRef or series.cat.numRef
    if not re.search(r"\$A\$4:\$A\$%d$" % last_row, categories.f):
        sys.exit("the categories are %s, not rows 4 to %d" % (categories.f, last_row))


if __name__ == "__main__":
    main()

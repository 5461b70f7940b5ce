#!/usr/bin/python3
"""Lists every cell of a workbook's sheets with xlrd, one line a cell (address, kind, value), the
way a developer would read a workbook in Python; the other side of the paired speed figures.

    /usr/bin/python3 bench/speed/xlrd-list.py WORKBOOK > /dev/null
"""

import sys

import xlrd

KINDS = {xlrd.XL_CELL_NUMBER: "number", xlrd.XL_CELL_TEXT: "text", xlrd.XL_CELL_BOOLEAN: "logical",
         xlrd.XL_CELL_ERROR: "error", xlrd.XL_CELL_DATE: "date"}


def main():
    book = xlrd.open_workbook(sys.argv[1])
    write = sys.stdout.write
    for sheet in book.sheets():
        write(f"sheet\t{sheet.name}\n")
        for row in range(sheet.nrows):
            for column, cell in enumerate(sheet.row(row)):
                kind = KINDS.get(cell.ctype)
                if kind:
                    write(f"cell\t{xlrd.cellname(row, column)}\t{kind}\t{cell.value}\n")


if __name__ == "__main__":
    main()

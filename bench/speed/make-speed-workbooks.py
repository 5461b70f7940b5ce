#!/usr/bin/python3
"""Writes the plain workbooks that the speed figures are taken on, as LibreOffice saves them
("MS Excel 97" filter): one sheet of rows that each hold a label and 29 numbers, whole or in
quarters so that LibreOffice stores them as runs of RK values (MULRK), and the labels in the
string table.

speed-15mb.xls   65,000 rows, 1.95 million cells, about 15 MB
speed-4mb.xls    17,000 rows, about 4 MB
speed-1mb.xls     4,300 rows, about 1 MB

    /usr/bin/python3 bench/speed/make-speed-workbooks.py OUTPUT-FOLDER [ROWS NAME ...]

The files are large, so they are made where the figures are taken and not kept in the tree.
"""

import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "office"))
from office_session import OfficeSession, file_url, properties  # noqa: E402

NUMBERS = 29
WORKBOOKS = [(4_300, "speed-1mb.xls"), (17_000, "speed-4mb.xls"), (65_000, "speed-15mb.xls")]


def write_csv(path, rows):
    with open(path, "w", encoding="utf-8") as out:
        for row in range(rows):
            quarters = ((row * 7919 + column * 104_729) % 3_999_989 for column in range(NUMBERS))
            out.write(f"Item {row}," + ",".join(str(q / 4) for q in quarters) + "\n")


def workbook(office, path, rows):
    with tempfile.TemporaryDirectory() as work:
        csv = os.path.join(work, "Data.csv")  # the sheet's name
        write_csv(csv, rows)
        document = office.desktop.loadComponentFromURL(
            file_url(csv), "_blank", 0,
            properties(Hidden=True, FilterName="Text - txt - csv (StarCalc)", FilterOptions="44,34,76,1"))
        document.storeToURL(file_url(path), properties(FilterName="MS Excel 97", Overwrite=True))
        document.close(True)


def main():
    folder = sys.argv[1]
    wanted = WORKBOOKS
    if len(sys.argv) > 2:
        pairs = sys.argv[2:]
        wanted = [(int(pairs[i]), pairs[i + 1]) for i in range(0, len(pairs) - 1, 2)]
    os.makedirs(folder, exist_ok=True)
    with OfficeSession() as office:
        for rows, name in wanted:
            workbook(office, os.path.join(folder, name), rows)


if __name__ == "__main__":
    main()

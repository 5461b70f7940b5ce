#!/usr/bin/python3
"""Checks, with a private headless LibreOffice, what the engine read from OpenDocument workbooks and what it
wrote after filling templates. The argument names a list of cases, one a line, separated by tabs:

values  WORKBOOK  DUMP   the engine's cell values of WORKBOOK (sheet, row, column, n or s, value) equal
                         LibreOffice's, and LibreOffice has no value the engine left out
pie     FILLED    COUNT  LibreOffice opens FILLED; its first chart's series covers the COUNT entries from
                         row 4 (six rows at least), in both the values and the categories
"""

import math
import os
import re
import sys
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(HERE, "..", "..", "..", "tools", "office"))
from office_session import OfficeSession  # noqa: E402


DAYS_1899_TO_1904 = 1462


def libreoffice_values(document):
    """Every cell with a value or a formula's result, as LibreOffice holds it: numbers (logical values and
    dates among them) and texts, an error as its text."""
    values = {}
    for sheet in document.Sheets:
        cursor = sheet.createCursor()
        cursor.gotoEndOfUsedArea(False)
        last_row = min(cursor.RangeAddress.EndRow, 65535)
        last_column = min(cursor.RangeAddress.EndColumn, 255)
        data = sheet.getCellRangeByPosition(0, 0, last_column, last_row).getDataArray()
        for row, cells in enumerate(data):
            for column, value in enumerate(cells):
                if value is None:  # an error
                    values[(sheet.Name, row, column)] = ("s", sheet.getCellByPosition(column, row).String)
                elif isinstance(value, str):
                    if value == "":
                        text = sheet.getCellByPosition(column, row).String
                        if text.startswith("#") or text.startswith("Err:"):
                            values[(sheet.Name, row, column)] = ("s", text)
                        continue
                    values[(sheet.Name, row, column)] = ("s", value)
                else:
                    values[(sheet.Name, row, column)] = ("n", value)
    return values


def engine_values(path):
    values = {}
    with open(path, encoding="utf-8") as dump:
        for line in dump:
            sheet, row, column, kind, value = line.rstrip("\n").split("\t")
            values[(sheet, int(row), int(column))] = (kind, float(value) if kind == "n" else urllib.parse.unquote(value))
    return values


def same(engine, office, null_offset):
    if engine[0] != office[0]:
        return False
    if engine[0] == "s":
        return engine[1] == office[1]
    return any(math.isclose(engine[1], office[1] + offset, rel_tol=1e-9, abs_tol=1e-9) for offset in (0, null_offset))


def check_values(office, workbook, dump):
    document = office.open(workbook)
    try:
        null = document.NullDate
        null_offset = DAYS_1899_TO_1904 if (null.Year, null.Month, null.Day) == (1904, 1, 1) else 0
        theirs = libreoffice_values(document)
    finally:
        document.close(True)
    ours = engine_values(dump)
    problems = []
    for key, value in theirs.items():
        if key not in ours:
            problems.append("%s: LibreOffice has %r, the engine nothing" % (key, value))
        elif not same(ours[key], value, null_offset):
            problems.append("%s: LibreOffice has %r, the engine %r" % (key, value, ours[key]))
    for key, value in ours.items():
        if key not in theirs and not (value[0] == "s" and value[1] == ""):
            problems.append("%s: the engine has %r, LibreOffice nothing" % (key, value))
    return ["%s: %s" % (os.path.basename(workbook), problem) for problem in problems[:10]]


def rows_of(representation):
    match = re.fullmatch(r"\$?'?([^.']+)'?\.\$?([A-Z]+)\$?(\d+)(?::\$?'?[^.']*'?\.?\$?[A-Z]+\$?(\d+))?", representation)
    if match is None:
        raise AssertionError("unexpected range %r" % representation)
    return int(match.group(3)), int(match.group(4) or match.group(3))


def check_pie(office, path, count):
    document = office.open(path)
    try:
        sheet = document.Sheets.getByName("Assets")
        chart = sheet.Charts.getByIndex(0).EmbeddedObject
        system = chart.getFirstDiagram().CoordinateSystems[0]
        series = system.ChartTypes[0].DataSeries[0]
        values = series.getDataSequences()[0].getValues()
        last = 3 + max(count, 6)
        problems = []
        if rows_of(values.getSourceRangeRepresentation()) != (4, last):
            problems.append("values %s" % values.getSourceRangeRepresentation())
        if len(values.getData()) != max(count, 6):
            problems.append("%d values" % len(values.getData()))
        categories = system.getAxisByDimension(0, 0).getScaleData().Categories
        if rows_of(categories.getValues().getSourceRangeRepresentation()) != (4, last):
            problems.append("categories %s" % categories.getValues().getSourceRangeRepresentation())
        if sheet.getCellRangeByName("A%d" % (3 + count)).getString() != "Asset %d" % count:
            problems.append("A%d is %r" % (3 + count, sheet.getCellRangeByName("A%d" % (3 + count)).getString()))
        colours = [series.getDataPointByIndex(k).Color for k in range(max(count, 6))]
        for k, colour in enumerate(colours):
            if len(colours) > 2 and colour == colours[(k + 1) % len(colours)]:
                problems.append("slices %d and %d share a colour" % (k, (k + 1) % len(colours)))
                break
        return ["%s: %s" % (os.path.basename(path), problem) for problem in problems]
    finally:
        document.close(True)


def main():
    problems = []
    with open(sys.argv[1], encoding="utf-8") as cases, OfficeSession() as office:
        for line in cases:
            kind, path, detail = line.rstrip("\n").split("\t")
            if kind == "values":
                problems += check_values(office, path, detail)
            else:
                problems += check_pie(office, path, int(detail))
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

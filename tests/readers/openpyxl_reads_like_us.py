#!/usr/bin/python3
"""The engine reads every real SpreadsheetML package of tests/data (.xlsx, .xlsm, .xltx, from other
projects' test data and from other programs) with the same cell values that openpyxl reads, and refuses
the one whose part declares entities."""

import datetime
import math
import os
import subprocess
import sys
import unittest
import warnings

try:
    import openpyxl
    from openpyxl.utils.datetime import to_excel
except ImportError:
    openpyxl = None

DATA = os.environ.get("TORTELET_TEST_DATA", os.path.join(os.path.dirname(__file__), "..", "data"))
CELL_VALUES = os.environ.get("TORTELET_XLSX_CELL_VALUES", "")
PACKAGES = [
    "pie-chart-made-by-excel.xlsx", "charts-made-by-excel.xlsx", "doughnut-chart.xlsx",
    "pie-pivot-table-comments-many-features.xlsx", "comments-pictures-validation.xlsx",
    "strict-ooxml-hidden-rows.xlsx", "macros-conditional-formats.xlsm", "rich-text-preserved-spaces.xlsx",
    "template.xltx", "libreoffice-pie-chart.xlsx", "libreoffice-pie-chart.xltx", "gnumeric-pie-chart.xlsx",
    "openpyxl-pie-3d.xlsx",
]


def ours(path):
    run = subprocess.run([CELL_VALUES, path], capture_output=True, text=True, check=False)
    return run.returncode, run.stdout


def escaped(text):
    return text.replace("\n", "\\n").replace("\t", "\\t").replace("\r", "\\r")


def theirs(path):
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        book = openpyxl.load_workbook(path, data_only=True)
    epoch = book.epoch
    cells = {}
    for sheet in book.worksheets:
        for row in sheet.iter_rows():
            for cell in row:
                value = cell.value
                if value is None or value == "":
                    continue
                if isinstance(value, bool):
                    value = "TRUE" if value else "FALSE"
                elif isinstance(value, (datetime.datetime, datetime.date, datetime.time)):
                    value = to_excel(value, epoch)
                elif isinstance(value, datetime.timedelta):
                    value = value.total_seconds() / 86400
                if not isinstance(value, str):
                    value = float(value)
                else:
                    value = escaped(value)
                cells[(sheet.title, cell.row, cell.column)] = value
    return cells


def parsed(listing):
    cells = {}
    for line in listing.splitlines():
        sheet, row, column, value = line.split("\t", 3)
        cells[(sheet, int(row), int(column))] = value
    return cells


@unittest.skipUnless(openpyxl is not None and CELL_VALUES, "openpyxl or the engine's cell lister is missing")
class RealPackages(unittest.TestCase):
    def test_cell_values_equal_openpyxls(self):
        for name in PACKAGES:
            with self.subTest(package=name):
                path = os.path.join(DATA, name)
                code, listing = ours(path)
                self.assertEqual(code, 0, listing)
                mine = parsed(listing)
                other = theirs(path)
                self.assertTrue(other, "openpyxl reads no cells")
                self.assertEqual(sorted(mine), sorted(other))
                for key, value in other.items():
                    if isinstance(value, float):
                        self.assertTrue(math.isclose(float(mine[key]), value, rel_tol=1e-9, abs_tol=1e-9),
                                        "%s: %s, openpyxl %r" % (key, mine[key], value))
                    else:
                        self.assertEqual(mine[key], value, key)

    def test_an_entity_declaration_is_refused(self):
        code, listing = ours(os.path.join(DATA, "xml-entity-declaration.xlsx"))
        self.assertEqual(code, 2)
        self.assertIn("entities", listing)


if __name__ == "__main__":
    unittest.main()

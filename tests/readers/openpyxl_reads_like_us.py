#!/usr/bin/python3
"""The engine reads every real SpreadsheetML package of tests/data (.xlsx, .xlsm, .xltx, from other
projects' test data and from other programs) with the same cell values that openpyxl reads, and refuses
the one whose part declares entities."""

import datetime
import math
import os
import subprocess
import sys
import tempfile
import unittest
import warnings
import zipfile

try:
    import openpyxl
    from openpyxl.reader.workbook import WorkbookParser
    from openpyxl.utils.datetime import to_excel
    # openpyxl stumbles over names of sheets it does not load; the values do not need the names.
    WorkbookParser.assign_names = lambda self: None
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


STRICT = [(b"http://purl.oclc.org/ooxml/spreadsheetml/main",
           b"http://schemas.openxmlformats.org/spreadsheetml/2006/main"),
          (b"http://purl.oclc.org/ooxml/officeDocument/relationships",
           b"http://schemas.openxmlformats.org/officeDocument/2006/relationships")]


def transitional(path, folder):
    """The package with the strict namespaces in their transitional form, which openpyxl reads."""
    copy = os.path.join(folder, os.path.basename(path))
    with zipfile.ZipFile(path) as source, zipfile.ZipFile(copy, "w") as target:
        for item in source.infolist():
            data = source.read(item)
            for strict, plain in STRICT:
                data = data.replace(strict, plain)
            target.writestr(item, data)
    return copy


def theirs(path):
    with warnings.catch_warnings(), tempfile.TemporaryDirectory() as folder:
        warnings.simplefilter("ignore")
        book = openpyxl.load_workbook(transitional(path, folder), read_only=True, data_only=True)
        return listed(book)


def listed(book):
    epoch = book.epoch
    cells = {}
    for sheet in book.worksheets:
        for row in sheet.iter_rows():
            for cell in row:
                value = getattr(cell, "value", None)
                if value is None or value == "":
                    continue
                if cell.row > 65536 or cell.column > 256:
                    continue  # beyond the sheet the engine holds; a changed package keeps them as they were
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

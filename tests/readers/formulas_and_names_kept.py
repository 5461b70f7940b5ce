#!/usr/bin/python3
"""Every formula and defined name of the .xls workbooks at hand goes into the .xlsx and the .ods that
`tortelet-sheet convert` writes: the written files hold as many formulas (an array formula or a data table
counting each cell it covers) and names as the .xls; openpyxl reads them, with the cached results the .xls
holds; and LibreOffice, recalculating, gets from each written file what it gets from the .xls, which shows
that the formulas mean the same. A workbook that the converter refuses for something else (a comment, a
picture, a chart it cannot write) is left out, but never for its formulas or names. One LibreOffice serves
the whole run."""

import hashlib
import math
import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "office"))
from office_session import OfficeSession  # noqa: E402

import openpyxl  # noqa: E402
import xlrd.compdoc  # noqa: E402
from com.sun.star.table.CellContentType import FORMULA, TEXT  # noqa: E402
from openpyxl.utils.datetime import to_excel  # noqa: E402

FORMULA_RECORDS = (0x0006, 0x0406)
NAME, STRING, BOUNDSHEET, BOF, EOF, FILEPASS = 0x0018, 0x0207, 0x0085, 0x0809, 0x000A, 0x002F
VOLATILE = re.compile(r"\b(RAND|NOW|TODAY|OFFSET|INDIRECT|CELL|INFO)\(|RANDBETWEEN", re.IGNORECASE)


def workbook_folders():
    """tests/data, and the shared folder of workbooks beside the source tree when there is one."""
    folders = [os.environ["TORTELET_TEST_DATA"]]
    shared = os.environ.get("TORTELET_SHARED_WORKBOOKS",
                            os.path.join(HERE, "..", "..", "..", "shared", "workbooks"))
    if os.path.isdir(shared):
        folders.append(shared)
    return folders


def file_bytes(path):
    with open(path, "rb") as file:
        return file.read()


def workbook_stream(path):
    """The workbook stream of a compound file; None when xlrd's reader cannot find it."""
    with open(os.devnull, "w") as log:
        try:
            document = xlrd.compdoc.CompDoc(file_bytes(path), logfile=log)
        except Exception:
            return None
        for name in ("Workbook", "Book", "BOOK", "WORKBOOK"):
            try:
                stream = document.get_named_stream(name)
            except Exception:
                stream = None
            if stream:
                return stream
    return None


def records(stream):
    at = 0
    while at + 4 <= len(stream):
        kind, size = struct.unpack_from("<HH", stream, at)
        yield at, kind, stream[at + 4:at + 4 + size]
        at += 4 + size


class Source:
    """What an .xls holds: its formula cells with their cached results, by (sheet, row, column), and
    its defined names (those that only stand for a function newer than the format left out)."""

    def __init__(self, path):
        stream = workbook_stream(path)
        self.formulas = {}
        self.names = 0
        self.readable = stream is not None
        if not self.readable:
            return
        offsets, sheet, result = [], -1, None
        biff8 = True
        for at, kind, body in records(stream):
            if kind == FILEPASS:
                self.readable = False  # the bodies are encrypted
                return
            if kind == BOF:
                biff8 = struct.unpack_from("<H", body, 0)[0] == 0x0600
                sheet = offsets.index(at) if at in offsets else sheet
            elif kind == BOUNDSHEET:
                offsets.append(struct.unpack_from("<I", body, 0)[0])
            elif kind == NAME:
                self.names += not self.stands_for_function(body, biff8)
            elif kind in FORMULA_RECORDS:
                row, column = struct.unpack_from("<HH", body, 0)
                result = (sheet, row, column)
                self.formulas[result] = self.cached(body[6:14])
            elif kind == STRING and result is not None and self.formulas.get(result) == "":
                self.formulas[result] = self.text(body, biff8)

    @staticmethod
    def stands_for_function(body, biff8):
        length = body[3]
        name = body[15:15 + length] if biff8 and not body[14] & 1 else body[14:14 + length]
        return bool(struct.unpack_from("<H", body, 0)[0] & 0x0002) and name.startswith(b"_xlfn.")

    @staticmethod
    def cached(result):
        if result[6:8] != b"\xff\xff":
            return struct.unpack("<d", result)[0]
        return {0: "", 1: bool(result[2]), 2: ("error", result[2])}.get(result[0], "")

    @staticmethod
    def text(body, biff8):
        count = struct.unpack_from("<H", body, 0)[0]
        if not biff8:
            return body[2:2 + count].decode("cp1252")
        if body[2] & 1:
            return body[3:3 + 2 * count].decode("utf-16-le")
        return body[3:3 + count].decode("latin-1")


def column_number(letters):
    """0 for "A", 26 for "AA"."""
    return sum((ord(c) - 64) * 26 ** k for k, c in enumerate(reversed(letters))) - 1


def covered(reference):
    """The cells of "B2:D4" (or of "B2")."""
    match = re.fullmatch(r"([A-Z]+)(\d+)(?::([A-Z]+)(\d+))?", reference)
    first_col, first_row, last_col, last_row = match.groups()
    if last_col is None:
        return 1
    return (int(last_row) - int(first_row) + 1) * (column_number(last_col) - column_number(first_col) + 1)


def xlsx_counts(path):
    """The formula cells and the defined names of a written .xlsx, read from its parts."""
    formulas = 0
    with zipfile.ZipFile(path) as package:
        for part in package.namelist():
            if part.startswith("xl/worksheets/sheet"):
                xml = package.read(part).decode("utf-8")
                for attributes in re.findall(r"<f\b([^>]*)", xml):
                    shared = re.search(r'\bt="(array|dataTable)"', attributes)
                    formulas += covered(re.search(r'\bref="([^"]+)"', attributes).group(1)) if shared else 1
        names = package.read("xl/workbook.xml").decode("utf-8").count("<definedName ")
    return formulas, names


def data_table_cells(path):
    """The cells of the data tables of a written .xlsx, by (sheet, row, column)."""
    cells = set()
    with zipfile.ZipFile(path) as package:
        for part in package.namelist():
            number = re.fullmatch(r"xl/worksheets/sheet(\d+)\.xml", part)
            if not number:
                continue
            xml = package.read(part).decode("utf-8")
            for reference in re.findall(r'<f t="dataTable" ref="([A-Z]+\d+:[A-Z]+\d+)"', xml):
                first, last = [re.fullmatch(r"([A-Z]+)(\d+)", end).groups() for end in reference.split(":")]
                columns = range(column_number(first[0]), column_number(last[0]) + 1)
                for row in range(int(first[1]) - 1, int(last[1])):
                    cells.update((int(number.group(1)) - 1, row, column) for column in columns)
    return cells


def ods_counts(path):
    with zipfile.ZipFile(path) as package:
        xml = package.read("content.xml").decode("utf-8")
    formulas = 0
    for attributes in re.findall(r"<table:(?:covered-)?table-cell\b([^>]*table:formula=[^>]*)", xml):
        columns = re.search(r'number-matrix-columns-spanned="(\d+)"', attributes)
        rows = re.search(r'number-matrix-rows-spanned="(\d+)"', attributes)
        formulas += int(columns.group(1)) * int(rows.group(1)) if columns else 1
    names = xml.count("<table:named-range ") + xml.count("<table:named-expression ")
    return formulas, names


def same(expected, actual):
    if isinstance(expected, float) and isinstance(actual, float):
        return math.isclose(expected, actual, rel_tol=1e-9, abs_tol=1e-12)
    return expected == actual


def results(document, cells, values):
    """LibreOffice's results of the cells after recalculating everything; volatile ones left out. A cell of a
    data table may come as its value only (LibreOffice reads some of a .xlsx data table's cells so): the
    cells without a formula are put into `values`."""
    document.calculateAll()
    sheets = document.Sheets
    found = {}
    for (sheet, row, column) in cells:
        cell = sheets.getByIndex(sheet).getCellByPosition(column, row)
        if cell.Type == FORMULA and VOLATILE.search(cell.getFormula()):
            continue
        if cell.Type != FORMULA:
            values.add((sheet, row, column))
        if cell.Type == FORMULA and cell.getError():
            found[(sheet, row, column)] = "error"
        elif (cell.Type == FORMULA and cell.FormulaResultType2 == 2) or cell.Type == TEXT:
            found[(sheet, row, column)] = cell.getString()
        else:
            found[(sheet, row, column)] = cell.getValue()
    return found


def cached_in_xlsx(path, cells):
    """openpyxl's view of the cached results (data_only) of the cells that have formulas of their own."""
    book = openpyxl.load_workbook(path, data_only=True)
    values = {}
    for (sheet, row, column) in cells:
        # The sheets by their place among all sheets, chart sheets included, as the .xls counts them.
        value = book[book.sheetnames[sheet]].cell(row + 1, column + 1).value
        values[(sheet, row, column)] = to_excel(value) if hasattr(value, "year") else value
    return values


def comparable(value):
    if isinstance(value, tuple):
        return {7: "#DIV/0!", 15: "#VALUE!", 23: "#REF!", 29: "#NAME?", 36: "#NUM!", 42: "#N/A", 0: "#NULL!"}[value[1]]
    if isinstance(value, bool):
        return value
    return value


class FormulasAndNamesKept(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory(prefix="tortelet-formulas-")
        cls.office = OfficeSession().__enter__()
        seen = set()
        cls.workbooks = []
        for folder in workbook_folders():
            for name in sorted(os.listdir(folder)):
                path = os.path.join(folder, name)
                if not name.endswith(".xls"):
                    continue
                digest = hashlib.sha1(file_bytes(path)).hexdigest()
                if digest in seen:
                    continue
                seen.add(digest)
                source = Source(path)
                if source.readable and (source.formulas or source.names):
                    cls.workbooks.append((name, path, source))

    @classmethod
    def tearDownClass(cls):
        cls.office.__exit__(None, None, None)
        cls.folder.cleanup()

    def convert(self, path, extension):
        out = os.path.join(self.folder.name, os.path.basename(path) + extension)
        run = subprocess.run([os.environ["TORTELET_SHEET"], "convert", path, out], capture_output=True, text=True,
                             timeout=120, env=dict(os.environ, LC_ALL="C.UTF-8"))
        if run.returncode != 0:
            reason = run.stderr.split(path + ": ", 1)[-1]
            self.assertNotRegex(reason, r"(?i)formula|defined name", "refused for its formulas or names")
            return None
        return out

    def test_every_formula_and_name_is_written_and_means_the_same(self):
        converted = 0
        for name, path, source in self.workbooks:
            with self.subTest(workbook=name):
                original = self.office.open(path)
                try:
                    expected = results(original, source.formulas, set())
                finally:
                    original.close(True)
                for extension, counts in ((".xlsx", xlsx_counts), (".ods", ods_counts)):
                    written = self.convert(path, extension)
                    if written is None:
                        continue
                    converted += 1
                    self.assertEqual(counts(written), (len(source.formulas), source.names), extension)
                    document = self.office.open(written)
                    values = set()
                    try:
                        got = results(document, source.formulas, values)
                    finally:
                        document.close(True)
                    allowed = data_table_cells(written) if extension == ".xlsx" else set()
                    self.assertEqual(values - allowed, set(), extension + ": cells without their formula")
                    wrong = {cell: (value, got.get(cell)) for cell, value in expected.items()
                             if not same(value, got.get(cell))}
                    self.assertEqual(wrong, {}, extension)
                    if extension == ".xlsx":
                        self.check_openpyxl(written, source)
        self.assertGreaterEqual(converted, 8)

    def check_openpyxl(self, path, source):
        openpyxl.load_workbook(path)
        # openpyxl files built-in names under their sheets and drops those that refer to nothing (#REF!) or
        # to another workbook, so the names are counted in the package.
        with zipfile.ZipFile(path) as package:
            names = len(re.findall(r"<definedName ", package.read("xl/workbook.xml").decode("utf-8")))
        self.assertEqual(names, source.names)
        cached = cached_in_xlsx(path, source.formulas)
        differing = {cell: (value, cached[cell]) for cell, value in source.formulas.items()
                     if not same(comparable(value), cached[cell]) and not (value == "" and cached[cell] is None)}
        self.assertEqual(differing, {})


if __name__ == "__main__":
    unittest.main()

"""Fills one workbook made by another program, as a person's own chart template, and checks the copy.

    real_workbooks_fill.py NAME

NAME is a workbook in TORTELET_TEST_DATA (listed in its SOURCES.md). The copy must read back with the
engine and with xlrd, Gnumeric must give no warning for it that it does not give for the original, and
every cell outside the rows that the fill writes must keep its value and formula. A workbook that the
fill must refuse is named in REFUSALS with what the message must say.
"""

import os
import re
import subprocess
import sys
import tempfile
import zipfile
from collections import Counter
import xml.etree.ElementTree as ElementTree

import xlrd

sys.dont_write_bytecode = True
from filled_workbooks import FIRST_DATA_ROW, TEMPLATE_LAST_DATA_ROW, test_data, tool  # noqa: E402

ENTRIES = [("Savings", "25000"), ("Épargne 💰", "1234.5"), ("Bonds", "-42")]

# Workbooks whose fill is refused, and the words the refusal must hold.
REFUSALS = {
    # B4:B9 is one array formula: changing part of it is refused, as spreadsheet programs refuse it.
    "array-and-table-formulas.xls": r"array formula.*B4.*B4:B9|B4.*array formula.*B4:B9",
    # Excel 95 workbooks are listed and drawn, not written.
    "excel-95-biff5.xls": r"Excel 95 workbooks can be read but not written",
}

TABLE = "{urn:oasis:names:tc:opendocument:xmlns:table:1.0}"
OFFICE = "{urn:oasis:names:tc:opendocument:xmlns:office:1.0}"
TEXT = "{urn:oasis:names:tc:opendocument:xmlns:text:1.0}"


def run(*command, check=True):
    environment = dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8")
    environment.pop("DISPLAY", None)
    return subprocess.run(command, capture_output=True, text=True, env=environment, check=check, timeout=120)


def column_number(letters):
    number = 0
    for letter in letters:
        number = number * 26 + ord(letter) - ord("A") + 1
    return number


def engine_sheets(path):
    """The sheets as the engine lists them: (name, kind, active) in order."""
    lines = run(tool(), "dump", path).stdout.splitlines()
    return [(fields[2], fields[3], fields[-1] == "active") for fields in
            (line.split("\t") for line in lines) if fields[0] == "sheet"]


def target_sheet(sheets):
    """The sheet a fill writes to: the active one, or the first worksheet when that is a chart sheet."""
    for name, kind, active in sheets:
        if active and kind == "worksheet":
            return name
    return next(name for name, kind, _ in sheets if kind == "worksheet")


def engine_cells(path):
    """The active sheet's cells as the engine lists them: {(sheet, row, column): (kind, value)}."""
    cells = {}
    for line in run(tool(), "dump", path).stdout.splitlines():
        fields = line.split("\t")
        if fields[0] == "cell":
            match = re.fullmatch(r"([A-Z]+)([0-9]+)", fields[1])
            cells[("", int(match.group(2)), column_number(match.group(1)))] = (fields[2], fields[3])
    return cells


def normalized(warning):
    """A warning without what changes from run to run: the process, the time and addresses."""
    warning = re.sub(r"\(ssconvert:\d+\)|\d\d:\d\d:\d\d\.\d+:|0x[0-9a-f]+", "", warning)
    return re.sub(r"\s+", " ", warning).strip()


def gnumeric(path, folder, tag):
    """Gnumeric's reading of a workbook as OpenDocument, and the warnings it gave; None when it cannot read it."""
    out = os.path.join(folder, tag + ".ods")
    result = run("ssconvert", path, out, check=False)
    warnings = Counter(normalized(line) for line in result.stderr.splitlines() if line.strip())
    return (out if result.returncode == 0 and os.path.exists(out) else None), warnings


def ods_cells(path):
    """Every cell with content: {(sheet, row, column): (formula, type, value)}, rows and columns from 1."""
    with zipfile.ZipFile(path) as package:
        root = ElementTree.fromstring(package.read("content.xml"))
    cells = {}
    for table in root.iter(TABLE + "table"):
        sheet = table.get(TABLE + "name")
        row = 0
        for row_element in table.iter(TABLE + "table-row"):
            row_repeat = int(row_element.get(TABLE + "number-rows-repeated", "1"))
            column = 0
            for cell in row_element:
                repeat = int(cell.get(TABLE + "number-columns-repeated", "1"))
                formula = cell.get(TABLE + "formula")
                kind = cell.get(OFFICE + "value-type")
                value = cell.get(OFFICE + "value") or cell.get(OFFICE + "boolean-value") or \
                    "".join(cell.itertext())
                if formula or kind:
                    for r in range(row_repeat if row_repeat < 1000 else 1):
                        for c in range(repeat if repeat < 1000 else 1):
                            cells[(sheet, row + r + 1, column + c + 1)] = (formula, kind, value)
                column += repeat
            row += row_repeat
    return cells


def same_value(kind, before, after):
    if kind in ("float", "percentage", "currency", "date", "time"):
        try:
            return abs(float(before) - float(after)) <= 1e-9 * max(1.0, abs(float(before)))
        except ValueError:
            pass
    return before == after


def written(key, sheet):
    name, row, column = key
    return name in (sheet, "") and FIRST_DATA_ROW <= row <= TEMPLATE_LAST_DATA_ROW and column in (1, 2)


def compare_cells(before, after, sheet):
    faults = []
    for key, old in sorted(before.items()):
        if written(key, sheet):
            continue
        new = after.get(key)
        if new is None:
            faults.append("%s lost %r" % (key, old))
        elif len(old) == 3 and old[0]:
            if new[0] != old[0]:
                faults.append("%s formula %r became %r" % (key, old[0], new[0]))
        elif new[:-1] != old[:-1] or not same_value(old[-2], old[-1], new[-1]):
            faults.append("%s %r became %r" % (key, old, new))
    for key, new in sorted(after.items()):
        if key not in before and not written(key, sheet):
            faults.append("%s appeared as %r" % (key, new))
    return faults


def xlrd_refusal(path):
    try:
        xlrd.open_workbook(path)
        return ""
    except Exception as error:  # xlrd raises many kinds
        return str(error)


def main(name):
    original = test_data(name)
    faults = []
    with tempfile.TemporaryDirectory() as folder:
        entries = os.path.join(folder, "entries.txt")
        with open(entries, "w", encoding="utf-8") as stream:
            stream.writelines("%s\t%s\n" % entry for entry in ENTRIES)
        copy = os.path.join(folder, "filled.xls")
        filled = run(tool(), "fill", original, copy, entries, check=False)
        if name in REFUSALS:
            if filled.returncode != 1 or not re.search(REFUSALS[name], filled.stderr) or os.path.exists(copy):
                faults.append("the fill was not refused as it must be: %d %s" % (filled.returncode, filled.stderr))
            return faults
        if filled.returncode != 0:
            return ["the fill failed: " + filled.stderr.strip()]

        sheets = engine_sheets(original)
        if engine_sheets(copy) != sheets:
            faults.append("the engine reads other sheets back: %r" % engine_sheets(copy))
        sheet = target_sheet(sheets)
        try:
            book = xlrd.open_workbook(copy)
            for index in range(book.nsheets):
                book.sheet_by_index(index)
        except xlrd.XLRDError as error:  # xlrd reads no encrypted workbook: the copy must stay encrypted
            if "encrypted" not in str(error) or "encrypted" not in xlrd_refusal(original):
                faults.append("xlrd cannot read the copy: %r" % error)
        except Exception as error:  # xlrd raises many kinds
            faults.append("xlrd cannot read the copy: %r" % error)

        before, old_warnings = gnumeric(original, folder, "original")
        after, new_warnings = gnumeric(copy, folder, "copy")
        if after is None:
            faults.append("Gnumeric cannot read the copy: %s" % sorted(new_warnings))
        faults += ["Gnumeric warns of the copy: " + warning for warning in sorted(new_warnings - old_warnings)]
        if before is not None and after is not None:
            faults += compare_cells(ods_cells(before), ods_cells(after), sheet)
        else:  # Gnumeric cannot read the original: the engine's own listing of the active sheet
            faults += compare_cells(engine_cells(original), engine_cells(copy), "")
    return faults


if __name__ == "__main__":
    found = main(sys.argv[1])
    for fault in found:
        print(fault)
    sys.exit(1 if found else 0)

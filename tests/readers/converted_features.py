#!/usr/bin/python3
"""openpyxl and LibreOffice read what `tortelet-sheet convert` writes from every workbook of the test
data that it converts, as .xlsx and .ods: the frozen and split panes, hyperlinks, AutoFilters and
rules of conditional formats and data validation that each sheet of the .xls holds are all there
(the frozen panes also in the .ods's own view settings),
and nothing of them is named in a warning as left out. A workbook that is refused is refused with one line.
The folder TORTELET_MORE_WORKBOOKS, when set, adds its .xls files."""

import glob
import os
import struct
import subprocess
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree
import zipfile

import olefile
import openpyxl

SHEET = os.environ["TORTELET_SHEET"]
DATA = os.environ["TORTELET_TEST_DATA"]

BOF, EOF, PANE, HLINK, AUTOFILTERINFO, CF, DV = 0x0809, 0x000A, 0x0041, 0x01B8, 0x009D, 0x01B1, 0x01BE
WINDOW2, FROZEN = 0x023E, 0x0008
WORKSHEET = 0x0010
CONFIG = "{urn:oasis:names:tc:opendocument:xmlns:config:1.0}"


def workbooks():
    paths = sorted(glob.glob(os.path.join(DATA, "*.xls")))
    more = os.environ.get("TORTELET_MORE_WORKBOOKS")
    if more:
        paths += sorted(glob.glob(os.path.join(more, "*.xls")))
    return paths


def xls_counts(path):
    """What the worksheets of an unencrypted BIFF8 .xls hold, by its records: None when it is not one."""
    with olefile.OleFileIO(path) as ole:
        name = next((n for n in ("Workbook", "Book") if ole.exists(n)), None)
        if name is None:
            return None
        stream = ole.openstream(name).read()
    counts = {"panes": 0, "frozen": 0, "links": 0, "filters": 0, "conditional": 0, "validations": 0}
    at, depth, kinds, frozen = 0, 0, [], False
    while at + 4 <= len(stream):
        kind, size = struct.unpack_from("<HH", stream, at)
        body = stream[at + 4:at + 4 + size]
        at += 4 + size
        if kind == 0x002F:
            return None  # encrypted
        if kind == BOF:
            kinds.append(struct.unpack_from("<H", body, 2)[0] if len(body) >= 4 else 0)
            frozen = False
        elif kind == EOF and kinds:
            kinds.pop()
        if len(kinds) != 1 or kinds[0] != WORKSHEET:
            continue
        if kind == WINDOW2 and len(body) >= 2:
            frozen = bool(struct.unpack_from("<H", body, 0)[0] & FROZEN)
        if kind == PANE and len(body) >= 4 and (body[0:2] != b"\0\0" or body[2:4] != b"\0\0"):
            counts["panes"] += 1
            counts["frozen"] += frozen
        counts["links"] += kind == HLINK
        counts["filters"] += kind == AUTOFILTERINFO
        counts["conditional"] += kind == CF
        counts["validations"] += kind == DV
    return counts


def xlsx_counts(path):
    book = openpyxl.load_workbook(path)
    counts = {"panes": 0, "frozen": 0, "links": 0, "filters": 0, "validations": 0, "conditional": 0}
    for sheet in book.worksheets:
        counts["conditional"] += sum(len(formats.rules) for formats in sheet.conditional_formatting)
        counts["validations"] += len(sheet.data_validations.dataValidation)
        counts["panes"] += sheet.sheet_view.pane is not None
        counts["frozen"] += sheet.sheet_view.pane is not None and sheet.sheet_view.pane.state == "frozen"
        counts["links"] += sum(cell.hyperlink is not None for row in sheet.iter_rows() for cell in row)
        counts["filters"] += sheet.auto_filter.ref is not None
    return counts


def ods_frozen(path):
    """The sheets of an .ods whose view settings freeze rows or columns (split mode 2)."""
    with zipfile.ZipFile(path) as package:
        settings = ElementTree.fromstring(package.read("settings.xml"))
    frozen = 0
    for entry in settings.iter(CONFIG + "config-item-map-named"):
        if entry.get(CONFIG + "name") != "Tables":
            continue
        for table in entry.findall(CONFIG + "config-item-map-entry"):
            modes = [item.text for item in table.findall(CONFIG + "config-item")
                     if item.get(CONFIG + "name") in ("HorizontalSplitMode", "VerticalSplitMode")]
            frozen += "2" in modes
    return frozen


def convert(source, target):
    return subprocess.run([SHEET, "convert", source, target], capture_output=True, text=True)


class ConvertedFeatures(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory(prefix="tortelet-features-")
        cls.converted = {}  # .xls path -> (counts, {".xlsx": path, ".ods": path})
        for path in workbooks():
            counts = xls_counts(path)
            if counts is None:
                continue
            stem = os.path.join(cls.folder.name, os.path.splitext(os.path.basename(path))[0])
            written = {}
            for extension in (".xlsx", ".ods"):
                outcome = convert(path, stem + extension)
                lines = [line for line in outcome.stderr.splitlines() if "warning:" not in line]
                if outcome.returncode != 0:
                    assert len(lines) == 1 and lines[0].startswith("tortelet-sheet: "), outcome.stderr
                    continue
                written[extension] = (stem + extension, outcome.stderr)
            cls.converted[path] = (counts, written)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def test_openpyxl_finds_every_pane_link_filter_and_rule(self):
        self.assertTrue(any(".xlsx" in written for _, written in self.converted.values()))
        for path, (counts, written) in self.converted.items():
            if ".xlsx" not in written:
                continue
            with self.subTest(workbook=os.path.basename(path)):
                read = xlsx_counts(written[".xlsx"][0])
                self.assertEqual(read, {key: counts[key] for key in read})

    def test_the_ods_view_settings_freeze_every_frozen_pane(self):
        self.assertTrue(any(counts["frozen"] for counts, _ in self.converted.values()))
        for path, (counts, written) in self.converted.items():
            if ".ods" in written:
                with self.subTest(workbook=os.path.basename(path)):
                    self.assertEqual(ods_frozen(written[".ods"][0]), counts["frozen"])

    def test_no_rule_is_left_out(self):
        for path, (counts, written) in self.converted.items():
            for extension, (_, warnings) in written.items():
                with self.subTest(workbook=os.path.basename(path), format=extension):
                    self.assertNotIn("conditional formats", warnings)
                    self.assertNotIn("data validation", warnings)

    def test_libreoffice_finds_every_link_filter_and_rule(self):
        """LibreOffice saves each package again as .xlsx, which openpyxl counts."""
        sources = [(path, package) for path, (_, written) in self.converted.items()
                   for package, _ in written.values()]
        again = os.path.join(self.folder.name, "again")
        for extension in (".xlsx", ".ods"):
            batch = [package for _, package in sources if package.endswith(extension)]
            folder = os.path.join(again, extension[1:])
            subprocess.run(["soffice", "-env:UserInstallation=file://" + os.path.join(self.folder.name, "profile"),
                            "--headless", "--convert-to", "xlsx:Calc MS Excel 2007 XML", "--outdir", folder] + batch,
                           check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=600)
        for path, package in sources:
            with self.subTest(workbook=os.path.basename(path), format=os.path.splitext(package)[1]):
                saved = os.path.join(again, os.path.splitext(package)[1][1:],
                                     os.path.splitext(os.path.basename(package))[0] + ".xlsx")
                self.assertTrue(os.path.exists(saved), "LibreOffice did not open " + package)
                read = xlsx_counts(saved)
                counts = self.converted[path][0]
                # A headless LibreOffice saves no view, so frozen panes are counted in the packages only.
                self.assertEqual((read["links"], read["conditional"], read["validations"]),
                                 (counts["links"], counts["conditional"], counts["validations"]))
                # LibreOffice takes an .xlsx filter from the sheet's _FilterDatabase name, which the
                # package's defined names carry.
                self.assertEqual(read["filters"], counts["filters"])


if __name__ == "__main__":
    unittest.main()

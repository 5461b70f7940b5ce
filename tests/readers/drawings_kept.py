#!/usr/bin/python3
"""The comments, pictures and shapes of every .xls at hand that holds some go into the .xlsx and the .ods
that `tortelet-sheet convert` writes: openpyxl and LibreOffice open both, and find as many comments,
pictures and shapes (lines, rectangles, ovals, text boxes, buttons) as the .xls's records hold; a picture
that two sheets show is stored once. A workbook refused for something else (its macros, a pivot table, a
chart) is left out, but never for a comment, picture or shape. One LibreOffice serves the whole run."""

import hashlib
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
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "office"))
from formulas_and_names_kept import file_bytes, records, workbook_folders, workbook_stream  # noqa: E402
from office_session import OfficeSession  # noqa: E402

import openpyxl  # noqa: E402

BOF, EOF, NOTE, OBJ, FILEPASS = 0x0809, 0x000A, 0x001C, 0x005D, 0x002F
WORKSHEET, BIFF8 = 0x0010, 0x0600
PICTURE, SHAPES = 8, (1, 2, 3, 4, 6, 7)
HANDLED = re.compile(r"holds (a comment|a note|a picture|a line|a rectangle|an oval|an arc|a text box|a button) ")


def source_counts(path):
    """Comments, pictures and shapes of the worksheets of an unencrypted BIFF8 .xls, from its NOTE and
    OBJ records; None for any other file."""
    stream = workbook_stream(path)
    if not stream:
        return None
    counts = {"comments": 0, "pictures": 0, "shapes": 0}
    kinds = []
    for _, kind, body in records(stream):
        if kind == FILEPASS:
            return None
        if kind == BOF:
            version, substream = struct.unpack_from("<HH", body) if len(body) >= 4 else (0, 0)
            if not kinds and version != BIFF8:
                return None
            kinds.append(substream)
        elif kind == EOF and kinds:
            kinds.pop()
        elif kinds != [WORKSHEET]:
            continue
        elif kind == NOTE:
            counts["comments"] += 1
        elif kind == OBJ and len(body) >= 6 and struct.unpack_from("<H", body)[0] == 0x15:
            object_type = struct.unpack_from("<H", body, 4)[0]
            counts["pictures"] += object_type == PICTURE
            counts["shapes"] += object_type in SHAPES
    return counts


def package_counts(path):
    """The comments and pictures openpyxl reads of an .xlsx, the shapes of its drawing parts, and the
    digests of its media."""
    book = openpyxl.load_workbook(path)
    comments = sum(cell.comment is not None for sheet in book.worksheets for row in sheet.iter_rows() for cell in row)
    pictures = sum(len(sheet._images) for sheet in book.worksheets)
    with zipfile.ZipFile(path) as package:
        drawings = [package.read(name).decode() for name in package.namelist()
                    if re.fullmatch(r"xl/drawings/drawing\d+\.xml", name)]
        media = [hashlib.sha1(package.read(name)).hexdigest() for name in package.namelist()
                 if name.startswith("xl/media/")]
    shapes = sum(part.count("<xdr:sp ") + part.count("<xdr:cxnSp ") for part in drawings)
    return {"comments": comments, "pictures": pictures, "shapes": shapes}, media


def office_counts(document):
    """The comments, pictures and shapes LibreOffice finds in a document (charts and comment boxes aside)."""
    counts = {"comments": 0, "pictures": 0, "shapes": 0}
    for index in range(document.Sheets.Count):
        sheet = document.Sheets.getByIndex(index)
        counts["comments"] += sheet.Annotations.Count
        page = sheet.DrawPage
        for k in range(page.Count):
            kind = page.getByIndex(k).ShapeType
            if kind.endswith("GraphicObjectShape"):
                counts["pictures"] += 1
            elif not kind.endswith(("OLE2Shape", "CaptionShape")):
                counts["shapes"] += 1
    return counts


class DrawingsKept(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory(prefix="tortelet-drawings-")
        cls.office = OfficeSession().__enter__()
        seen = set()
        cls.workbooks = []
        for folder in workbook_folders():
            for name in sorted(os.listdir(folder)):
                path = os.path.join(folder, name)
                digest = hashlib.sha1(file_bytes(path)).hexdigest() if name.endswith(".xls") else None
                if digest is None or digest in seen:
                    continue
                seen.add(digest)
                counts = source_counts(path)
                if counts and any(counts.values()):
                    cls.workbooks.append((name, path, counts))

    @classmethod
    def tearDownClass(cls):
        cls.office.__exit__(None, None, None)
        cls.folder.cleanup()

    def convert(self, path, extension):
        out = os.path.join(self.folder.name, os.path.basename(path) + extension)
        run = subprocess.run([os.environ["TORTELET_SHEET"], "convert", path, out], capture_output=True, text=True,
                             timeout=120, env=dict(os.environ, LC_ALL="C.UTF-8"))
        if run.returncode != 0:
            self.assertNotRegex(run.stderr.split(path + ": ", 1)[-1], HANDLED, "refused for its drawing")
            return None
        return out

    def test_every_comment_picture_and_shape_is_written(self):
        written = set()
        for name, path, expected in self.workbooks:
            with self.subTest(workbook=name):
                for extension in (".xlsx", ".ods"):
                    package = self.convert(path, extension)
                    if package is None:
                        continue
                    written.add((name, extension))
                    if extension == ".xlsx":
                        counts, media = package_counts(package)
                        self.assertEqual(counts, expected, "openpyxl and the drawing parts")
                        self.assertEqual(len(media), len(set(media)), "a picture stored twice")
                    document = self.office.open(package)
                    try:
                        self.assertEqual(office_counts(document), expected, "LibreOffice, " + extension)
                    finally:
                        document.close(True)
        # The workbook made to hold every kind of drawing is among those written, in both formats.
        self.assertTrue({("libreoffice-drawings.xls", ".xlsx"), ("libreoffice-drawings.xls", ".ods")} <= written)


if __name__ == "__main__":
    unittest.main()

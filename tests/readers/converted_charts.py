#!/usr/bin/python3
"""The charts of every .xls at hand (tests/data and the shared workbooks) that holds any, converted by
`tortelet-sheet convert` to .xlsx and .ods: openpyxl and LibreOffice open what is written, it holds as
many charts as the .xls has chart substreams (embedded charts and chart sheets), and LibreOffice
reads the same chart types with the same series ranges, role by role, from the written file as from
the .xls. A workbook refused for something other than its charts is left to the tests of that."""

import hashlib
import os
import struct
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "office"))
from office_session import OfficeSession  # noqa: E402

import olefile  # noqa: E402
import openpyxl  # noqa: E402

BOF, EOF, FILEPASS = 0x0809, 0x000A, 0x002F
CHART_KIND = 0x0020


def workbook_folders():
    folders = [os.environ["TORTELET_TEST_DATA"]]
    shared = os.environ.get("TORTELET_SHARED_WORKBOOKS",
                            os.path.join(HERE, "..", "..", "..", "shared", "workbooks"))
    if os.path.isdir(shared):
        folders.append(shared)
    return folders


def chart_count(path):
    """The chart substreams of an unencrypted BIFF8 workbook; None for any other file."""
    try:
        with olefile.OleFileIO(path) as ole:
            if not ole.exists("Workbook"):
                return None
            stream = ole.openstream("Workbook").read()
    except OSError:
        return None
    at, charts = 0, 0
    while at + 4 <= len(stream):
        kind, size = struct.unpack_from("<HH", stream, at)
        body = stream[at + 4:at + 4 + size]
        at += 4 + size
        if kind == FILEPASS:
            return None
        if kind == BOF and len(body) >= 4:
            version, substream = struct.unpack_from("<HH", body, 0)
            if version != 0x0600:
                return None
            charts += substream == CHART_KIND
    return charts


def charts_read(document):
    """Each chart LibreOffice reads, sheet by sheet: its chart types and each series' ranges by role."""
    found = []
    sheets = document.getSheets()
    for index in range(sheets.getCount()):
        sheet = sheets.getByIndex(index)
        charts = sheet.getCharts()
        for name in charts.getElementNames():
            model = charts.getByName(name).getEmbeddedObject()
            types = []
            for system in model.getFirstDiagram().getCoordinateSystems():
                for chart_type in system.getChartTypes():
                    series = []
                    for one in chart_type.getDataSeries():
                        ranges = []
                        for sequence in one.getDataSequences():
                            values, label = sequence.getValues(), sequence.getLabel()
                            if values is not None:
                                ranges.append((values.getPropertyValue("Role"), values.getSourceRangeRepresentation()))
                            if label is not None:
                                ranges.append(("label", label.getSourceRangeRepresentation()))
                        series.append(tuple(sorted(ranges)))
                    types.append((chart_type.getChartType(), tuple(series)))
                categories = system.getAxisByDimension(0, 0).getScaleData().Categories
                if categories is not None and categories.getValues() is not None:
                    types.append(("categories", categories.getValues().getSourceRangeRepresentation()))
            found.append((index, tuple(types)))
    return sorted(found)


# A line chart with high-low lines is what Excel shows as a stock chart, and the written files hold the
# stock chart it is; LibreOffice reads it from .xls as a line chart of its opening (when it has them), high,
# low and closing prices, and from the written files as a stock chart with their ranges by role.
STOCK_ROLES = ("values-first", "values-max", "values-min", "values-last")


def as_line_chart(chart_type, series):
    if chart_type != "com.sun.star.chart2.CandleStickChartType":
        return chart_type, series
    lines = []
    for one in series:
        ranges = dict(one)
        lines += [(("values-y", ranges[role]),) for role in STOCK_ROLES if role in ranges]
    return "com.sun.star.chart2.LineChartType", tuple(lines)


def comparable(charts):
    return sorted((sheet, tuple(as_line_chart(*found) if found[0] != "categories" else found for found in types))
                  for sheet, types in charts)


def without_stock_charts(written, expected):
    """LibreOffice 7.4 reads no series back from the stock chart objects it writes itself; an .ods stock
    chart is compared by its place and categories only, and left out of the comparison of ranges."""
    stock = {(sheet, types) for sheet, types in written
             if any(found[0] == "com.sun.star.chart2.CandleStickChartType" for found in types)}
    places = {(sheet, tuple(found for found in types if found[0] == "categories")) for sheet, types in stock}
    kept = [chart for chart in expected
            if (chart[0], tuple(found for found in chart[1] if found[0] == "categories")) not in places]
    return [chart for chart in written if chart not in stock], kept, len(expected) - len(kept) == len(stock)


def openpyxl_charts(path):
    book = openpyxl.load_workbook(path)
    return sum(len(sheet._charts) for sheet in book.worksheets + book.chartsheets)


class ConvertedCharts(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory(prefix="tortelet-charts-")
        cls.office = OfficeSession().__enter__()
        seen = set()
        cls.workbooks = []
        for folder in workbook_folders():
            for name in sorted(os.listdir(folder)):
                path = os.path.join(folder, name)
                if not name.endswith(".xls"):
                    continue
                with open(path, "rb") as file:
                    digest = hashlib.sha1(file.read()).hexdigest()
                if digest in seen:
                    continue
                seen.add(digest)
                charts = chart_count(path)
                if charts:
                    cls.workbooks.append((name, path, charts))

    @classmethod
    def tearDownClass(cls):
        cls.office.__exit__(None, None, None)
        cls.folder.cleanup()

    def read(self, path):
        document = self.office.open(path)
        try:
            return charts_read(document)
        finally:
            document.close(True)

    def test_every_chart_is_written_with_its_type_and_ranges(self):
        types = set()
        converted = 0
        for name, path, charts in self.workbooks:
            with self.subTest(workbook=name):
                # LibreOffice leaves out of an .xls the charts whose series have no cells to draw from; the
                # written files keep them with the values the chart kept.
                expected = comparable(self.read(path))
                self.assertLessEqual(len(expected), charts, "LibreOffice's charts of the .xls")
                for extension in (".xlsx", ".ods"):
                    out = os.path.join(self.folder.name, name + extension)
                    run = subprocess.run([os.environ["TORTELET_SHEET"], "convert", path, out], capture_output=True,
                                         text=True, timeout=120, env=dict(os.environ, LC_ALL="C.UTF-8"))
                    if run.returncode != 0:
                        self.assertNotRegex(run.stderr.split(path + ": ", 1)[-1], r"(?i)chart", extension)
                        continue
                    converted += 1
                    if extension == ".xlsx":
                        self.assertEqual(openpyxl_charts(out), charts, "openpyxl's charts of the .xlsx")
                    written = self.read(out)
                    self.assertEqual(len(written), charts, extension)
                    kept = expected
                    if extension == ".ods":
                        written, kept, matched = without_stock_charts(written, expected)
                        self.assertTrue(matched, "stock charts in their places")
                    written = comparable(written)
                    self.assertEqual([chart for chart in kept if chart in written], kept, extension)
                types.update(chart_type for _, found in expected for chart_type, _ in found if chart_type != "categories")
        self.assertGreaterEqual(converted, 4)
        self.assertGreaterEqual(len(types), 5, types)


if __name__ == "__main__":
    unittest.main()

#!/usr/bin/python3
"""openpyxl, an independent reader of the Excel workbook format, reads the .xlsx that `tortelet-sheet fill`
wrote: the cells, their number formats, the sheet's look and the 3-D pie chart with its ranges."""

import os
import sys
import tempfile
import unittest
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, HERE)
import filled_workbooks as filled  # noqa: E402

import openpyxl  # noqa: E402
from openpyxl.chart.chartspace import ChartSpace  # noqa: E402
from openpyxl.xml.functions import fromstring  # noqa: E402


def title_text(chart):
    return "".join(run.t for paragraph in chart.title.tx.rich.p for run in (paragraph.r or []))


class FilledXlsx(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory(prefix="tortelet-openpyxl-")
        cls.paths = filled.fill_package_cases(cls.folder.name, ".xlsx")

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def test_cells_formats_and_the_pie_chart_of_every_case(self):
        for name, entries in filled.PACKAGE_CASES.items():
            with self.subTest(case=name):
                path = self.paths[name]
                self.check(openpyxl.load_workbook(path), entries)
                with zipfile.ZipFile(path) as package:
                    space = ChartSpace.from_tree(fromstring(package.read("xl/charts/chart1.xml")))
                view = space.chart.view3D
                self.assertEqual((view.rotX, view.rotY, view.hPercent, view.rAngAx, view.perspective),
                                 (30, 210, 100, False, 0))

    def check(self, book, entries):
        self.assertEqual(book.sheetnames, ["Assets"])
        sheet = book.active
        self.assertEqual(sheet.title, "Assets")
        self.assertFalse(sheet.sheet_view.showGridLines)
        self.assertEqual(sheet.column_dimensions["A"].width, 15.25)
        self.assertEqual(sheet.column_dimensions["B"].width, 10.375)
        self.assertEqual(sheet.row_dimensions[4].height, 15)
        self.assertEqual((sheet["A3"].value, sheet["B3"].value), ("Asset Type", "Amount"))
        self.assertTrue(sheet["A3"].font.b)
        self.assertEqual(sheet["A3"].font.name, "Constantia")
        for index, (label, amount) in enumerate(entries):
            row = filled.FIRST_DATA_ROW + index
            self.assertEqual(sheet.cell(row, 1).value, label)
            self.assertEqual(sheet.cell(row, 2).value, float(amount))
            self.assertEqual(sheet.cell(row, 2).number_format, filled.AMOUNT_FORMAT)
        for row in range(filled.FIRST_DATA_ROW + len(entries), filled.last_data_row(entries) + 1):
            self.assertIsNone(sheet.cell(row, 2).value)

        self.assertEqual(len(sheet._charts), 1)
        chart = sheet._charts[0]
        self.assertEqual(chart.tagname, "pie3DChart")
        self.assertEqual(title_text(chart), "My Assets")
        self.assertIsNone(chart.legend)
        self.assertEqual(chart.anchor._from.col, 2)
        self.assertEqual(chart.anchor._from.row, 2)
        self.assertEqual((chart.anchor.to.col, chart.anchor.to.row), (14, 25))
        self.assertEqual(len(chart.series), 1)
        series = chart.series[0]
        last = filled.last_data_row(entries)
        self.assertEqual(series.val.numRef.f, "'Assets'!$B$%d:$B$%d" % (filled.FIRST_DATA_ROW, last))
        self.assertEqual(series.cat.strRef.f, "'Assets'!$A$%d:$A$%d" % (filled.FIRST_DATA_ROW, last))
        self.assertEqual(series.tx.strRef.f, "'Assets'!$B$3")
        cached = {point.idx: point.v for point in series.val.numRef.numCache.pt}
        self.assertEqual(cached, {index: float(amount) for index, (_, amount) in enumerate(entries)})
        self.assertEqual([point.explosion for point in series.dPt], [10] * len(entries))
        self.assertTrue(series.dLbls.showCatName and series.dLbls.showPercent and series.dLbls.showLeaderLines)
        self.assertFalse(series.dLbls.showVal)


if __name__ == "__main__":
    unittest.main()

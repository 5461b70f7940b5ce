#!/usr/bin/python3
"""LibreOffice opens what `tortelet-sheet fill` wrote, as .xls, .xlsx and .ods: the values, the 3-D pie chart,
its title, the chart's data ranges and the colours of its slices. One private LibreOffice instance serves every
check of a run."""

import os
import re
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "office"))
import filled_workbooks as filled  # noqa: E402
from office_session import OfficeSession  # noqa: E402

from com.sun.star.table.CellContentType import TEXT, VALUE  # noqa: E402

PIE = "com.sun.star.chart2.PieChartType"
TEMPLATE_SLICE_COLOURS = [0x004586, 0xFF420E, 0xFFD320, 0x579D1C, 0x7E0021, 0x83CAFF]
office = None
folder = None


def setUpModule():
    global office, folder
    folder = tempfile.TemporaryDirectory(prefix="tortelet-lo-readers-")
    office = OfficeSession().__enter__()


def tearDownModule():
    office.__exit__(None, None, None)
    folder.cleanup()


def rows_of(representation):
    """'$Assets.$B$4:$B$10' -> ('Assets', 'B', 4, 10); a single cell gives the same row twice."""
    match = re.fullmatch(r"\$?'?([^.']+)'?\.\$?([A-Z]+)\$?(\d+)(?::\$?[A-Z]+\$?(\d+))?", representation)
    if match is None:
        raise AssertionError("unexpected range %r" % representation)
    sheet, column, first, last = match.groups()
    return sheet, column, int(first), int(last or first)


class ChartView:
    """What LibreOffice understood of an embedded chart."""

    def __init__(self, embedded):
        document = embedded.EmbeddedObject
        diagram = document.getFirstDiagram()
        systems = diagram.CoordinateSystems
        self.three_d = document.Diagram.Dim3D
        self.diagram = document.Diagram.getDiagramType()
        self.title = document.Title.String if document.HasMainTitle else None
        self.types = [chart_type.ChartType for system in systems for chart_type in system.ChartTypes]
        self.series = []
        for system in systems:
            for chart_type in system.ChartTypes:
                for series in chart_type.DataSeries:
                    self.series.append(self._sequences(series))
        categories = systems[0].getAxisByDimension(0, 0).getScaleData().Categories
        self.categories = categories.getValues().getSourceRangeRepresentation() if categories else None

    @staticmethod
    def _sequences(series):
        found = {}
        for labelled in series.getDataSequences():
            values = labelled.getValues()
            found["values"] = values.getSourceRangeRepresentation()
            found["data"] = list(values.getData())
            label = labelled.getLabel()
            found["label"] = label.getSourceRangeRepresentation() if label else None
        return found


def slice_colours(sheet):
    """The fill colour LibreOffice gives each point of the first chart's series."""
    document = sheet.Charts.getByIndex(0).EmbeddedObject
    series = document.getFirstDiagram().CoordinateSystems[0].ChartTypes[0].DataSeries[0]
    count = len(series.getDataSequences()[0].getValues().getData())
    return [series.getDataPointByIndex(k).Color for k in range(count)]


def charts_of(sheet):
    charts = sheet.Charts
    return [ChartView(charts.getByIndex(index)) for index in range(charts.Count)]


class FilledTemplate(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.paths = filled.fill_all_cases(folder.name)

    def test_values_and_the_pie_chart_of_every_case(self):
        for name, entries in filled.CASES.items():
            with self.subTest(case=name):
                document = office.open(self.paths[name])
                try:
                    self.check(document, entries)
                    if len(entries) > len(TEMPLATE_SLICE_COLOURS):
                        self.check_slice_colours(document.Sheets.getByName("Assets"))
                finally:
                    document.close(True)

    def check_slice_colours(self, sheet):
        """The template's slices keep their colours, and each slice that the fill added has one of its own:
        no two neighbours share a colour, the last and the first included."""
        colours = slice_colours(sheet)
        self.assertEqual(colours[:len(TEMPLATE_SLICE_COLOURS)], TEMPLATE_SLICE_COLOURS)
        for index, colour in enumerate(colours):
            self.assertNotEqual(colour, colours[(index + 1) % len(colours)], (index, ["%06X" % c for c in colours]))

    def check(self, document, entries):
        self.assertEqual(document.Sheets.ElementNames, ("Assets",))
        sheet = document.Sheets.getByName("Assets")
        self.assertEqual(sheet.getCellRangeByName("A3").getString(), "Asset Type")
        for index, (label, amount) in enumerate(entries):
            row = filled.FIRST_DATA_ROW + index
            label_cell = sheet.getCellRangeByName("A%d" % row)
            amount_cell = sheet.getCellRangeByName("B%d" % row)
            self.assertEqual(label_cell.Type, TEXT)
            self.assertEqual(label_cell.getString(), label)
            self.assertEqual(amount_cell.Type, VALUE, (row, amount))
            self.assertAlmostEqual(amount_cell.getValue(), float(amount), places=9)

        charts = charts_of(sheet)
        self.assertEqual(len(charts), 1)
        chart = charts[0]
        self.assertEqual(chart.types, [PIE])
        self.assertTrue(chart.three_d)
        self.assertEqual(len(chart.series), 1)
        series = chart.series[0]
        last = filled.last_data_row(entries)
        self.assertEqual(rows_of(series["values"]), ("Assets", "B", filled.FIRST_DATA_ROW, last))
        self.assertEqual(rows_of(chart.categories), ("Assets", "A", filled.FIRST_DATA_ROW, last))
        self.assertEqual(rows_of(series["label"]), ("Assets", "B", 3, 3))
        amounts = [float(amount) for _, amount in entries]
        self.assertEqual([value for value in series["data"][:len(amounts)]], amounts)


class FilledPackages(unittest.TestCase):
    """The same cases filled straight into .xlsx and into .ods read as the .xls does."""

    def test_values_and_the_pie_chart_of_every_case(self):
        for extension in (".xlsx", ".ods"):
            paths = filled.fill_package_cases(folder.name, extension)
            for name, entries in filled.PACKAGE_CASES.items():
                with self.subTest(case=name + extension):
                    document = office.open(paths[name])
                    try:
                        FilledTemplate.check(self, document, entries)
                        chart = charts_of(document.Sheets.getByName("Assets"))[0]
                        self.assertEqual(chart.diagram, "com.sun.star.chart.PieDiagram")
                        self.assertEqual(chart.title, "My Assets")
                    finally:
                        document.close(True)


class FilledForeignWorkbooks(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.pairs = filled.fill_foreign(folder.name)

    def test_sheets_and_charts_survive_the_fill(self):
        for name, (original_path, filled_path) in self.pairs.items():
            with self.subTest(workbook=name):
                original = office.open(original_path)
                result = office.open(filled_path)
                try:
                    self.assertEqual(result.Sheets.ElementNames, original.Sheets.ElementNames)
                    for sheet_name in original.Sheets.ElementNames:
                        before = charts_of(original.Sheets.getByName(sheet_name))
                        after = charts_of(result.Sheets.getByName(sheet_name))
                        self.assertEqual([chart.types for chart in after], [chart.types for chart in before])
                        self.compare_series(before, after)
                    sheet = result.Sheets.getByName(filled.FOREIGN[name])
                    for index, (label, amount) in enumerate(filled.CASES["seven"]):
                        row = filled.FIRST_DATA_ROW + index
                        self.assertEqual(sheet.getCellRangeByName("A%d" % row).getString(), label)
                        self.assertEqual(sheet.getCellRangeByName("B%d" % row).getValue(), float(amount))
                finally:
                    original.close(True)
                    result.close(True)

    def compare_series(self, before, after):
        """A series over the data rows A4:B9 grows to the seventh entry; any other stays as it was."""
        for chart_before, chart_after in zip(before, after):
            for old, new in zip(chart_before.series, chart_after.series):
                sheet, column, first, last = rows_of(old["values"])
                if (column, first, last) == ("B", filled.FIRST_DATA_ROW, filled.TEMPLATE_LAST_DATA_ROW):
                    last = filled.last_data_row(filled.CASES["seven"])
                self.assertEqual(rows_of(new["values"]), (sheet, column, first, last))



class FilledEncryptedWorkbooks(unittest.TestCase):
    def test_the_copy_opens_with_the_same_password_only(self):
        for name, path in filled.fill_encrypted(folder.name).items():
            password, (kept_cell, kept_text) = filled.ENCRYPTED[name]
            with self.subTest(workbook=name):
                if password is not None:
                    with self.assertRaises(RuntimeError):
                        office.open(path).close(True)
                document = office.open(path, **({} if password is None else {"Password": password}))
                try:
                    sheet = document.Sheets.getByIndex(0)
                    self.assertEqual(sheet.getCellRangeByName(kept_cell).getString(), kept_text)
                    for index, (label, amount) in enumerate(filled.CASES["seven"]):
                        row = filled.FIRST_DATA_ROW + index
                        self.assertEqual(sheet.getCellRangeByName("A%d" % row).getString(), label)
                        self.assertEqual(sheet.getCellRangeByName("B%d" % row).getValue(), float(amount))
                finally:
                    document.close(True)

if __name__ == "__main__":
    unittest.main()

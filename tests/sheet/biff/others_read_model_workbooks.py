#!/usr/bin/python3
"""xlrd, LibreOffice and the engine's drawing read a workbook that the .xls writer made from the model alone
(as it makes one read from another format) like the workbook it came from: the values, formats, widths,
heights, merged cells and comments (xlrd); the picture of the active sheet, charts included (the engine);
each chart's type, 3-D look and data ranges, and the sheets' values and formulas (LibreOffice)."""

import os
import subprocess
import sys
import tempfile
import unittest

import xlrd

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(HERE, "..", "..", "..", "tools", "office"))
from office_session import OfficeSession  # noqa: E402

DATA = os.environ["TORTELET_TEST_DATA"]
WORKBOOKS = [os.environ["TORTELET_CHART_TEMPLATE"]] + [os.path.join(DATA, name) for name in (
    "libreoffice-pie.xls", "writeexcel-chart.xls", "merged-entry-rows.xls", "writeexcel-formulas-and-names.xls",
    "names-and-external-books.xls", "shared-formula-below-the-rows.xls", "chart-sheet-active.xls",
    "libreoffice-features.xls", "writeexcel-budget.xls", "comments-drawing-in-continue-records.xls")]


def rewritten(folder):
    """Each workbook and its copy written without records."""
    pairs = []
    for path in WORKBOOKS:
        copy = os.path.join(folder, "copy-" + os.path.basename(path))
        subprocess.run([os.environ["TORTELET_STRIP_RECORDS"], path, copy], check=True)
        pairs.append((path, copy))
    return pairs


def xlrd_view(path):
    book = xlrd.open_workbook(path, formatting_info=True)
    view = {"sheets": book.sheet_names()}
    for sheet in book.sheets():
        cells = {}
        for row in range(sheet.nrows):
            for column in range(sheet.ncols):
                cell = sheet.cell(row, column)
                xf = book.xf_list[cell.xf_index]
                font = book.font_list[xf.font_index]
                cells[(row, column)] = (cell.ctype, cell.value, book.format_map[xf.format_key].format_str,
                                        font.name, font.height, font.weight, font.italic,
                                        xf.background.fill_pattern, xf.background.pattern_colour_index)
        view[sheet.name] = {
            "cells": cells,
            "widths": {column: info.width for column, info in sheet.colinfo_map.items()},
            "heights": {row: (info.height, info.hidden) for row, info in sheet.rowinfo_map.items()},
            "default height": (sheet.default_row_height or 255, 0),
            "merged": sorted(sheet.merged_cells),
            "gridlines": sheet.show_grid_lines,
            "notes": {place: (note.author, note.text, note.show) for place, note in sheet.cell_note_map.items()},
        }
    return view


class ReadByXlrd(unittest.TestCase):
    def test_every_workbook_reads_as_the_original(self):
        with tempfile.TemporaryDirectory(prefix="tortelet-model-xls-") as folder:
            for original, copy in rewritten(folder):
                with self.subTest(workbook=os.path.basename(original)):
                    before, after = xlrd_view(original), xlrd_view(copy)
                    self.assertEqual(after["sheets"], before["sheets"])
                    for name in before["sheets"]:
                        for part in ("cells", "widths", "merged", "gridlines", "notes"):
                            self.assertEqual(after[name][part], before[name][part], (name, part))
                        old, new = before[name]["heights"], after[name]["heights"]
                        default = before[name]["default height"]
                        for row in set(old) | set(new):
                            self.assertEqual(new.get(row, default), old.get(row, default), (name, row))


# model::ChartType numbers and the chart type LibreOffice reads each as.
CHART_TYPES = {0: "Column", 1: "Column", 2: "Line", 3: "Area", 4: "Scatter", 5: "Pie", 6: "Pie", 7: "Net",
               8: "FilledNet", 11: "Bubble"}


class DrawnByTheEngine(unittest.TestCase):
    def test_every_sheet_is_drawn_as_the_original(self):
        """The picture of each workbook's active sheet, charts included, is the same to the byte."""
        with tempfile.TemporaryDirectory(prefix="tortelet-model-xls-") as folder:
            for original, copy in rewritten(folder):
                with self.subTest(workbook=os.path.basename(original)):
                    pictures = []
                    for number, source in enumerate((original, copy)):
                        picture = os.path.join(folder, "picture-%d.png" % number)
                        subprocess.run([os.environ["TORTELET_SHEET"], "render", source, picture, "--sheet"], check=True,
                                       env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
                        with open(picture, "rb") as data:
                            pictures.append(data.read())
                    self.assertEqual(pictures[1], pictures[0])


def chart_view(embedded):
    """What LibreOffice understood of a chart: its types, 3-D look, series ranges and categories."""
    document = embedded.EmbeddedObject
    diagram = document.getFirstDiagram()
    view = {"three_d": document.Diagram.Dim3D, "diagram": document.Diagram.getDiagramType(),
            "title": document.Title.String if document.HasMainTitle else None, "legend": document.HasLegend,
            "types": [], "series": []}
    for system in diagram.CoordinateSystems:
        for chart_type in system.ChartTypes:
            view["types"].append(chart_type.ChartType)
            for series in chart_type.DataSeries:
                ranges = []
                for labelled in series.getDataSequences():
                    values, label = labelled.getValues(), labelled.getLabel()
                    ranges.append((values.getSourceRangeRepresentation() if values else None,
                                   label.getSourceRangeRepresentation() if label else None))
                view["series"].append(ranges)
    return view


class ReadByLibreOffice(unittest.TestCase):
    def test_charts_and_values_read_as_the_original(self):
        with tempfile.TemporaryDirectory(prefix="tortelet-model-xls-") as folder, OfficeSession() as office:
            for original, copy in rewritten(folder):
                with self.subTest(workbook=os.path.basename(original)):
                    before, after = office.open(original), office.open(copy)
                    try:
                        self.assertEqual(after.Sheets.ElementNames, before.Sheets.ElementNames)
                        for name in before.Sheets.ElementNames:
                            old, new = before.Sheets.getByName(name), after.Sheets.getByName(name)
                            old_charts = [chart_view(old.Charts.getByIndex(k)) for k in range(old.Charts.Count)]
                            new_charts = [chart_view(new.Charts.getByIndex(k)) for k in range(new.Charts.Count)]
                            self.assertEqual(new_charts, old_charts, name)
                            area = old.createCursor()
                            area.gotoEndOfUsedArea(False)
                            end = area.RangeAddress
                            if end.EndColumn or end.EndRow:
                                cells = (0, 0, end.EndColumn, end.EndRow)
                                self.assertEqual(new.getCellRangeByPosition(*cells).getFormulaArray(),
                                                 old.getCellRangeByPosition(*cells).getFormulaArray(), name)
                    finally:
                        before.close(True)
                        after.close(True)

    def test_a_chart_of_each_type_keeps_its_type_and_ranges(self):
        with tempfile.TemporaryDirectory(prefix="tortelet-model-xls-") as folder, OfficeSession() as office:
            for number, expected in CHART_TYPES.items():
                with self.subTest(type=number):
                    path = os.path.join(folder, "type-%d.xls" % number)
                    subprocess.run([os.environ["TORTELET_STRIP_RECORDS"], os.environ["TORTELET_CHART_TEMPLATE"], path,
                                    str(number)], check=True)
                    document = office.open(path)
                    try:
                        chart = chart_view(document.Sheets.getByName("Assets").Charts.getByIndex(0))
                        self.assertEqual(chart["types"], ["com.sun.star.chart2.%sChartType" % expected])
                        self.assertFalse(chart["three_d"])
                        self.assertTrue(chart["legend"])
                        self.assertEqual(chart["title"], "My Assets")
                        ranges = [pair[0] for pair in chart["series"][0]]
                        self.assertIn("$Assets.$B$4:$B$9", ranges)
                    finally:
                        document.close(True)


if __name__ == "__main__":
    unittest.main()

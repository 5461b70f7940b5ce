#!/usr/bin/python3
"""xlrd, an independent reader of the Excel 97-2003 format, reads what `tortelet-sheet fill` wrote."""

import os
import struct
import sys
import tempfile
import unittest

import xlrd
from xlrd import compdoc

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import filled_workbooks as filled  # noqa: E402


def open_book(path):
    return xlrd.open_workbook(path, formatting_info=True, on_demand=False)


def format_code(book, sheet, row, column):
    return book.format_map[book.xf_list[sheet.cell_xf_index(row, column)].format_key].format_str


def chart_records(path):
    """(type, body) of each record of the first embedded chart's substream, read with xlrd's own
    compound-file reader."""
    with open(path, "rb") as workbook_file:
        stream = compdoc.CompDoc(workbook_file.read()).get_named_stream("Workbook")
    records, position, inside = [], 0, False
    while position + 4 <= len(stream):
        kind, length = struct.unpack_from("<HH", stream, position)
        body = stream[position + 4:position + 4 + length]
        if kind == 0x0809 and struct.unpack_from("<H", body, 2)[0] == 0x0020:
            inside = True
        if inside:
            records.append((kind, body))
            if kind == 0x000A:
                break
        position += 4 + length
    return records


def cell_or_empty(sheet, row, column):
    if row < sheet.nrows and column < sheet.ncols:
        return sheet.cell(row, column)
    return xlrd.sheet.Cell(xlrd.XL_CELL_EMPTY, "")


class FilledTemplate(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory(prefix="tortelet-xlrd-")
        cls.paths = filled.fill_all_cases(cls.folder.name)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def test_every_case_holds_its_entries_with_the_amount_format(self):
        for name, entries in filled.CASES.items():
            with self.subTest(case=name):
                book = open_book(self.paths[name])
                self.assertEqual(book.sheet_names(), ["Assets"])
                sheet = book.sheet_by_name("Assets")
                self.assertEqual(sheet.cell_value(2, 0), "Asset Type")
                self.assertEqual(sheet.cell_value(2, 1), "Amount")
                for index, (label, amount) in enumerate(entries):
                    row = filled.FIRST_DATA_ROW - 1 + index
                    self.assertEqual(sheet.cell(row, 0).ctype, xlrd.XL_CELL_TEXT)
                    self.assertEqual(sheet.cell_value(row, 0), label)
                    self.assertEqual(sheet.cell(row, 1).ctype, xlrd.XL_CELL_NUMBER, (row, amount))
                    self.assertEqual(sheet.cell_value(row, 1), float(amount))
                    self.assertEqual(format_code(book, sheet, row, 1), filled.AMOUNT_FORMAT)

    def test_data_rows_without_an_entry_are_empty(self):
        for name, entries in filled.CASES.items():
            with self.subTest(case=name):
                sheet = open_book(self.paths[name]).sheet_by_name("Assets")
                for row in range(filled.FIRST_DATA_ROW - 1 + len(entries), filled.TEMPLATE_LAST_DATA_ROW):
                    for column in (0, 1):
                        self.assertIn(cell_or_empty(sheet, row, column).ctype,
                                      (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK), (row, column))

    def test_the_template_itself_reads_as_described(self):
        book = open_book(os.path.join(self.folder.name, "Pie Chart.xlt"))
        sheet = book.sheet_by_name("Assets")
        self.assertEqual(book.sheet_names(), ["Assets"])
        self.assertFalse(sheet.show_grid_lines)
        self.assertEqual(sheet.colinfo_map[0].width, 3904)
        self.assertEqual(sheet.colinfo_map[1].width, 2656)
        for row in range(2, 9):
            self.assertEqual(sheet.rowinfo_map[row].height, 300)
        samples = [(label, float(amount)) for label, amount in filled.SAMPLE]
        self.assertEqual([(sheet.cell_value(row, 0), sheet.cell_value(row, 1)) for row in range(3, 9)], samples)
        for row in range(3, 9):
            self.assertEqual(format_code(book, sheet, row, 1),
                             '_("$"* #,##0_);_("$"* \\(#,##0\\);_("$"* "-"??_);_(@_)')
        for row, column in ((2, 0), (2, 1)):
            font = book.font_list[book.xf_list[sheet.cell_xf_index(row, column)].font_index]
            self.assertEqual((font.name, font.height, font.weight), ("Constantia", 220, 700))
        self.assertEqual(sheet.cell(16, 1).ctype, xlrd.XL_CELL_BLANK)
        self.assertEqual(sheet.cell(18, 1).ctype, xlrd.XL_CELL_BLANK)
        self.assertEqual((sheet.nrows, sheet.ncols), (19, 2))

    def test_the_template_chart_is_the_exploded_3d_pie(self):
        path = os.path.join(self.folder.name, "Pie Chart.xlt")
        records = chart_records(path)
        of = lambda kind: [body for record_kind, body in records if record_kind == kind]  # noqa: E731
        (pie,) = of(0x1019)
        self.assertEqual(struct.unpack("<HHH", pie), (210, 0, 0x0003))  # shadow and leader lines
        (three_d,) = of(0x103A)
        rotation, elevation, _, height, _, _, flags = struct.unpack("<hhHHHHH", three_d)
        self.assertEqual((rotation, elevation, height, flags & 0x0001), (210, 30, 100, 0))
        self.assertTrue(of(0x100B))
        self.assertEqual({struct.unpack("<H", body)[0] for body in of(0x100B)}, {10})
        labels = {struct.unpack("<H", body)[0] for body in of(0x100C)}
        self.assertTrue(labels)
        for flags in labels:
            self.assertEqual(flags & 0x0013, 0x0012)  # percentage and category name, no value
        self.assertEqual(of(0x1015), [])  # no legend
        self.assertEqual(len(of(0x1003)), 1)
        book = open_book(path)
        heights = sorted({(book.font_list[struct.unpack("<H", body)[0]].height,
                           book.font_list[struct.unpack("<H", body)[0]].weight) for body in of(0x1026)})
        self.assertEqual(heights, [(260, 700), (360, 700)])  # labels 13 pt, title 18 pt, bold


class FilledForeignWorkbooks(unittest.TestCase):
    """Workbooks made by LibreOffice and by Spreadsheet::WriteExcel keep what the fill did not write."""

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory(prefix="tortelet-xlrd-foreign-")
        cls.pairs = filled.fill_foreign(cls.folder.name)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def written(self, sheet_name, filled_sheet, row, column):
        entries = filled.CASES["seven"]
        return (filled_sheet == sheet_name and column in (0, 1)
                and filled.FIRST_DATA_ROW - 1 <= row < filled.last_data_row(entries))

    def test_cells_outside_the_data_rows_are_unchanged(self):
        for name, (original_path, filled_path) in self.pairs.items():
            with self.subTest(workbook=name):
                original, result = open_book(original_path), open_book(filled_path)
                self.assertEqual(result.sheet_names(), original.sheet_names())
                for before in original.sheets():
                    after = result.sheet_by_name(before.name)
                    rows = max(before.nrows, after.nrows)
                    columns = max(before.ncols, after.ncols)
                    for row in range(rows):
                        for column in range(columns):
                            if self.written(before.name, filled.FOREIGN[name], row, column):
                                continue
                            old = cell_or_empty(before, row, column)
                            new = cell_or_empty(after, row, column)
                            where = (before.name, row, column)
                            self.assertEqual((new.ctype, new.value), (old.ctype, old.value), where)
                            if old.ctype not in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
                                self.assertEqual(format_code(result, after, row, column),
                                                 format_code(original, before, row, column), where)
                    self.assertEqual(after.merged_cells, before.merged_cells)
                    self.assertEqual({key: info.width for key, info in after.colinfo_map.items()},
                                     {key: info.width for key, info in before.colinfo_map.items()})
                    self.assertEqual({key: note.text for key, note in after.cell_note_map.items()},
                                     {key: note.text for key, note in before.cell_note_map.items()})

    def test_the_entries_are_written_to_the_active_sheet(self):
        for name, (_, filled_path) in self.pairs.items():
            with self.subTest(workbook=name):
                book = open_book(filled_path)
                sheet = book.sheet_by_name(filled.FOREIGN[name])
                for index, (label, amount) in enumerate(filled.CASES["seven"]):
                    row = filled.FIRST_DATA_ROW - 1 + index
                    self.assertEqual(sheet.cell_value(row, 0), label)
                    self.assertEqual(sheet.cell_value(row, 1), float(amount))
                    self.assertEqual(format_code(book, sheet, row, 1), filled.AMOUNT_FORMAT)


if __name__ == "__main__":
    unittest.main()

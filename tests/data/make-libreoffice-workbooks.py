#!/usr/bin/python3
"""Writes the workbooks in this folder that LibreOffice makes (BIFF8, "MS Excel 97" filter):

libreoffice-inventory.xls  two sheets: "Assets" (active) with text, numbers, a date, a formula
                           and Unicode around the data cells A4:B9, and "Summary"
libreoffice-pie.xls        one sheet "Data" with a 2-D pie chart over A4:B9 and a bar chart
                           over D4:E6 beside it
libreoffice-strings.xls    1,500 distinct texts (so the string table goes on in CONTINUE
                           records), one text of 9,000 characters split between records,
                           numbers and Unicode, imported from CSV
libreoffice-drawings.xls   "Shapes" with a rectangle holding text, an ellipse, a line with an
                           arrowhead, a text box, a push button and a picture (PNG), and comments
                           on A1 (shown) and C3; "More" shows the same picture again, with a
                           comment on B2
libreoffice-password.xls   encrypted with the password "Brötchen-7" (RC4): "Assets" (active)
                           with the data rows A3:B9 and 400 rows of text and numbers below,
                           so that the stream spans many blocks of the cipher, and "Notes"

    /usr/bin/python3 tests/data/make-libreoffice-workbooks.py [output folder]
"""

import os
import struct
import sys
import tempfile
import zlib

import uno
from com.sun.star.table import CellRangeAddress

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "office"))
from office_session import OfficeSession, file_url, properties  # noqa: E402

WORKBOOK_FILTER = "MS Excel 97"
PASSWORD = "Brötchen-7"


def new_document(office):
    return office.desktop.loadComponentFromURL(
        "private:factory/scalc", "_blank", 0, properties(Hidden=True))


def save(document, path, **options):
    document.storeToURL(file_url(path), properties(FilterName=WORKBOOK_FILTER, Overwrite=True, **options))
    document.close(True)


def date_format(document):
    locale = uno.createUnoStruct("com.sun.star.lang.Locale")
    locale.Language, locale.Country = "en", "US"
    key = document.NumberFormats.queryKey("YYYY-MM-DD", locale, False)
    return key if key >= 0 else document.NumberFormats.addNew("YYYY-MM-DD", locale)


def inventory(office, path):
    document = new_document(office)
    sheets = document.Sheets
    assets = sheets.getByIndex(0)
    assets.Name = "Assets"
    sheets.insertNewByName("Summary", 1)
    summary = sheets.getByName("Summary")

    summary.getCellRangeByName("A1").setString("Inventory summary")
    summary.getCellRangeByName("A2").setFormula("=SUM(Assets.B4:B9)")
    summary.getCellRangeByName("B2").setValue(0.25)
    summary.getCellRangeByName("B2").NumberFormat = 10  # 0.00%

    assets.getCellRangeByName("A1").setString("Ünïcödé – ✓ 日本")
    assets.getCellRangeByName("A3").setString("Item")
    assets.getCellRangeByName("B3").setString("Value")
    for row, (label, value) in enumerate([("Desk", 250), ("Lamp", 35.5), ("Chair", 120)], start=4):
        assets.getCellRangeByName("A%d" % row).setString(label)
        assets.getCellRangeByName("B%d" % row).setValue(value)
    assets.getCellRangeByName("D3").setString("Bought")
    assets.getCellRangeByName("D4").setValue(45000)
    assets.getCellRangeByName("D4").NumberFormat = date_format(document)
    assets.getCellRangeByName("D5").setFormula("=B4*2")
    assets.getCellRangeByName("E7").setString("far corner")
    assets.getCellRangeByName("C20").setValue(-1.5e-7)
    assets.getCellRangeByName("A3:B3").CharWeight = 150.0
    save(document, path)


def add_chart(sheet, name, area, cells, kind):
    first, last = cells
    source = CellRangeAddress()
    source.Sheet = 0
    source.StartColumn, source.StartRow = first
    source.EndColumn, source.EndRow = last
    sheet.Charts.addNewByName(name, area, (source,), True, True)
    chart = sheet.Charts.getByName(name).EmbeddedObject
    chart.setDiagram(chart.createInstance(kind))
    chart.HasMainTitle = True
    chart.Title.String = name


def rectangle(x, y, width, height):
    area = uno.createUnoStruct("com.sun.star.awt.Rectangle")
    area.X, area.Y, area.Width, area.Height = x, y, width, height
    return area


def pie(office, path):
    document = new_document(office)
    data = document.Sheets.getByIndex(0)
    data.Name = "Data"
    data.getCellRangeByName("A3").setString("Kind")
    data.getCellRangeByName("B3").setString("Share")
    for row, (label, value) in enumerate(
            [("Red", 1), ("Green", 2), ("Blue", 3), ("Cyan", 4), ("Magenta", 5), ("Yellow", 6)], start=4):
        data.getCellRangeByName("A%d" % row).setString(label)
        data.getCellRangeByName("B%d" % row).setValue(value)
    data.getCellRangeByName("D3").setString("Year")
    data.getCellRangeByName("E3").setString("Count")
    for row, (year, count) in enumerate([("2019", 4), ("2020", 7), ("2021", 5)], start=4):
        data.getCellRangeByName("D%d" % row).setString(year)
        data.getCellRangeByName("E%d" % row).setValue(count)
    add_chart(data, "Shares", rectangle(9000, 500, 10000, 7000), ((0, 2), (1, 8)),
              "com.sun.star.chart.PieDiagram")
    add_chart(data, "Counts", rectangle(9000, 8000, 10000, 6000), ((3, 2), (4, 5)),
              "com.sun.star.chart.BarDiagram")
    save(document, path)


def strings(office, path):
    with tempfile.TemporaryDirectory() as work:
        csv = os.path.join(work, "lo-strings.csv")  # the sheet's name
        with open(csv, "w", encoding="utf-8") as out:
            out.write("Label,Amount\n")
            for i in range(1500):
                out.write(f"entry {i} ünïcödé {'x' * (i % 17)},{i * 1.25}\n")
            out.write("long," + "0123456789" * 900 + "\n")
        # Comma-separated, double quotes, UTF-8, from the first line.
        document = office.desktop.loadComponentFromURL(
            file_url(csv), "_blank", 0,
            properties(Hidden=True, FilterName="Text - txt - csv (StarCalc)", FilterOptions="44,34,76,1"))
        save(document, path)


def encrypted(office, path):
    document = new_document(office)
    sheets = document.Sheets
    assets = sheets.getByIndex(0)
    assets.Name = "Assets"
    sheets.insertNewByName("Notes", 1)
    sheets.getByName("Notes").getCellRangeByName("A1").setString("kept under lock")
    assets.getCellRangeByName("A3").setString("Asset Type")
    assets.getCellRangeByName("B3").setString("Amount")
    for row, (label, value) in enumerate(
            [("Savings", 25000), ("401k", 55000), ("Stocks", 15000), ("House", 250000), ("Bonds", 11000),
             ("Car", 7500)], start=4):
        assets.getCellRangeByName("A%d" % row).setString(label)
        assets.getCellRangeByName("B%d" % row).setValue(value)
    for row in range(12, 412):
        assets.getCellRangeByName("A%d" % row).setString("line %d – ünïcödé" % row)
        assets.getCellRangeByName("B%d" % row).setValue(row * 0.5)
    save(document, path, Password=PASSWORD)


def png(width, height):
    """A PNG of a red and blue diagonal, made here so that the workbook needs no file."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\0" + b"".join(b"\xc0\x20\x20" if x > y else b"\x20\x40\xc0" for x in range(width))
                    for y in range(height))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def shape(document, sheet, kind, area, **settings):
    item = document.createInstance("com.sun.star.drawing." + kind)
    sheet.DrawPage.add(item)
    item.Position = uno.createUnoStruct("com.sun.star.awt.Point", area.X, area.Y)
    item.Size = uno.createUnoStruct("com.sun.star.awt.Size", area.Width, area.Height)
    for name, value in settings.items():
        setattr(item, name, value)
    return item


def drawings(office, path):
    document = new_document(office)
    sheets = document.Sheets
    shapes = sheets.getByIndex(0)
    shapes.Name = "Shapes"
    sheets.insertNewByName("More", 1)
    more = sheets.getByName("More")
    for row, label in enumerate(["Label", "Box", "Ring"], start=1):
        shapes.getCellRangeByName("A%d" % row).setString(label)
    rect = shape(document, shapes, "RectangleShape", rectangle(3000, 500, 4000, 2000), FillColor=0xFFD320,
                 LineColor=0x004586, Name="Yellow box")
    rect.setString("Boxed text")
    shape(document, shapes, "EllipseShape", rectangle(8000, 500, 3000, 2000), FillColor=0x579D1C)
    shape(document, shapes, "LineShape", rectangle(3000, 3000, 5000, 1500), LineColor=0xFF0000,
          LineEndName="Arrow", LineEndWidth=300)
    box = shape(document, shapes, "TextShape", rectangle(3000, 5000, 5000, 1200), TextAutoGrowHeight=False)
    box.setString("A text box\nwith two lines")
    button = document.createInstance("com.sun.star.form.component.CommandButton")
    button.Label = "Press me"
    control = shape(document, shapes, "ControlShape", rectangle(9000, 5000, 3000, 900))
    control.Control = button
    with tempfile.TemporaryDirectory() as work:
        image = os.path.join(work, "diagonal.png")
        with open(image, "wb") as out:
            out.write(png(48, 32))
        for sheet, x in ((shapes, 3000), (more, 1000)):
            shape(document, sheet, "GraphicObjectShape", rectangle(x, 7000, 4800, 3200), GraphicURL=file_url(image))
    for sheet, cell, text in ((shapes, "A1", "Shown all the time"), (shapes, "C3", "A note on C3"),
                              (more, "B2", "A note on another sheet")):
        address = sheet.getCellRangeByName(cell).CellAddress
        sheet.Annotations.insertNew(address, text)
    shapes.getCellRangeByName("A1").Annotation.IsVisible = True
    save(document, path)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else HERE
    with OfficeSession() as office:
        inventory(office, os.path.join(folder, "libreoffice-inventory.xls"))
        pie(office, os.path.join(folder, "libreoffice-pie.xls"))
        strings(office, os.path.join(folder, "libreoffice-strings.xls"))
        encrypted(office, os.path.join(folder, "libreoffice-password.xls"))
        drawings(office, os.path.join(folder, "libreoffice-drawings.xls"))


if __name__ == "__main__":
    main()

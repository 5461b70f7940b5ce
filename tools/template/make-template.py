#!/usr/bin/python3
"""Builds the chart template resources/templates/pie-chart.xlt.

Step one has a private headless LibreOffice author the workbook: the sheet
"Assets" with the sample table, its banded look and the 3-D pie "Chart 1",
saved with the BIFF8 template filter. Step two hands the raw file to
tortelet-finish-template, which sets with our own engine what LibreOffice
cannot write headless: hidden gridlines, the exact accounting format code and
the exact column widths. In between, the pie's shadow and leader-line flags,
which LibreOffice does not export, are set in its PIE record.

    /usr/bin/python3 tools/template/make-template.py \
        --finisher build/tools/template/tortelet-finish-template \
        --output resources/templates/pie-chart.xlt

Without --finisher only the raw LibreOffice workbook is written.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

import uno
from com.sun.star.table import CellRangeAddress

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "office"))
from office_session import OfficeSession, file_url, properties  # noqa: E402

TEMPLATE_FILTER = "MS Excel 97 Vorlage/Template"
FONT = "Constantia"
BOLD = 150.0  # com.sun.star.awt.FontWeight.BOLD

SAMPLES = [("Savings", 25000), ("401k", 55000), ("Stocks", 15000),
           ("House", 250000), ("Bonds", 11000), ("Car", 7500)]
ACCOUNTING = '_("$"* #,##0_);_("$"* \\(#,##0\\);_("$"* "-"??_);_(@_)'

HEADER_FILL = 0x4F81BD
HEADER_TEXT = 0xFFFFFF
BAND_FILLS = (0xB8CCE4, 0xDBE5F1)

HUNDREDTH_MM_PER_POINT = 2540.0 / 72.0
ROW_HEIGHT_PT = 15.0
DEFAULT_COLUMN_PT = 54.0          # 72 pixels
# Near enough for LibreOffice; the finishing step writes the exact widths (3904 and 2656).
COLUMN_A_PX = 15.25 * 7 + 5       # characters of a 7-pixel digit plus the cell margins
COLUMN_B_PX = 10.375 * 7 + 5


def hmm(points):
    return int(round(points * HUNDREDTH_MM_PER_POINT))


def px_to_pt(pixels):
    return pixels * 0.75


def set_default_font(document):
    styles = document.StyleFamilies.getByName("CellStyles")
    default = styles.getByName("Default")
    for suffix in ("", "Asian", "Complex"):
        default.setPropertyValue("CharFontName" + suffix, FONT)
        default.setPropertyValue("CharHeight" + suffix, 11.0)


def fill_cells(document, sheet):
    sheet.getCellByPosition(0, 2).setString("Asset Type")
    sheet.getCellByPosition(1, 2).setString("Amount")
    header = sheet.getCellRangeByName("A3:B3")
    header.CharWeight = BOLD
    header.CellBackColor = HEADER_FILL
    header.CharColor = HEADER_TEXT

    formats = document.NumberFormats
    locale = uno.createUnoStruct("com.sun.star.lang.Locale")
    locale.Language, locale.Country = "en", "US"
    key = formats.queryKey(ACCOUNTING, locale, False)
    if key < 0:
        key = formats.addNew(ACCOUNTING, locale)

    for index, (label, amount) in enumerate(SAMPLES):
        row = 3 + index
        sheet.getCellByPosition(0, row).setString(label)
        sheet.getCellByPosition(1, row).setValue(amount)
        band = sheet.getCellRangeByPosition(0, row, 1, row)
        band.CellBackColor = BAND_FILLS[index % 2]
    sheet.getCellRangeByName("B4:B9").NumberFormat = key

    white = uno.createUnoStruct("com.sun.star.table.BorderLine2")
    white.Color, white.OuterLineWidth, white.LineWidth = HEADER_TEXT, 18, 18
    table = sheet.getCellRangeByName("A3:B9")
    border = table.TableBorder2
    for side in ("TopLine", "BottomLine", "LeftLine", "RightLine",
                 "HorizontalLine", "VerticalLine"):
        setattr(border, side, white)
        setattr(border, "Is" + side + "Valid", True)
    table.TableBorder2 = border

    # Two empty cells that carry formatting of their own; they end the used range at B19.
    for name in ("B17", "B19"):
        cell = sheet.getCellRangeByName(name)
        cell.CharWeight = 100.0  # NORMAL, set explicitly so the cell is written
        cell.CellBackColor = 0xFFFFFF
        cell.IsCellBackgroundTransparent = True


def size_grid(sheet):
    columns = sheet.Columns
    columns.Width = hmm(DEFAULT_COLUMN_PT)
    columns.getByIndex(0).Width = hmm(px_to_pt(COLUMN_A_PX))
    columns.getByIndex(1).Width = hmm(px_to_pt(COLUMN_B_PX))
    sheet.Rows.Height = hmm(ROW_HEIGHT_PT)


def add_chart(sheet):
    rows = sheet.Rows
    columns = sheet.Columns
    left = columns.getByIndex(0).Width + columns.getByIndex(1).Width \
        + columns.getByIndex(2).Width // 2
    top = rows.getByIndex(0).Height + rows.getByIndex(1).Height
    area = uno.createUnoStruct("com.sun.star.awt.Rectangle")
    area.X, area.Y = left, top
    area.Width, area.Height = hmm(648.75), hmm(348.75)

    source = CellRangeAddress()
    source.Sheet, source.StartColumn, source.StartRow = 0, 0, 2
    source.EndColumn, source.EndRow = 1, 8
    charts = sheet.Charts
    charts.addNewByName("Chart 1", area, (source,), True, True)
    shape_chart = charts.getByName("Chart 1")
    document = shape_chart.EmbeddedObject

    document.setDiagram(document.createInstance("com.sun.star.chart.PieDiagram"))
    document.HasLegend = False
    document.HasMainTitle = True
    title = document.Title
    title.String = "My Assets"
    title.CharFontName = FONT
    title.CharHeight = 18.0
    title.CharWeight = BOLD
    document.Diagram.Dim3D = True

    diagram = document.getFirstDiagram()
    diagram.StartingAngle = 240                  # written as a first slice at 210 degrees
    diagram.RotationHorizontal = -60             # written as an elevation of 30 degrees
    diagram.RotationVertical = 0
    diagram.D3DScenePerspective = uno.Enum("com.sun.star.drawing.ProjectionMode", "PARALLEL")
    diagram.RightAngledAxes = False

    label = uno.createUnoStruct("com.sun.star.chart2.DataPointLabel")
    label.ShowNumber = False
    label.ShowNumberInPercent = True
    label.ShowCategoryName = True
    label.ShowLegendSymbol = False

    for system in diagram.CoordinateSystems:
        for chart_type in system.ChartTypes:
            for series in chart_type.DataSeries:
                series.Offset = 0.1
                series.Label = label
                series.CharFontName = FONT
                series.CharHeight = 13.0
                series.CharWeight = BOLD
                for index in range(len(SAMPLES)):
                    point = series.getDataPointByIndex(index)
                    point.Offset = 0.1
                    point.Label = label
                    point.CharFontName = FONT
                    point.CharHeight = 13.0
                    point.CharWeight = BOLD
    document.setModified(True)
    return document


def switch_on_shadow_and_leader_lines(path):
    """LibreOffice writes the pie's PIE record (first slice 210 degrees, no hole) with no flags;
    set its shadow (bit 0) and leader-line (bit 1) flags in place. The record keeps its size."""
    with open(path, "rb") as raw:
        data = bytearray(raw.read())
    record = b"\x19\x10\x06\x00" + b"\xd2\x00\x00\x00"
    at = data.find(record + b"\x00\x00")
    if at < 0 or data.find(record, at + 1) >= 0:
        raise RuntimeError("the pie chart's PIE record is not where it was expected in " + path)
    data[at + len(record)] = 0x03
    with open(path, "wb") as raw:
        raw.write(data)


def author(office, raw_path):
    document = office.desktop.loadComponentFromURL(
        "private:factory/scalc", "_blank", 0, properties(Hidden=True))
    try:
        sheets = document.Sheets
        while sheets.Count > 1:
            sheets.removeByName(sheets.ElementNames[-1])
        sheet = sheets.getByIndex(0)
        sheet.Name = "Assets"
        set_default_font(document)
        size_grid(sheet)
        fill_cells(document, sheet)
        add_chart(sheet)
        document.storeToURL(file_url(raw_path),
                            properties(FilterName=TEMPLATE_FILTER, Overwrite=True))
    finally:
        document.close(True)


def place(source, destination):
    """Copies through a temporary file beside the destination, then renames."""
    folder = os.path.dirname(os.path.abspath(destination))
    handle, temporary = tempfile.mkstemp(prefix=".pie-chart-", dir=folder)
    try:
        with os.fdopen(handle, "wb") as target, open(source, "rb") as origin:
            shutil.copyfileobj(origin, target)
        os.chmod(temporary, 0o644)
        os.replace(temporary, destination)
    except BaseException:
        os.unlink(temporary)
        raise


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--output", required=True, help="the finished template")
    parser.add_argument("--finisher", help="the tortelet-finish-template program")
    parser.add_argument("--raw", help="also keep LibreOffice's own output here")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="tortelet-template-") as work:
        raw = args.raw or os.path.join(work, "raw.xlt")
        with OfficeSession() as office:
            author(office, raw)
        switch_on_shadow_and_leader_lines(raw)
        result = raw
        if args.finisher:
            result = os.path.join(work, "finished.xlt")
            subprocess.run([args.finisher, raw, result], check=True, timeout=60)
        place(result, args.output)
    print("wrote", args.output)


if __name__ == "__main__":
    main()

#include "sheet/biff/ModelWorksheet.h"

#include "sheet/biff/CellTableWriter.h"
#include "sheet/biff/DrawingRecords.h"
#include "sheet/biff/ChartStreamWriter.h"
#include "sheet/biff/ColumnInfoRecords.h"
#include "sheet/biff/ModelGlobals.h"
#include "sheet/biff/RecordStream.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/biff/UnicodeText.h"
#include "sheet/text/Utf16.h"
#include "sheet/io/ByteWriter.h"

#include <algorithm>
#include <set>

namespace sheet::biff {
namespace {

constexpr std::uint16_t CalcCount = 0x000C, CalcMode = 0x000D, RefMode = 0x000F, Delta = 0x0010,
                        Iteration = 0x0011, SaveRecalc = 0x005F, PrintHeaders = 0x002A,
                        PrintGridlines = 0x002B, GridSet = 0x0082, Guts = 0x0080, WsBool = 0x0081;

// The records of a sheet's settings that come before its columns; every other record the sheet came with
// follows its window.
bool isSettingsRecord(std::uint16_t type)
{
    switch (type) {
    case 0x001A: case 0x001B:                     // page breaks
    case 0x0014: case 0x0015: case 0x0083: case 0x0084: // header, footer, centring
    case 0x0026: case 0x0027: case 0x0028: case 0x0029: // margins
    case 0x00A1: case 0x004D: case 0x00E9:              // page setup, printer data, background
    case 0x0012: case 0x0013: case 0x0063: case 0x00DD: // protection
        return true;
    default:
        return false;
    }
}

void u16Record(std::vector<std::uint8_t>& out, std::uint16_t type, std::uint16_t value)
{
    std::vector<std::uint8_t> body;
    io::ByteWriter(body).u16(value);
    appendRecordAsIs(out, type, body);
}

// The width of a column in points, as Excel draws a column of its default font.
double columnPoints(const model::Sheet& sheet, int column)
{
    const int width = sheet.columnWidth(column);
    return width <= 0 ? 0 : (width / 256.0 * 7 + 5) * 0.75;
}

ChartSize sizeOf(const model::Sheet& sheet, const model::Anchor& a)
{
    double width = 0, height = 0;
    for (int column = a.col1; column <= a.col2 && column < 256; ++column)
        width += columnPoints(sheet, column);
    width -= columnPoints(sheet, a.col1) * a.dx1 / 1024.0;
    width -= columnPoints(sheet, a.col2) * (1 - a.dx2 / 1024.0);
    for (int row = a.row1; row <= a.row2 && row < 65536; ++row)
        height += sheet.rowHeight(row) / 20.0;
    height -= sheet.rowHeight(a.row1) / 20.0 * a.dy1 / 256.0;
    height -= sheet.rowHeight(a.row2) / 20.0 * (1 - a.dy2 / 256.0);
    return {std::max(width, 1.0), std::max(height, 1.0)};
}

class ModelSheet {
public:
    ModelSheet(const model::Workbook& workbook, std::size_t index, SheetWriting& writing, std::vector<std::uint8_t>& out)
        : workbook_(workbook), sheet_(workbook.sheets[index]), index_(index), writing_(writing), out_(out)
    {
    }

    void writeWorksheet()
    {
        appendRecordAsIs(out_, rt::Bof, bofBody(rt::WorksheetKind));
        const std::size_t indexAt = out_.size();
        const std::size_t blocks = cellTableBlocks(sheet_);
        std::vector<std::uint8_t> index(16 + 4 * blocks, 0);
        if (!sheet_.cells.empty()) {
            io::ByteWriter::put32(index.data() + 4, static_cast<std::uint32_t>(sheet_.cells.begin()->first.row));
            io::ByteWriter::put32(index.data() + 8, static_cast<std::uint32_t>(sheet_.cells.back().first.row + 1));
        }
        appendRecordAsIs(out_, rt::Index, index);
        u16Record(out_, CalcMode, 1);
        u16Record(out_, CalcCount, 100);
        u16Record(out_, RefMode, 1);
        u16Record(out_, Iteration, 0);
        std::vector<std::uint8_t> delta;
        io::ByteWriter(delta).f64(0.001);
        appendRecordAsIs(out_, Delta, delta);
        u16Record(out_, SaveRecalc, 1);
        u16Record(out_, PrintHeaders, 0);
        u16Record(out_, PrintGridlines, 0);
        u16Record(out_, GridSet, 1);
        appendRecordAsIs(out_, Guts, std::vector<std::uint8_t>(8, 0));
        std::vector<std::uint8_t> rowHeight;
        io::ByteWriter h(rowHeight);
        h.u16(sheet_.defaultRowFlags);
        h.u16(static_cast<std::uint16_t>(sheet_.defaultRowHeight));
        appendRecordAsIs(out_, rt::DefaultRowHeight, rowHeight);
        u16Record(out_, WsBool, 0x04C1);
        for (const model::Record& record : sheet_.records)
            if (isSettingsRecord(record.type))
                appendAsRead(out_, record);
        const std::size_t defColWidthAt = out_.size();
        u16Record(out_, rt::DefColWidth, static_cast<std::uint16_t>(sheet_.defaultColumnWidth));
        if (sheet_.standardWidth)
            u16Record(out_, rt::StandardWidth, static_cast<std::uint16_t>(*sheet_.standardWidth));
        writeColumnInfos(sheet_.columns, out_);
        appendRecordAsIs(out_, rt::Dimensions, dimensionsBody(sheet_));
        const std::vector<std::uint32_t> dbCells = writeCellTable(sheet_, out_, 0);
        writeDrawing();
        writeWindow();
        writeMergedAreas();
        for (const model::Record& record : sheet_.records)
            if (!isSettingsRecord(record.type) && record.type != rt::Bof && record.type != rt::Eof)
                appendAsRead(out_, record);
        appendRecordAsIs(out_, rt::Eof, {});

        std::uint8_t* body = out_.data() + indexAt + 4;
        io::ByteWriter::put32(body + 12, static_cast<std::uint32_t>(defColWidthAt));
        for (std::size_t k = 0; k < blocks && k < dbCells.size(); ++k)
            io::ByteWriter::put32(body + 16 + 4 * k, dbCells[k]);
    }

    void writeChartSheet()
    {
        static const model::Chart empty;
        const model::Chart& chart = sheet_.charts.empty() ? empty : sheet_.charts.front();
        const bool active = static_cast<int>(index_) == workbook_.activeSheet;
        writeChartStream(chart, workbook_, writing_.fonts, writing_.links, ChartSize{},
                         active ? ChartPlace::ActiveSheet : ChartPlace::Sheet, out_);
    }

private:
    // The embedded charts and the comments' boxes, each a shape of the sheet's drawing and an object, then
    // the comments' NOTE records.
    void writeDrawing()
    {
        const std::vector<EmbeddedChart> charts = embeddedCharts(sheet_);
        std::vector<SheetShape> shapes;
        for (const EmbeddedChart& chart : charts)
            shapes.push_back({SheetShape::Kind::Chart, chart.anchor, false});
        for (const model::Comment& comment : sheet_.comments)
            shapes.push_back({SheetShape::Kind::Comment, comment.anchor.value_or(boxBeside(comment)), !comment.visible});
        for (std::size_t k = 0; k < shapes.size(); ++k) {
            const int objectId = static_cast<int>(k + 1);
            appendRecord(out_, rt::MsoDrawing, shapeBody(writing_.drawingId, shapes, k));
            appendRecordAsIs(out_, rt::Obj, objBody(shapes[k].kind, objectId));
            if (k < charts.size()) {
                writeChartStream(sheet_.charts[charts[k].chart], workbook_, writing_.fonts, writing_.links,
                                 sizeOf(sheet_, charts[k].anchor), ChartPlace::Embedded, out_);
            } else {
                appendRecordAsIs(out_, rt::MsoDrawing, clientTextBoxBody());
                writeCommentText(sheet_.comments[k - charts.size()]);
            }
        }
        for (std::size_t c = 0; c < sheet_.comments.size(); ++c)
            writeNote(sheet_.comments[c], static_cast<int>(charts.size() + c + 1));
    }

    static model::Anchor boxBeside(const model::Comment& comment)
    {
        model::Anchor anchor;
        anchor.col1 = std::min(comment.column + 1, 255);
        anchor.dx1 = 15 * 1024 / 64;
        anchor.row1 = std::max(comment.row - 1, 0);
        anchor.dy1 = 30;
        anchor.col2 = std::min(comment.column + 3, 255);
        anchor.dx2 = 15 * 1024 / 64;
        anchor.row2 = std::min(comment.row + 3, 65535);
        anchor.dy2 = 120;
        return anchor;
    }

    // The TXO record of a comment's box with its text and formatting runs in the CONTINUE records after it.
    void writeCommentText(const model::Comment& comment)
    {
        std::u16string text;
        std::vector<std::pair<std::uint16_t, std::uint16_t>> runs; // character and font
        for (const model::TextRun& run : comment.text) {
            const std::u16string piece = text::toUtf16(run.text);
            if (piece.empty())
                continue;
            const std::uint16_t font = run.font ? writing_.fonts.indexOf(*run.font) : 0;
            if (runs.empty() || runs.back().second != font)
                runs.emplace_back(static_cast<std::uint16_t>(text.size()), font);
            text += piece;
        }
        constexpr std::size_t LongestText = 32767;
        if (text.size() > LongestText)
            text.resize(LongestText);
        if (!text.empty())
            runs.emplace_back(static_cast<std::uint16_t>(text.size()), 0);
        std::vector<std::uint8_t> txo;
        io::ByteWriter w(txo);
        w.u16(0x0212); // left and top, the text locked
        w.u16(0);
        w.zeros(6);
        w.u16(static_cast<std::uint16_t>(text.size()));
        w.u16(static_cast<std::uint16_t>(8 * runs.size()));
        w.u16(0);
        w.u16(0);
        appendRecordAsIs(out_, rt::TxO, txo);
        if (text.empty())
            return;
        const bool wide = !fitsLatin1(text);
        const std::size_t perRecord = (rt::MaxRecordSize - 1) / (wide ? 2 : 1);
        for (std::size_t at = 0; at < text.size(); at += perRecord) {
            std::vector<std::uint8_t> piece;
            io::ByteWriter p(piece);
            p.u8(wide ? 1 : 0);
            for (std::size_t k = at; k < std::min(text.size(), at + perRecord); ++k) {
                if (wide)
                    p.u16(text[k]);
                else
                    p.u8(static_cast<std::uint8_t>(text[k]));
            }
            appendRecordAsIs(out_, rt::Continue, piece);
        }
        std::vector<std::uint8_t> formatting;
        io::ByteWriter f(formatting);
        for (const auto& [character, font] : runs) {
            f.u16(character);
            f.u16(font);
            f.u32(0);
        }
        appendRecordAsIs(out_, rt::Continue, formatting);
    }

    void writeNote(const model::Comment& comment, int objectId)
    {
        std::vector<std::uint8_t> body;
        io::ByteWriter w(body);
        w.u16(static_cast<std::uint16_t>(comment.row));
        w.u16(static_cast<std::uint16_t>(comment.column));
        w.u16(comment.visible ? 0x0002 : 0);
        w.u16(static_cast<std::uint16_t>(objectId));
        std::u16string author = text::toUtf16(comment.author);
        if (author.size() > 255)
            author.resize(255);
        writeUnicodeString(body, author, 2);
        w.u8(0);
        appendRecordAsIs(out_, rt::Note, body);
    }

    // The merged areas that the sheet lists, as many to a MERGECELLS record as one holds.
    void writeMergedAreas()
    {
        constexpr std::size_t AreasPerRecord = 1026;
        const std::vector<model::CellRange>& areas = sheet_.mergedAreas;
        for (std::size_t first = 0; first < areas.size(); first += AreasPerRecord) {
            const std::size_t count = std::min(AreasPerRecord, areas.size() - first);
            std::vector<std::uint8_t> body;
            io::ByteWriter w(body);
            w.u16(static_cast<std::uint16_t>(count));
            for (std::size_t k = first; k < first + count; ++k) {
                w.u16(static_cast<std::uint16_t>(areas[k].firstRow));
                w.u16(static_cast<std::uint16_t>(areas[k].lastRow));
                w.u16(static_cast<std::uint16_t>(areas[k].firstColumn));
                w.u16(static_cast<std::uint16_t>(areas[k].lastColumn));
            }
            appendRecordAsIs(out_, rt::MergeCells, body);
        }
    }

    void writeWindow()
    {
        const bool active = static_cast<int>(index_) == workbook_.activeSheet;
        std::uint16_t flags = 0x00B4; // headings, zeros, automatic gridline colour, outline symbols
        if (sheet_.showGridlines)
            flags |= 0x0002;
        if (active)
            flags |= 0x0600; // selected and shown
        std::vector<std::uint8_t> body;
        io::ByteWriter w(body);
        w.u16(flags);
        w.u16(0); // first row and column shown
        w.u16(0);
        w.u16(0x40); // gridline colour: the automatic one
        w.u16(0);
        w.u16(0); // zoom of the page break preview and of the normal view: the defaults
        w.u16(0);
        w.zeros(4);
        appendRecordAsIs(out_, rt::Window2, body);
    }

    const model::Workbook& workbook_;
    const model::Sheet& sheet_;
    std::size_t index_;
    SheetWriting& writing_;
    std::vector<std::uint8_t>& out_;
};

} // namespace

std::vector<EmbeddedChart> embeddedCharts(const model::Sheet& sheet)
{
    std::vector<EmbeddedChart> charts;
    std::set<std::size_t> placed;
    for (const model::DrawingObject& object : sheet.drawings) {
        if (object.chartIndex < 0 || static_cast<std::size_t>(object.chartIndex) >= sheet.charts.size())
            continue;
        const auto chart = static_cast<std::size_t>(object.chartIndex);
        if (placed.insert(chart).second)
            charts.push_back({object.anchor, chart});
    }
    int nextRow = 1;
    for (std::size_t chart = 0; chart < sheet.charts.size(); ++chart) {
        if (placed.contains(chart))
            continue;
        model::Anchor anchor;
        anchor.col1 = 3;
        anchor.row1 = nextRow;
        anchor.col2 = 10;
        anchor.row2 = nextRow + 15;
        nextRow += 17;
        charts.push_back({anchor, chart});
    }
    return charts;
}

std::size_t drawingShapes(const model::Sheet& sheet)
{
    return sheet.kind == model::SheetKind::Chart ? 0 : embeddedCharts(sheet).size() + sheet.comments.size();
}

void addSheetNeeds(const model::Workbook& workbook, std::size_t index, SheetWriting& writing)
{
    const model::Sheet& sheet = workbook.sheets[index];
    std::vector<std::uint8_t> scratch;
    for (const model::Chart& chart : sheet.charts) {
        writeChartStream(chart, workbook, writing.fonts, writing.links, ChartSize{}, ChartPlace::Embedded, scratch);
        scratch.clear();
    }
    for (const model::Comment& comment : sheet.comments)
        for (const model::TextRun& run : comment.text)
            if (run.font)
                writing.fonts.indexOf(*run.font);
}

void writeModelSheet(const model::Workbook& workbook, std::size_t index, SheetWriting& writing,
                     std::vector<std::uint8_t>& out)
{
    ModelSheet sheet(workbook, index, writing, out);
    if (workbook.sheets[index].kind == model::SheetKind::Chart)
        sheet.writeChartSheet();
    else
        sheet.writeWorksheet();
}

} // namespace sheet::biff

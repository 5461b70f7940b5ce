#include "sheet/biff/WorksheetReader.h"

#include "sheet/Errors.h"
#include "sheet/biff/CellRecords.h"
#include "sheet/biff/ChartDescription.h"
#include "sheet/biff/ColumnInfoRecords.h"
#include "sheet/biff/DrawingReader.h"
#include "sheet/biff/FontRuns.h"
#include "sheet/biff/RecordStream.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/biff/SharedStringTable.h"
#include "sheet/text/Codepage.h"
#include "sheet/text/Utf16.h"
#include "sheet/io/ByteReader.h"
#include "sheet/io/ByteWriter.h"

#include <algorithm>

namespace sheet::biff {
namespace {

constexpr int ColumnCount = 256;
constexpr std::uint8_t ChartObject = 0x05;
constexpr std::uint16_t DefaultHeight = 0x8000; // of a ROW record's height
constexpr int DropDownObject = 0x14;
constexpr std::uint16_t UserInterfaceObject = 0x0100; // ftCmo's fUIObj
constexpr int CommentObject = 0x19;
constexpr std::uint16_t MacroSubrecord = 0x0004;
constexpr std::uint16_t EndSubrecord = 0x0000;
constexpr std::size_t Biff5NotePiece = 2048; // the most characters an Excel 95 NOTE record holds

struct ObjectInfo {
    int type = -1;
    int chartIndex = -1;
    int id = -1;                // the object's id, by which a NOTE names its comment's box
    bool userInterface = false; // put there by the program, as the arrows of an AutoFilter are
    std::u16string text;        // a text box's text (TXO and the CONTINUE records after it)
    std::vector<FontRun> runs;
    bool macro = false;         // runs a macro when clicked
    model::TextPlacement placement;
};

// A NOTE record: the comment on a cell, its box named by its object id.
struct NoteInfo {
    int row = 0;
    int column = 0;
    bool visible = false;
    int objectId = -1;
    std::u16string author;
};

// Little-endian 16 bits at `at` of a record's body; 0 past its end.
unsigned field16(std::span<const std::uint8_t> body, std::size_t at)
{
    return at + 1 < body.size() ? static_cast<unsigned>(body[at] | body[at + 1] << 8) : 0u;
}

class WorksheetReader {
public:
    WorksheetReader(model::Workbook& workbook, model::Sheet& sheet, int sheetIndex, const GlobalsIndex& globals)
        : workbook_(workbook), sheet_(sheet), sheetIndex_(sheetIndex), references_(globals.references),
          text_(globals.text), fileStrings_(globals.sharedStrings)
    {
    }

    void read()
    {
        const auto& records = sheet_.records;
        const Counts expected = counts();
        cells_.reserve(expected.slots);
        runFormats_.reserve(expected.runFormats);
        for (std::size_t i = 1; i < records.size(); ++i) {
            const model::Record& record = records[i];
            if (record.type == rt::Bof) {
                i = readChart(i);
                continue;
            }
            drawing_.take(record.type, record.run ? std::span<const std::uint8_t>() : record.bytes);
            if (record.run)
                readRun(record.bytes);
            else
                readRecord(record.type, record.bytes);
        }
        sheet_.cells.assign(std::move(cells_), std::move(runFormats_));
        pairDrawings();
    }

private:
    // How many slots and run formats the runs of cell records fill, so that they are read into one
    // allocation each.
    struct Counts {
        std::size_t slots = 0;
        std::size_t runFormats = 0;
    };
    Counts counts() const
    {
        constexpr std::size_t RowCells = ColumnCount;
        Counts counts;
        for (const model::Record& record : sheet_.records) {
            if (!record.run)
                continue;
            for (std::size_t at = 0; at < record.bytes.size();) {
                const RunRecord next = runRecordAt(record.bytes, at);
                const std::size_t size = next.body.size();
                switch (next.type) {
                case rt::Number: case rt::Rk: case rt::Blank: case rt::LabelSst: case rt::Label: case rt::RString:
                case rt::BoolErr: case rt::Formula: case rt::Biff4Formula:
                    ++counts.slots;
                    break;
                case rt::MulRk:
                    // A record that claims more columns than a row has is refused before it gives more.
                    counts.slots += std::min(size >= 12 ? (size - 12) / 6 + 1 : 0, RowCells);
                    break;
                case rt::MulBlank:
                    ++counts.slots;
                    counts.runFormats += std::min(size >= 8 ? (size - 8) / 2 + 1 : 0, RowCells);
                    break;
                default:
                    break;
                }
                at = next.next;
            }
        }
        return counts;
    }

    void readRun(std::span<const std::uint8_t> run)
    {
        for (std::size_t at = 0; at < run.size();) {
            const RunRecord record = runRecordAt(run, at);
            const bool formula = record.type == rt::Formula || record.type == rt::Biff4Formula;
            at = formula ? readFormula(run, record) : record.next;
            if (!formula)
                readRecord(record.type, record.body);
        }
    }

    void readRecord(std::uint16_t type, std::span<const std::uint8_t> body)
    {
        io::ByteReader reader(body, "a worksheet record");
        if (type != rt::Continue && type != rt::TxO)
            textCharacters_ = runBytes_ = 0;
        switch (type) {
        case rt::Number: {
            auto [row, column, xf] = cellHeader(reader);
            setCell(row, column, xf).setNumber(reader.f64());
            break;
        }
        case rt::Rk: {
            auto [row, column, xf] = cellHeader(reader);
            setCell(row, column, xf).setRkNumber(decodeRk(reader.u32()));
            break;
        }
        case rt::MulRk: {
            const int row = reader.u16();
            int column = reader.u16();
            // A format and an RK number for each cell, 6 bytes; the last column's 2 bytes end the record.
            const std::uint8_t* const end = body.data() + body.size();
            for (const std::uint8_t* at = body.data() + reader.position(); end - at >= 8; at += 6)
                setCell(row, column++, io::ByteWriter::get16(at)).setRkNumber(decodeRk(io::ByteWriter::get32(at + 2)));
            break;
        }
        case rt::Blank: {
            auto [row, column, xf] = cellHeader(reader);
            setCell(row, column, xf);
            break;
        }
        case rt::MulBlank: {
            // The blanks become one run: they cost their bytes in the file, not a cell each.
            const int row = reader.u16();
            const int column = reader.u16();
            const auto first = static_cast<std::uint32_t>(runFormats_.size());
            int last = column - 1;
            while (reader.remaining() >= 4) {
                if (++last >= ColumnCount)
                    throw FormatError("damaged workbook: a cell lies beyond the last column");
                runFormats_.push_back(reader.u16());
            }
            if (last > column) {
                cells_.push_back(model::CellStore::blankRun(row, column, last, first));
            } else if (last == column) {
                setCell(row, column, runFormats_.back());
                runFormats_.pop_back();
            }
            break;
        }
        case rt::LabelSst: {
            auto [row, column, xf] = cellHeader(reader);
            const std::uint32_t entry = reader.u32();
            if (entry >= fileStrings_)
                throw FormatError("damaged workbook: a cell refers to a missing shared string");
            setCell(row, column, xf).setSharedText(entry);
            break;
        }
        case rt::Label: {
            auto [row, column, xf] = cellHeader(reader);
            workbook_.setValue(setCell(row, column, xf), text::toUtf8(text_.read(reader, 2)));
            break;
        }
        case rt::RString:
            readRichText(reader);
            break;
        case rt::BoolErr: {
            auto [row, column, xf] = cellHeader(reader);
            const std::uint8_t value = reader.u8();
            if (reader.u8())
                setCell(row, column, xf).setError(static_cast<model::ErrorCode>(value));
            else
                setCell(row, column, xf).setLogical(value != 0);
            break;
        }
        case rt::Row:
            readRow(body);
            break;
        case rt::ColInfo:
            sheet_.columns.push_back(readColumnInfo(body));
            break;
        case rt::DefColWidth:
            sheet_.defaultColumnWidth = reader.u16();
            break;
        case rt::StandardWidth:
            sheet_.standardWidth = reader.u16();
            break;
        case rt::DefaultRowHeight: {
            const std::uint16_t flags = reader.u16();
            sheet_.defaultRowFlags = flags;
            sheet_.defaultRowsHidden = flags & 0x0002;
            sheet_.defaultRowHeight = reader.u16();
            break;
        }
        case rt::Window2:
            sheet_.showGridlines = reader.u16() & 0x0002;
            break;
        case rt::Obj:
            if (!text_.unicode)
                readExcel95Object(body);
            objects_.push_back(objectInfo(reader));
            break;
        case rt::TxO:
            if (!objects_.empty() && body.size() >= 2) {
                const unsigned options = field16(body, 0);
                objects_.back().placement.across = std::clamp(static_cast<int>((options >> 1) & 0x07), 1, 4);
                objects_.back().placement.down = std::clamp(static_cast<int>((options >> 4) & 0x07), 1, 3);
            }
            // The text and its formatting runs follow in CONTINUE records.
            textCharacters_ = objects_.empty() ? 0 : field16(body, 10);
            runBytes_ = textCharacters_ ? field16(body, 12) : 0;
            break;
        case rt::Continue: readTextContinue(body); break;
        case rt::Note: readNote(body); break;
        default:
            break;
        }
    }

    // The object type, id and flags from the OBJ record's first part (ftCmo); type -1 when it has none.
    static ObjectInfo objectInfo(io::ByteReader& reader)
    {
        ObjectInfo info;
        if (reader.remaining() < 6 || reader.u16() != 0x15)
            return info;
        reader.u16();
        info.type = reader.u16();
        if (reader.remaining() >= 4) {
            info.id = reader.u16();
            info.userInterface = reader.u16() & UserInterfaceObject;
        }
        // The subrecords after the first, each with its type and size, up to the end one.
        if (reader.remaining() < 12)
            return info;
        reader.skip(12);
        while (reader.remaining() >= 4) {
            const std::uint16_t type = reader.u16();
            const std::size_t size = reader.u16();
            if (type == EndSubrecord || size > reader.remaining())
                break;
            info.macro = info.macro || (type == MacroSubrecord && size > 6);
            reader.skip(size);
        }
        return info;
    }

    // An OBJ record of an Excel 95 sheet: its kind and its place, in a layout of its own. Its charts are
    // read with their chart records.
    void readExcel95Object(std::span<const std::uint8_t> body)
    {
        if (body.size() < 26)
            return;
        model::DrawingObject object;
        object.objectType = static_cast<int>(field16(body, 4));
        if (object.objectType == ChartObject)
            return;
        object.shapeId = static_cast<int>(field16(body, 6));
        object.anchor = {static_cast<int>(field16(body, 10)), static_cast<int>(field16(body, 12)),
                         static_cast<int>(field16(body, 14)), static_cast<int>(field16(body, 16)),
                         static_cast<int>(field16(body, 18)), static_cast<int>(field16(body, 20)),
                         static_cast<int>(field16(body, 22)), static_cast<int>(field16(body, 24))};
        object.excel95 = true;
        sheet_.drawings.push_back(std::move(object));
    }

    // A CONTINUE record after a TXO: a piece of the text box's text, each starting with a byte that tells
    // whether its characters take one byte or two, then its formatting runs, 8 bytes each.
    void readTextContinue(std::span<const std::uint8_t> body)
    {
        if (textCharacters_ > 0 && !body.empty()) {
            ObjectInfo& object = objects_.back();
            const bool wide = body[0] & 0x01;
            const std::size_t width = wide ? 2 : 1;
            const std::size_t count = std::min<std::size_t>((body.size() - 1) / width, textCharacters_);
            // One byte a character holds the character's low byte, as in every BIFF8 string.
            for (std::size_t k = 0; k < count; ++k)
                object.text.push_back(static_cast<char16_t>(wide ? field16(body, 1 + 2 * k) : body[1 + k]));
            textCharacters_ = count ? textCharacters_ - count : 0;
            return;
        }
        if (runBytes_ > 0) {
            ObjectInfo& object = objects_.back();
            for (std::size_t at = 0; at + 8 <= body.size() && at < runBytes_; at += 8)
                object.runs.push_back({field16(body, at), field16(body, at + 2)});
            runBytes_ -= std::min(body.size(), runBytes_);
        }
    }

    // A NOTE record of a workbook in the Excel 97-2003 format: the cell, whether the box is shown, the
    // object id of the box and the author.
    void readNote(std::span<const std::uint8_t> body)
    {
        if (!text_.unicode) {
            readExcel95Note(body);
            return;
        }
        if (body.size() < 8)
            return;
        NoteInfo note;
        note.row = static_cast<int>(field16(body, 0));
        note.column = static_cast<int>(field16(body, 2));
        note.visible = field16(body, 4) & 0x0002;
        note.objectId = static_cast<int>(field16(body, 6));
        const std::size_t count = field16(body, 8);
        const bool wide = body.size() > 10 && (body[10] & 0x01);
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t at = 11 + k * (wide ? 2 : 1);
            if (at + (wide ? 1 : 0) >= body.size())
                break;
            note.author.push_back(static_cast<char16_t>(wide ? field16(body, at) : body[at]));
        }
        notes_.push_back(std::move(note));
    }

    // A NOTE record of an Excel 95 workbook holds the comment's text itself, in the workbook's code page:
    // the cell and the whole text's length, then as much of the text as one record holds; the rest
    // follows in NOTE records whose row is 0xFFFF. The box is shown only while the pointer rests on the
    // cell, and the comment has no author.
    void readExcel95Note(std::span<const std::uint8_t> body)
    {
        if (body.size() < 6)
            return;
        const unsigned row = field16(body, 0);
        const std::size_t length = field16(body, 4);
        const auto piece = body.subspan(6, std::min({length, Biff5NotePiece, body.size() - 6}));
        const std::u16string text = text::decodeCodepage(piece, text_.codepage);
        if (row == 0xFFFF) {
            if (!excel95Notes_.empty())
                excel95Notes_.back().text.front().text += text::toUtf8(text);
            return;
        }
        model::Comment comment;
        comment.row = static_cast<int>(row);
        comment.column = static_cast<int>(field16(body, 2));
        comment.text.push_back({text::toUtf8(text), std::nullopt});
        excel95Notes_.push_back(std::move(comment));
    }

    // Each note's comment, with the text and runs of its box's object and the box's place.
    void pairComments(const std::vector<ClientShape>& shapes)
    {
        for (const NoteInfo& note : notes_) {
            model::Comment comment;
            comment.row = note.row;
            comment.column = note.column;
            comment.visible = note.visible;
            comment.author = text::toUtf8(note.author);
            for (std::size_t s = 0; s < objects_.size(); ++s) {
                if (objects_[s].type != CommentObject || objects_[s].id != note.objectId)
                    continue;
                comment.text = textRuns(workbook_, objects_[s].text, objects_[s].runs);
                if (s < shapes.size()) {
                    comment.anchor = shapes[s].anchor;
                    comment.shapeId = shapes[s].shapeId;
                }
                break;
            }
            if (comment.text.empty())
                comment.text.push_back({});
            sheet_.comments.push_back(std::move(comment));
        }
    }

    // An RSTRING record: a text with formatting runs of its own. It becomes a string table entry of its
    // own, the only place where a LABELSST record finds runs, so that the runs go with the text when the
    // sheet is written anew. The table keeps each run as BIFF8 does, a character index and a font index
    // of 16 bits each; an Excel 95 run has a byte for each. Runs that the record's end cuts short are
    // left out: the text is still whole.
    void readRichText(io::ByteReader& reader)
    {
        auto [row, column, xf] = cellHeader(reader);
        model::SharedString string{text_.read(reader, 2), {}, {}};
        const auto number = [&] { return text_.unicode ? reader.u16() : std::uint16_t{reader.u8()}; };
        const std::size_t numberSize = text_.unicode ? 2 : 1;
        const std::size_t claimed = reader.remaining() >= numberSize ? number() : 0;
        const std::size_t count = std::min(claimed, reader.remaining() / (2 * numberSize));
        io::ByteWriter runs(string.runs);
        for (std::size_t i = 0; i < 2 * count; ++i)
            runs.u16(number());
        model::Cell& cell = setCell(row, column, xf);
        if (string.runs.empty()) {
            workbook_.setValue(cell, text::toUtf8(string.text));
            return;
        }
        cell.setSharedText(static_cast<std::uint32_t>(workbook_.sharedStrings.size()));
        workbook_.sharedStrings.push_back(std::move(string));
    }

    std::tuple<int, int, int> cellHeader(io::ByteReader& reader)
    {
        const int row = reader.u16();
        const int column = reader.u16();
        const int xf = reader.u16();
        return {row, column, xf};
    }

    // An empty cell with the format `xf`, to be given its value.
    model::Cell& setCell(int row, int column, int xf)
    {
        if (column >= ColumnCount)
            throw FormatError("damaged workbook: a cell lies beyond the last column");
        // The cells are taken in the order they come and put in order once the sheet is read.
        model::Cell& cell = cells_.emplace_back(model::CellStore::Slot{static_cast<std::uint16_t>(row),
                                                                       static_cast<std::uint8_t>(column),
                                                                       static_cast<std::uint8_t>(column), {}}).cell;
        cell.xf = static_cast<std::uint16_t>(xf);
        return cell;
    }

    static bool followsFormula(std::uint16_t type)
    {
        return type == rt::String || type == rt::Continue || type == rt::SharedFormula || type == rt::Array ||
               type == rt::Table;
    }

    // Reads a FORMULA record of a run with the records that belong to it; returns where the next
    // record of the run starts. A formula under Excel 4.0's record id is kept under today's, the one
    // that every reader knows, for when the sheet is written anew.
    std::size_t readFormula(std::span<const std::uint8_t> run, const RunRecord& first)
    {
        io::ByteReader reader(first.body, "a FORMULA record");
        auto [row, column, xf] = cellHeader(reader);
        const auto result = reader.bytes(8);
        const bool stringResult = result[0] == 0 && result[6] == 0xFF && result[7] == 0xFF;
        model::CellValue value;
        if (result[6] == 0xFF && result[7] == 0xFF) {
            if (result[0] == 1)
                value = result[2] != 0;
            else if (result[0] == 2)
                value = static_cast<model::ErrorCode>(result[2]);
            else
                value = std::string();
        } else {
            io::ByteReader number(result, "a formula result");
            value = number.f64();
        }
        std::vector<model::Record> formula;
        formula.push_back(model::Record{rt::Formula, {first.body.begin(), first.body.end()}});
        std::size_t at = first.next;
        while (at < run.size()) {
            const RunRecord next = runRecordAt(run, at);
            if (!followsFormula(next.type))
                break;
            at = next.next;
            formula.push_back(model::Record{next.type, {next.body.begin(), next.body.end()}});
            if (next.type == rt::String && stringResult && !text_.unicode) {
                io::ByteReader string(next.body, "a STRING record");
                value = text::toUtf8(text_.read(string, 2));
            } else if (next.type == rt::String && stringResult) {
                std::vector<std::span<const std::uint8_t>> segments{next.body};
                for (std::size_t c = at; c < run.size();) {
                    const RunRecord more = runRecordAt(run, c);
                    if (more.type != rt::Continue)
                        break;
                    segments.push_back(more.body);
                    c = more.next;
                }
                value = text::toUtf8(readContinuedString(segments));
            }
        }
        model::Cell& cell = setCell(row, column, xf);
        workbook_.setValue(cell, std::move(value));
        cell.setHasFormula(true);
        sheet_.formulas.insert_or_assign(sheet_.formulas.end(), model::CellAddress{row, column}, std::move(formula));
        return at;
    }

    void readRow(std::span<const std::uint8_t> body)
    {
        io::ByteReader reader(body, "a ROW record");
        const int row = reader.u16();
        reader.skip(4);
        model::RowInfo info;
        // A row with the default height flag takes the sheet's, whatever the rest of the field holds.
        const std::uint16_t height = reader.u16();
        info.height = height & DefaultHeight ? sheet_.defaultRowHeight : height & 0x7FFF;
        reader.skip(4);
        const std::uint32_t flags = reader.u32();
        info.hidden = flags & 0x20;
        info.customHeight = flags & 0x40;
        if (flags & 0x80)
            info.xf = static_cast<int>((flags >> 16) & 0x0FFF);
        info.raw.assign(body.begin(), body.end());
        sheet_.rows[row] = std::move(info);
    }

    // Reads the embedded chart substream that starts at `first`; returns the index of its EOF.
    std::size_t readChart(std::size_t first)
    {
        model::Chart chart;
        const std::size_t end = readChartRecords(sheet_.records, first, chart);
        if (substreamKind(sheet_.records[first]) == rt::ChartKind) {
            // Excel 95 charts name their cells otherwise; they are kept, but not drawn.
            if (text_.unicode)
                describeChart(chart, workbook_, sheetIndex_, references_);
            if (!objects_.empty() && objects_.back().chartIndex < 0)
                objects_.back().chartIndex = static_cast<int>(sheet_.charts.size());
            sheet_.charts.push_back(std::move(chart));
        }
        return end;
    }

    void pairDrawings()
    {
        for (model::Comment& comment : excel95Notes_) {
            // The text's line breaks are carriage return and line feed, as Excel 95 wrote them.
            std::string& text = comment.text.front().text;
            std::erase(text, '\r');
            sheet_.comments.push_back(std::move(comment));
        }
        const std::vector<ClientShape> shapes = readClientShapes(drawing_.bytes());
        for (std::size_t s = 0; s < shapes.size(); ++s) {
            if (!shapes[s].anchor)
                continue;
            model::DrawingObject object;
            object.anchor = *shapes[s].anchor;
            object.shapeId = shapes[s].shapeId;
            object.shapeType = shapes[s].shapeType;
            if (s < objects_.size()) {
                object.objectType = objects_[s].type;
                object.chartIndex = objects_[s].type == ChartObject ? objects_[s].chartIndex : -1;
                object.filterArrow = objects_[s].type == DropDownObject && objects_[s].userInterface;
                object.runsMacro = objects_[s].macro;
                object.textPlacement = objects_[s].placement;
                if (!objects_[s].text.empty() && objects_[s].type != CommentObject)
                    object.text = textRuns(workbook_, objects_[s].text, objects_[s].runs);
            }
            const ShapeProperties& properties = shapes[s].properties;
            object.name = text::toUtf8(properties.name);
            object.picture = properties.picture();
            object.crop = properties.crop();
            object.look = properties.look(workbook_.palette, shapes[s].flags);
            sheet_.drawings.push_back(object);
        }
        pairComments(shapes);
    }

    model::Workbook& workbook_;
    model::Sheet& sheet_;
    int sheetIndex_;
    const SheetReferences& references_;
    const RecordText& text_;
    std::size_t fileStrings_; // the string table's entries as the file has them; cells refer to no others
    model::CellStore::Slots cells_;
    model::CellStore::RunFormats runFormats_;
    SheetDrawingData drawing_;
    std::vector<ObjectInfo> objects_;
    std::vector<NoteInfo> notes_;
    std::vector<model::Comment> excel95Notes_;
    std::size_t textCharacters_ = 0; // of the last TXO's text, still to come in CONTINUE records
    std::size_t runBytes_ = 0;       // of its formatting runs, still to come
};

} // namespace

void readWorksheet(model::Workbook& workbook, model::Sheet& sheet, int sheetIndex, const GlobalsIndex& globals)
{
    WorksheetReader(workbook, sheet, sheetIndex, globals).read();
}

void readChartSheet(const model::Workbook& workbook, model::Sheet& sheet, int sheetIndex, const GlobalsIndex& globals)
{
    if (sheet.records.empty() || sheet.records.front().type != rt::Bof || !globals.text.unicode)
        return;
    model::Chart chart;
    readChartRecords(sheet.records, 0, chart);
    describeChart(chart, workbook, sheetIndex, globals.references);
    sheet.charts.push_back(std::move(chart));
}

} // namespace sheet::biff

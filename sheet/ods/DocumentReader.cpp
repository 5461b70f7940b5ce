#include "sheet/ods/DocumentReader.h"

#include "sheet/Errors.h"
#include "sheet/model/A1Notation.h"
#include "sheet/ods/CellDates.h"
#include "sheet/ods/LengthText.h"
#include "sheet/ods/Lengths.h"
#include "sheet/ods/RangeAddressText.h"
#include "sheet/text/Utf16.h"

#include <algorithm>
#include <cmath>

namespace sheet::ods {
namespace {

constexpr int Rows = model::CellStore::Rows;
constexpr int Columns = model::CellStore::Columns;
constexpr int MaxRepeat = 1 << 24;
constexpr std::size_t MaxCells = 40'000'000;
constexpr int ChartObjectType = 5;
constexpr int PictureFrameShape = 75;

int repeatOf(QStringView text)
{
    if (text.isEmpty())
        return 1;
    bool ok = false;
    const long count = text.toLong(&ok);
    return ok ? static_cast<int>(std::clamp<long>(count, 1, MaxRepeat)) : 1;
}

QString property(const std::map<QString, QString>& properties, const char* name)
{
    const auto found = properties.find(QString::fromLatin1(name));
    return found == properties.end() ? QString() : found->second;
}

std::optional<ErrorCode> errorOf(const QString& text)
{
    static const std::pair<const char*, ErrorCode> errors[] = {
        {"#NULL!", ErrorCode::Null},   {"#DIV/0!", ErrorCode::DivisionByZero}, {"#VALUE!", ErrorCode::Value},
        {"#REF!", ErrorCode::Reference}, {"#NAME?", ErrorCode::Name},          {"#NUM!", ErrorCode::Number},
        {"#N/A", ErrorCode::NotAvailable}};
    for (const auto& [name, code] : errors)
        if (text.trimmed() == QLatin1String(name))
            return code;
    return std::nullopt;
}

} // namespace

// A cell being read: its attributes and its text with the runs of its spans.
struct DocumentReader::Cell {
    enum class Target { None, Text, Annotation, Author };
    int column = 0;
    int repeat = 1;
    int spanColumns = 1;
    int spanRows = 1;
    int xf = model::DefaultCellXf;
    QString valueType, value, formula;
    std::u16string text;
    bool paragraphs = false;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> runs;
    std::vector<int> spanFonts;
    Target target = Target::None;
    int frameDepth = 0;
    bool annotation = false;
    bool annotationVisible = false;
    std::u16string note;
    bool noteParagraphs = false;
    QString author;
};

// A table being read: the place of the reader, the groups of columns and rows and what the cells of the
// current row give.
struct DocumentReader::Table {
    struct Group {
        int first = 0, count = 0;
        double size = 0; // points
        bool hidden = false, custom = false;
        int xf = -1;
    };
    struct Frame {
        bool inCell = false;
        int row = 0, column = 0;
        double x = 0, y = 0, width = 0, height = 0;
        std::optional<RangeAddress> end;
        double endX = 0, endY = 0;
        std::string object;
    };
    struct RowCell {
        int column = 0, count = 1;
        model::Cell cell;
    };

    int index = 0;
    int row = 0, column = 0, nextColumn = 0;
    int rowRepeat = 1;
    Group rowGroup;
    std::vector<Group> columns, rows;
    std::vector<int> columnXf;
    std::vector<RowCell> rowCells;
    model::CellStore::Slots cellSlots;
    model::CellStore::RunFormats runFormats;
    std::vector<model::CellRange> merged;
    std::vector<Frame> frames;
    std::optional<Frame> frame;
    int frameDepth = 0;
};

struct DocumentReader::Settings {
    int depth = 0;
    QString item, itemText, tableEntry;
    bool inTables = false;
    QString activeTable;
    std::optional<bool> showGrid;
    std::map<QString, bool> tableGrid;
};

DocumentReader::DocumentReader(OdsPackage& package) : package_(package), collector_(styles_) {}
DocumentReader::~DocumentReader() = default;

void DocumentReader::start(const QXmlStreamReader& xml)
{
    const QStringView name = xml.name();
    const QStringView uri = xml.namespaceUri();
    if (settings_ && settings_->depth > 0) {
        startSettings(xml);
        return;
    }
    if (inStyles_) {
        collector_.start(xml);
        return;
    }
    if (uri == ns::Office && (name == u"styles" || name == u"automatic-styles")) {
        inStyles_ = true;
        return;
    }
    if (uri == ns::Office && name == u"settings") {
        if (!settings_)
            settings_ = std::make_unique<Settings>();
        settings_->depth = 1;
        return;
    }
    if (bodyDepth_ > 0) {
        ++bodyDepth_;
        startBody(xml);
    } else if (uri == ns::Office && name == u"body") {
        bodyDepth_ = 1;
        if (!stylesFinished_) {
            collector_.finish();
            stylesFinished_ = true;
        }
        formats_ = std::make_unique<CellFormats>(styles_, package_.workbook);
    }
}

void DocumentReader::end(const QXmlStreamReader& xml)
{
    if (settings_ && settings_->depth > 0) {
        endSettings(xml);
        return;
    }
    if (inStyles_) {
        if (!collector_.active() && xml.namespaceUri() == ns::Office && (xml.name() == u"styles" || xml.name() == u"automatic-styles"))
            inStyles_ = false;
        else
            collector_.end(xml);
        return;
    }
    if (bodyDepth_ > 0) {
        endBody(xml);
        --bodyDepth_;
    }
}

void DocumentReader::text(QStringView text)
{
    if (settings_ && settings_->depth > 0) {
        settings_->itemText += text;
        return;
    }
    if (inStyles_) {
        collector_.text(text);
        return;
    }
    if (cell_) {
        if (cell_->target == Cell::Target::Text)
            cell_->text += text.toString().toStdU16String();
        else if (cell_->target == Cell::Target::Annotation)
            cell_->note += text.toString().toStdU16String();
        else if (cell_->target == Cell::Target::Author)
            cell_->author += text;
    }
}

void DocumentReader::startBody(const QXmlStreamReader& xml)
{
    const QStringView name = xml.name();
    const QStringView uri = xml.namespaceUri();
    if (cell_) {
        Cell& cell = *cell_;
        if (cell.frameDepth > 0) {
            ++cell.frameDepth;
            if (table_ && table_->frame && uri == ns::Draw && name == u"object")
                table_->frame->object = attribute(xml, ns::XLink, u"href").toString().toStdString();
            return;
        }
        if (uri == ns::Draw && name == u"frame") {
            cell.frameDepth = 1;
            startFrame(xml);
            return;
        }
        if (uri == ns::Office && name == u"annotation") {
            cell.annotation = true;
            cell.annotationVisible = attribute(xml, ns::Office, u"display") == u"true";
            cell.target = Cell::Target::None;
            return;
        }
        std::u16string& target = cell.annotation ? cell.note : cell.text;
        bool& paragraphs = cell.annotation ? cell.noteParagraphs : cell.paragraphs;
        if (uri == ns::Dc && name == u"creator" && cell.annotation) {
            cell.target = Cell::Target::Author;
        } else if (uri == ns::Text && name == u"p") {
            if (paragraphs)
                target += u'\n';
            paragraphs = true;
            cell.target = cell.annotation ? Cell::Target::Annotation : Cell::Target::Text;
        } else if (uri == ns::Text && name == u"s") {
            target.append(static_cast<std::size_t>(std::min(repeatOf(attribute(xml, ns::Text, u"c")), 1000)), u' ');
        } else if (uri == ns::Text && name == u"tab") {
            target += u'\t';
        } else if (uri == ns::Text && name == u"line-break") {
            target += u'\n';
        } else if (uri == ns::Text && name == u"span" && !cell.annotation) {
            const QString style = attribute(xml, ns::Text, u"style-name").toString();
            const int font = style.isEmpty() ? -1 : formats_->textFont(style);
            cell.spanFonts.push_back(font);
            if (font >= 0 && cell.text.size() < 0xFFFF)
                cell.runs.emplace_back(static_cast<std::uint16_t>(cell.text.size()), static_cast<std::uint16_t>(font));
        }
        return;
    }
    if (table_ && table_->frame) {
        ++table_->frameDepth;
        if (uri == ns::Draw && name == u"object")
            table_->frame->object = attribute(xml, ns::XLink, u"href").toString().toStdString();
        return;
    }
    if (uri == ns::Table) {
        if (name == u"table") {
            startTable(xml);
        } else if (table_ && name == u"table-column") {
            startColumn(xml);
        } else if (table_ && name == u"table-row") {
            startRow(xml);
        } else if (table_ && (name == u"table-cell" || name == u"covered-table-cell")) {
            startCell(xml);
        } else if (name == u"named-range" || name == u"named-expression") {
            OdsName named;
            named.name = attribute(xml, ns::Table, u"name").toString().toStdString();
            named.sheet = table_ ? table_->index : -1;
            named.expression = name == u"named-expression";
            named.text = attribute(xml, ns::Table, named.expression ? u"expression" : u"cell-range-address").toString().toStdString();
            package_.names.push_back(std::move(named));
        }
    } else if (table_ && uri == ns::Draw && name == u"frame") {
        startFrame(xml);
    }
}

void DocumentReader::endBody(const QXmlStreamReader& xml)
{
    const QStringView name = xml.name();
    const QStringView uri = xml.namespaceUri();
    if (cell_) {
        Cell& cell = *cell_;
        if (cell.frameDepth > 0) {
            if (--cell.frameDepth == 0 && table_ && table_->frame) {
                table_->frames.push_back(*table_->frame);
                table_->frame.reset();
            }
            return;
        }
        if (uri == ns::Table && (name == u"table-cell" || name == u"covered-table-cell")) {
            endCell();
        } else if (uri == ns::Office && name == u"annotation") {
            cell.annotation = false;
            model::Comment comment;
            comment.row = table_->row;
            comment.column = cell.column;
            comment.author = cell.author.trimmed().toStdString();
            comment.text.push_back({text::toUtf8(cell.note), std::nullopt});
            comment.visible = cell.annotationVisible;
            if (comment.row < Rows && comment.column < Columns)
                package_.workbook.sheets[static_cast<std::size_t>(table_->index)].comments.push_back(std::move(comment));
            cell.target = Cell::Target::None;
        } else if ((uri == ns::Dc && name == u"creator") || (uri == ns::Text && name == u"p")) {
            cell.target = Cell::Target::None;
        } else if (uri == ns::Text && name == u"span" && !cell.annotation && !cell.spanFonts.empty()) {
            const int font = cell.spanFonts.back();
            cell.spanFonts.pop_back();
            if (font >= 0 && cell.text.size() < 0xFFFF) {
                const int outer = cell.spanFonts.empty() || cell.spanFonts.back() < 0
                    ? package_.workbook.xfs[static_cast<std::size_t>(cell.xf)].fontIndex
                    : cell.spanFonts.back();
                cell.runs.emplace_back(static_cast<std::uint16_t>(cell.text.size()), static_cast<std::uint16_t>(outer));
            }
        }
        return;
    }
    if (table_ && table_->frame) {
        if (--table_->frameDepth == 0) {
            table_->frames.push_back(*table_->frame);
            table_->frame.reset();
        }
        return;
    }
    if (uri == ns::Table && name == u"table" && table_)
        endTable();
    else if (uri == ns::Table && name == u"table-row" && table_)
        endRow();
}

void DocumentReader::startTable(const QXmlStreamReader& xml)
{
    if (table_)
        throw FormatError("the document has a table inside a table");
    model::Sheet sheet;
    sheet.name = attribute(xml, ns::Table, u"name").toString().toStdString();
    const auto properties = styles_.resolved(QStringLiteral("table"), attribute(xml, ns::Table, u"style-name").toString());
    sheet.visible = property(properties, "display") != QLatin1String("false");
    sheet.defaultColumnWidth = 8;
    package_.workbook.sheets.push_back(std::move(sheet));
    package_.formulas.emplace_back();
    table_ = std::make_unique<Table>();
    table_->index = static_cast<int>(package_.workbook.sheets.size() - 1);
}

void DocumentReader::startColumn(const QXmlStreamReader& xml)
{
    Table& table = *table_;
    Table::Group group;
    group.first = table.nextColumn;
    group.count = repeatOf(attribute(xml, ns::Table, u"number-columns-repeated"));
    const auto properties = styles_.resolved(QStringLiteral("table-column"), attribute(xml, ns::Table, u"style-name").toString());
    group.size = lengthPoints(property(properties, "column-width")).value_or(64);
    group.hidden = !attribute(xml, ns::Table, u"visibility").isEmpty() && attribute(xml, ns::Table, u"visibility") != u"visible";
    const QString style = attribute(xml, ns::Table, u"default-cell-style-name").toString();
    group.xf = style.isEmpty() ? model::DefaultCellXf : formats_->xf(style);
    table.nextColumn = static_cast<int>(std::min<long>(static_cast<long>(group.first) + group.count, MaxRepeat));
    if (group.first < Columns)
        table.columns.push_back(group);
}

void DocumentReader::startRow(const QXmlStreamReader& xml)
{
    Table& table = *table_;
    if (table.columnXf.empty()) {
        table.columnXf.assign(Columns, model::DefaultCellXf);
        for (const Table::Group& group : table.columns)
            for (int c = group.first; c < std::min(Columns, group.first + group.count); ++c)
                table.columnXf[static_cast<std::size_t>(c)] = group.xf;
    }
    table.column = 0;
    table.rowRepeat = repeatOf(attribute(xml, ns::Table, u"number-rows-repeated"));
    table.rowCells.clear();
    Table::Group& group = table.rowGroup;
    group = Table::Group{};
    group.first = table.row;
    group.count = table.rowRepeat;
    const auto properties = styles_.resolved(QStringLiteral("table-row"), attribute(xml, ns::Table, u"style-name").toString());
    group.size = lengthPoints(property(properties, "row-height")).value_or(12.8);
    group.custom = property(properties, "use-optimal-row-height") == QLatin1String("false");
    group.hidden = !attribute(xml, ns::Table, u"visibility").isEmpty() && attribute(xml, ns::Table, u"visibility") != u"visible";
    const QString style = attribute(xml, ns::Table, u"default-cell-style-name").toString();
    group.xf = style.isEmpty() ? -1 : formats_->xf(style);
}

void DocumentReader::startCell(const QXmlStreamReader& xml)
{
    cell_ = std::make_unique<Cell>();
    Cell& cell = *cell_;
    Table& table = *table_;
    cell.column = table.column;
    cell.repeat = repeatOf(attribute(xml, ns::Table, u"number-columns-repeated"));
    cell.spanColumns = repeatOf(attribute(xml, ns::Table, u"number-columns-spanned"));
    cell.spanRows = repeatOf(attribute(xml, ns::Table, u"number-rows-spanned"));
    const QString style = attribute(xml, ns::Table, u"style-name").toString();
    if (!style.isEmpty())
        cell.xf = formats_->xf(style);
    else if (table.rowGroup.xf >= 0)
        cell.xf = table.rowGroup.xf;
    else
        cell.xf = cell.column < Columns ? table.columnXf[static_cast<std::size_t>(cell.column)] : model::DefaultCellXf;
    cell.valueType = attribute(xml, ns::Office, u"value-type").toString();
    if (cell.valueType == QLatin1String("date"))
        cell.value = attribute(xml, ns::Office, u"date-value").toString();
    else if (cell.valueType == QLatin1String("time"))
        cell.value = attribute(xml, ns::Office, u"time-value").toString();
    else if (cell.valueType == QLatin1String("boolean"))
        cell.value = attribute(xml, ns::Office, u"boolean-value").toString();
    else if (cell.valueType == QLatin1String("string"))
        cell.value = attribute(xml, ns::Office, u"string-value").toString();
    else
        cell.value = attribute(xml, ns::Office, u"value").toString();
    if (attribute(xml, u"urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0", u"value-type") == u"error")
        cell.valueType = QStringLiteral("error");
    cell.formula = attribute(xml, ns::Table, u"formula").toString();
    table.column = static_cast<int>(std::min<long>(static_cast<long>(table.column) + cell.repeat, MaxRepeat));
}

void DocumentReader::endCell()
{
    Cell& cell = *cell_;
    Table& table = *table_;
    model::Workbook& workbook = package_.workbook;
    model::Cell value;
    value.xf = static_cast<std::uint16_t>(cell.xf);
    const QString& type = cell.valueType;
    bool ok = true;
    if (type == QLatin1String("float") || type == QLatin1String("percentage") || type == QLatin1String("currency")) {
        const double number = cell.value.toDouble(&ok);
        if (ok && std::isfinite(number))
            value.setNumber(number);
    } else if (type == QLatin1String("date")) {
        if (const std::optional<double> serial = dateSerial(cell.value))
            value.setNumber(*serial);
    } else if (type == QLatin1String("time")) {
        if (const std::optional<double> days = durationDays(cell.value))
            value.setNumber(*days);
    } else if (type == QLatin1String("boolean")) {
        // A value other than true or false is a number, as LibreOffice takes it.
        const double number = cell.value.toDouble(&ok);
        if (cell.value == QLatin1String("true") || cell.value == QLatin1String("false") || !ok || !std::isfinite(number))
            value.setLogical(cell.value == QLatin1String("true"));
        else
            value.setNumber(number);
    } else if (type == QLatin1String("error")) {
        value.setError(errorOf(QString::fromStdU16String(cell.text)).value_or(ErrorCode::NotAvailable));
    } else if (type == QLatin1String("string") || (type.isEmpty() && !cell.text.empty())) {
        model::SharedString string;
        string.text = !cell.value.isEmpty() ? cell.value.toStdU16String() : std::move(cell.text);
        if (string.text.size() > 32767)
            string.text.resize(32767);
        if (!cell.runs.empty() && cell.value.isEmpty()) {
            for (const auto& [at, font] : cell.runs) {
                if (at >= string.text.size())
                    break;
                for (const std::uint16_t v : {at, font}) {
                    string.runs.push_back(static_cast<std::uint8_t>(v));
                    string.runs.push_back(static_cast<std::uint8_t>(v >> 8));
                }
            }
        }
        value.setSharedText(static_cast<std::uint32_t>(workbook.sharedStrings.size()));
        workbook.sharedStrings.push_back(std::move(string));
    }
    const bool blank = value.isEmpty();
    const int expected = table.rowGroup.xf >= 0 ? table.rowGroup.xf
        : cell.column < Columns ? table.columnXf[static_cast<std::size_t>(cell.column)] : cell.xf;
    if (!blank || cell.xf != expected) {
        if (cell.column >= Columns || (!blank && table.row >= Rows)) {
            if (!blank)
                throw FormatError("sheet \"" + workbook.sheets[static_cast<std::size_t>(table.index)].name + "\" has a value at "
                                  + "row " + std::to_string(table.row + 1) + ", column " + std::to_string(cell.column + 1)
                                  + ", beyond the 65,536 rows and 256 columns the engine holds");
        } else {
            table.rowCells.push_back({cell.column, std::min(cell.repeat, Columns - cell.column), value});
        }
    }
    if (!cell.formula.isEmpty() && cell.column < Columns && table.row < Rows)
        package_.formulas[static_cast<std::size_t>(table.index)][{table.row, cell.column}] = cell.formula.toStdString();
    if ((cell.spanColumns > 1 || cell.spanRows > 1) && cell.column < Columns && table.row < Rows)
        table.merged.push_back({table.row, cell.column, std::min(Rows - 1, table.row + cell.spanRows - 1),
                                std::min(Columns - 1, cell.column + cell.spanColumns - 1)});
    cell_.reset();
}

void DocumentReader::endRow()
{
    Table& table = *table_;
    Table::Group group = table.rowGroup;
    if (group.first < Rows) {
        group.count = std::min(group.count, Rows - group.first);
        table.rows.push_back(group);
        for (int r = group.first; r < group.first + group.count; ++r) {
            for (const Table::RowCell& cell : table.rowCells) {
                if (cell.cell.isEmpty() && cell.count > 1) {
                    const auto first = static_cast<std::uint32_t>(table.runFormats.size());
                    table.runFormats.insert(table.runFormats.end(), static_cast<std::size_t>(cell.count), cell.cell.xf);
                    table.cellSlots.push_back(model::CellStore::blankRun(r, cell.column, cell.column + cell.count - 1, first));
                    cellCount_ += static_cast<std::size_t>(cell.count);
                    continue;
                }
                for (int c = cell.column; c < cell.column + cell.count; ++c) {
                    model::CellStore::Slot slot;
                    slot.row = static_cast<std::uint16_t>(r);
                    slot.column = slot.lastColumn = static_cast<std::uint8_t>(c);
                    slot.cell = cell.cell;
                    table.cellSlots.push_back(slot);
                }
                cellCount_ += static_cast<std::size_t>(cell.count);
            }
            if (cellCount_ > MaxCells)
                throw FormatError("the document holds more than " + std::to_string(MaxCells) + " cells, more than the engine reads");
        }
    }
    table.row = static_cast<int>(std::min<long>(static_cast<long>(table.row) + table.rowRepeat, MaxRepeat));
}

void DocumentReader::startFrame(const QXmlStreamReader& xml)
{
    Table& table = *table_;
    Table::Frame frame;
    frame.inCell = cell_ != nullptr;
    frame.row = table.row;
    frame.column = cell_ ? cell_->column : 0;
    frame.x = lengthPoints(attribute(xml, ns::Svg, u"x")).value_or(0);
    frame.y = lengthPoints(attribute(xml, ns::Svg, u"y")).value_or(0);
    frame.width = std::max(0.0, lengthPoints(attribute(xml, ns::Svg, u"width")).value_or(0));
    frame.height = std::max(0.0, lengthPoints(attribute(xml, ns::Svg, u"height")).value_or(0));
    frame.end = rangeAddress(attribute(xml, ns::Table, u"end-cell-address"));
    frame.endX = lengthPoints(attribute(xml, ns::Table, u"end-x")).value_or(0);
    frame.endY = lengthPoints(attribute(xml, ns::Table, u"end-y")).value_or(0);
    table.frame = frame;
    table.frameDepth = 1;
}

void DocumentReader::endTable()
{
    Table& table = *table_;
    model::Workbook& workbook = package_.workbook;
    model::Sheet& sheet = workbook.sheets[static_cast<std::size_t>(table.index)];
    // Columns: one range for each run of columns that look alike.
    const double pointsPerCharacter = columnPoints(workbook, 256);
    for (const Table::Group& group : table.columns) {
        model::ColumnInfo info;
        info.first = group.first;
        info.last = std::min(Columns, group.first + group.count) - 1;
        info.width = std::clamp(static_cast<int>(std::lround(group.size * 256 / pointsPerCharacter)), 0, 0xFFFF);
        info.xf = group.xf;
        info.options = static_cast<std::uint16_t>((group.hidden ? model::ColumnInfo::Hidden : 0) | model::ColumnInfo::UserSetWidth);
        if (!sheet.columns.empty() && sheet.columns.back().last + 1 == info.first && sheet.columns.back().width == info.width
            && sheet.columns.back().xf == info.xf && sheet.columns.back().options == info.options)
            sheet.columns.back().last = info.last;
        else
            sheet.columns.push_back(info);
    }
    // Rows: the height most rows have is the sheet's default, the others get a row of their own.
    std::map<int, long> heights;
    for (const Table::Group& group : table.rows)
        heights[static_cast<int>(std::lround(group.size * 20))] += group.count;
    if (!heights.empty())
        sheet.defaultRowHeight = std::max_element(heights.begin(), heights.end(), [](const auto& a, const auto& b) {
                                     return a.second < b.second;
                                 })->first;
    for (const Table::Group& group : table.rows) {
        const int twips = static_cast<int>(std::lround(group.size * 20));
        if (twips == sheet.defaultRowHeight && !group.hidden && group.xf < 0)
            continue;
        for (int r = group.first; r < group.first + group.count; ++r) {
            model::RowInfo info;
            info.height = twips;
            info.hidden = group.hidden;
            info.customHeight = group.custom;
            if (group.xf >= 0)
                info.xf = group.xf;
            sheet.rows[r] = info;
        }
    }
    sheet.cells.assign(std::move(table.cellSlots), std::move(table.runFormats));
    sheet.mergedAreas = std::move(table.merged);
    placeFrames();
    table_.reset();
}

void DocumentReader::placeFrames()
{
    Table& table = *table_;
    model::Sheet& sheet = package_.workbook.sheets[static_cast<std::size_t>(table.index)];
    if (table.frames.empty())
        return;
    // Where the frames lie is measured in the lengths of the columns and rows as the document gives them.
    std::vector<double> widths(Columns, 64), heights(Rows, 12.8);
    for (const Table::Group& group : table.columns)
        for (int c = group.first; c < std::min(Columns, group.first + group.count); ++c)
            widths[static_cast<std::size_t>(c)] = group.hidden ? 0 : group.size;
    for (const Table::Group& group : table.rows)
        for (int r = group.first; r < std::min(Rows, group.first + group.count); ++r)
            heights[static_cast<std::size_t>(r)] = group.hidden ? 0 : group.size;
    const auto cellAt = [](const std::vector<double>& sizes, double position, int& index, int& offset, int scale) {
        double start = 0;
        for (index = 0; index + 1 < static_cast<int>(sizes.size()); ++index) {
            const double size = sizes[static_cast<std::size_t>(index)];
            if (position < start + size - 1e-6)
                break;
            start += size;
        }
        const double size = sizes[static_cast<std::size_t>(index)];
        offset = size > 0 ? std::clamp(static_cast<int>(std::lround((position - start) * scale / size)), 0, scale - 1) : 0;
    };
    const auto spanTo = [](const std::vector<double>& sizes, int index) {
        double sum = 0;
        for (int k = 0; k < index && k < static_cast<int>(sizes.size()); ++k)
            sum += sizes[static_cast<std::size_t>(k)];
        return sum;
    };
    int shapeId = 1024 * (table.index + 1);
    for (const Table::Frame& frame : table.frames) {
        double left = frame.x, top = frame.y;
        if (frame.end && frame.end->range.firstColumn < Columns && frame.end->range.firstRow < Rows) {
            left = std::max(0.0, spanTo(widths, frame.end->range.firstColumn) + frame.endX - frame.width);
            top = std::max(0.0, spanTo(heights, frame.end->range.firstRow) + frame.endY - frame.height);
        }
        std::string object = frame.object;
        if (object.rfind("./", 0) == 0)
            object = object.substr(2);
        while (!object.empty() && object.back() == '/')
            object.pop_back();
        if (object.empty() || object.find('/') != std::string::npos || object.find(':') != std::string::npos)
            continue; // a picture or a linked object, which the engine does not keep
        model::DrawingObject drawing;
        model::Anchor& a = drawing.anchor;
        cellAt(widths, left, a.col1, a.dx1, 1024);
        cellAt(heights, top, a.row1, a.dy1, 256);
        cellAt(widths, left + frame.width, a.col2, a.dx2, 1024);
        cellAt(heights, top + frame.height, a.row2, a.dy2, 256);
        drawing.shapeId = ++shapeId;
        drawing.shapeType = PictureFrameShape;
        drawing.objectType = ChartObjectType;
        drawing.chartIndex = static_cast<int>(sheet.charts.size());
        charts_.push_back({table.index, sheet.charts.size(), object});
        sheet.charts.emplace_back();
        sheet.drawings.push_back(drawing);
    }
}

void DocumentReader::startSettings(const QXmlStreamReader& xml)
{
    Settings& settings = *settings_;
    ++settings.depth;
    const QString name = attribute(xml, ns::Config, u"name").toString();
    if (xml.name() == u"config-item-map-named" && name == QLatin1String("Tables"))
        settings.inTables = true;
    else if (xml.name() == u"config-item-map-entry" && settings.inTables)
        settings.tableEntry = name;
    else if (xml.name() == u"config-item") {
        settings.item = name;
        settings.itemText.clear();
    }
}

void DocumentReader::endSettings(const QXmlStreamReader& xml)
{
    Settings& settings = *settings_;
    --settings.depth;
    if (xml.name() == u"config-item") {
        const QString value = settings.itemText.trimmed();
        if (settings.item == QLatin1String("ActiveTable") && settings.tableEntry.isEmpty())
            settings.activeTable = value;
        else if (settings.item == QLatin1String("ShowGrid") && !settings.tableEntry.isEmpty())
            settings.tableGrid[settings.tableEntry] = value == QLatin1String("true");
        else if (settings.item == QLatin1String("ShowGrid") && !settings.inTables)
            settings.showGrid = value == QLatin1String("true");
        settings.item.clear();
    } else if (xml.name() == u"config-item-map-entry" && settings.inTables && !settings.tableEntry.isEmpty()) {
        settings.tableEntry.clear();
    } else if (xml.name() == u"config-item-map-named" && settings.inTables && settings.tableEntry.isEmpty()) {
        settings.inTables = false;
    }
}

void DocumentReader::finish()
{
    model::Workbook& workbook = package_.workbook;
    if (!formats_)
        throw FormatError("the document has no body: it is not a spreadsheet");
    if (workbook.sheets.empty())
        throw FormatError("the document is not a spreadsheet: it has no tables");
    package_.cellStyles.clear();
    for (const QString& name : formats_->styleNames())
        package_.cellStyles.push_back(name.toStdString());
    if (!settings_)
        return;
    for (std::size_t k = 0; k < workbook.sheets.size(); ++k) {
        model::Sheet& sheet = workbook.sheets[k];
        const auto found = settings_->tableGrid.find(QString::fromStdString(sheet.name));
        if (found != settings_->tableGrid.end())
            sheet.showGridlines = found->second;
        else if (settings_->showGrid)
            sheet.showGridlines = *settings_->showGrid;
        if (QString::fromStdString(sheet.name) == settings_->activeTable)
            workbook.activeSheet = static_cast<int>(k);
    }
}

} // namespace sheet::ods

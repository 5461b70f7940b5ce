#include "sheet/ods/SheetTable.h"

#include "sheet/Errors.h"
#include "sheet/biff/SheetSettings.h"
#include "sheet/ods/CellAddresses.h"
#include "sheet/ods/FormulaAttributes.h"
#include "sheet/ods/Lengths.h"
#include "sheet/ods/RichText.h"
#include "sheet/ods/XmlPart.h"
#include "sheet/layout/SheetGeometry.h"

#include <algorithm>
#include <cmath>

namespace sheet::ods {
namespace {

constexpr int ChartObjectType = 5;

void writeSpaces(QXmlStreamWriter& xml, int count)
{
    xml.writeStartElement(QStringLiteral("text:s"));
    if (count > 1)
        xml.writeAttribute(QStringLiteral("text:c"), QString::number(count));
    xml.writeEndElement();
}

// `count` empty cells, as one element.
void writeEmptyCells(QXmlStreamWriter& xml, int count)
{
    if (count < 1)
        return;
    xml.writeStartElement(QStringLiteral("table:table-cell"));
    if (count > 1)
        xml.writeAttribute(QStringLiteral("table:number-columns-repeated"), QString::number(count));
    xml.writeEndElement();
}

// One line of words with single spaces between them stands in its paragraph as it is.
bool isPlainLine(const QString& text)
{
    if (text.isEmpty() || text.front() == QLatin1Char(' ') || text.back() == QLatin1Char(' '))
        return false;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text[k];
        if (c == QLatin1Char('\n') || c == QLatin1Char('\t') || (c == QLatin1Char(' ') && text[k + 1] == QLatin1Char(' ')))
            return false;
    }
    return true;
}

// Text as paragraphs, one a line, with runs of spaces kept (text:s) and tabs (text:tab): a single
// space between two words stands as it is.
void writeParagraphs(QXmlStreamWriter& xml, const QString& text)
{
    if (isPlainLine(text)) {
        xml.writeTextElement(QStringLiteral("text:p"), text);
        return;
    }
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        xml.writeStartElement(QStringLiteral("text:p"));
        QString run;
        int spaces = 0;
        for (const QChar c : line) {
            if (c == QLatin1Char(' ')) {
                ++spaces;
                continue;
            }
            if (spaces > 0) {
                if (!run.isEmpty()) {
                    run += QLatin1Char(' ');
                    --spaces;
                }
                xml.writeCharacters(run);
                run.clear();
                if (spaces > 0)
                    writeSpaces(xml, spaces);
                spaces = 0;
            }
            if (c == QLatin1Char('\t')) {
                xml.writeCharacters(run);
                run.clear();
                emptyElement(xml, "text:tab", {});
            } else {
                run += c;
            }
        }
        if (!run.isEmpty())
            xml.writeCharacters(run);
        if (spaces > 0)
            writeSpaces(xml, spaces);
        xml.writeEndElement();
    }
}

// A protected sheet is a protected table; the password's hash of the .xls has no place in the format.
void writeTableProtection(QXmlStreamWriter& xml, const biff::SheetSettings& settings)
{
    if (settings.protectedContents)
        xml.writeAttribute("table:protected", "true");
}

bool isBlank(const model::Cell& cell)
{
    return cell.isEmpty() && !cell.hasFormula();
}

} // namespace

SheetTable::SheetTable(const model::Workbook& workbook, const SheetNames& names, int sheetIndex, const CellStyles& styles,
                       const CellValues& values, const ConditionalFormats& conditional,
                       const ContentValidations& validations, int& charts, const formula::WorkbookLinks& links,
                       const DrawShapes& shapes)
    : workbook_(workbook), sheet_(workbook.sheets.at(static_cast<std::size_t>(sheetIndex))),
      name_(names.at(static_cast<std::size_t>(sheetIndex))), index_(static_cast<std::size_t>(sheetIndex)), styles_(styles),
      formulas_(sheet_, sheetIndex, links, formula::Grammar::OpenFormula), values_(values),
      conditional_(conditional), validations_(validations),
      digitWidth_(digitWidth(workbook)), shapes_(shapes)
{
    if (!sheet_.cells.empty())
        rows_ = sheet_.cells.back().first.row + 1;
    for (const auto& [row, info] : sheet_.rows) {
        if (info.hidden || info.height != sheet_.defaultRowHeight || info.xf)
            rows_ = std::max(rows_, row + 1);
    }
    rows_ = std::max(rows_, validations.lastRow(index_) + 1);

    const layout::SheetGeometry geometry(sheet_, digitWidth_);
    for (const model::Comment& comment : sheet_.comments) {
        notes_.emplace(model::CellAddress{comment.row, std::clamp(comment.column, 0, Columns - 1)}, &comment);
        rows_ = std::max(rows_, comment.row + 1);
    }
    int zIndex = 0;
    for (const model::DrawingObject& drawing : sheet_.drawings) {
        if (drawing.filterArrow)
            continue; // written with the sheet's filter
        if (drawing.objectType == model::DrawingObject::CommentBox)
            continue; // written with its comment; one of no comment is named in a warning
        const bool chart = drawing.chartIndex >= 0 && static_cast<std::size_t>(drawing.chartIndex) < sheet_.charts.size()
            && drawing.objectType == ChartObjectType;
        if (!chart && !shapes.drawable(drawing))
            throw FormatError("sheet \"" + sheet_.name + "\" holds " + model::drawingKindName(drawing.objectType)
                              + (drawing.excel95 ? " in the Excel 95 format" : "")
                              + ", which cannot be saved in the OpenDocument format");
        const model::Anchor& a = drawing.anchor;
        Frame frame;
        frame.row = std::clamp(a.row1, 0, layout::SheetGeometry::maxRows - 1);
        frame.column = std::clamp(a.col1, 0, Columns - 1);
        const int endRow = std::clamp(a.row2, 0, layout::SheetGeometry::maxRows - 1);
        const int endColumn = std::clamp(a.col2, 0, Columns - 1);
        const QRectF pixels = geometry.anchorRect(a, 0, 0);
        // The frame stands in its first cell, and its corner is measured from that cell's corner.
        const double x = pixels.x() - static_cast<double>(geometry.columnSpan(0, frame.column));
        const double y = pixels.y() - static_cast<double>(geometry.rowSpan(0, frame.row));
        frame.area = QRectF(pixelPoints(x), pixelPoints(y), pixelPoints(pixels.width()), pixelPoints(pixels.height()));
        frame.endCell = odfCellAddress(name_, endRow, endColumn);
        frame.endX = std::max(0.0, pixelPoints(pixels.right() - static_cast<double>(geometry.columnSpan(0, endColumn))));
        frame.endY = std::max(0.0, pixelPoints(pixels.bottom() - static_cast<double>(geometry.rowSpan(0, endRow))));
        frame.zIndex = zIndex++;
        if (!chart) {
            frame.shape = &drawing;
            frames_.push_back(frame);
            rows_ = std::max(rows_, std::max(frame.row, endRow) + 1);
            continue;
        }
        frame.object = objects_.size();
        objects_.push_back(chartObject(workbook, names, sheetIndex, sheet_.charts[static_cast<std::size_t>(drawing.chartIndex)],
                                          ++charts, frame.area.width(), frame.area.height()));
        frames_.push_back(frame);
        rows_ = std::max(rows_, std::max(frame.row, endRow) + 1);
    }
    std::stable_sort(frames_.begin(), frames_.end(), [](const Frame& a, const Frame& b) {
        return std::tie(a.row, a.column) < std::tie(b.row, b.column);
    });

    // The link of a cell is the last one over it, as in the sheet; only cells that are there carry one.
    links_ = biff::readHyperlinks(sheet_);
    for (std::size_t k = 0; k < links_.size(); ++k) {
        const model::CellRange& range = links_[k].range;
        for (auto at = sheet_.cells.lower_bound({range.firstRow, range.firstColumn});
             at != sheet_.cells.end() && at->first.row <= range.lastRow; ++at)
            if (at->first.column >= range.firstColumn && at->first.column <= range.lastColumn)
                linked_[at->first] = k;
    }
}

const biff::Hyperlink* SheetTable::linkAt(const model::CellAddress& at) const
{
    if (linked_.empty())
        return nullptr;
    const auto found = linked_.find(at);
    return found == linked_.end() ? nullptr : &links_[found->second];
}

int SheetTable::columnWidth(int column) const
{
    // A hidden column keeps the width it shows again with.
    for (const model::ColumnInfo& info : sheet_.columns)
        if (column >= info.first && column <= info.last)
            return info.width;
    return defaultColumnWidth(workbook_, sheet_);
}

void SheetTable::addSizes(std::set<int>& columnWidths, std::set<int>& rowTwips) const
{
    for (int column = 0; column < Columns; ++column)
        columnWidths.insert(columnWidth(column));
    rowTwips.insert(sheet_.defaultRowHeight);
    for (int row = 0; row < rows_; ++row)
        rowTwips.insert(sheet_.rowHeight(row));
}

void SheetTable::write(QXmlStreamWriter& xml) const
{
    xml.writeStartElement("table:table");
    xml.writeAttribute("table:name", QString::fromStdString(name_));
    xml.writeAttribute("table:style-name", tableStyle(index_));
    writeTableProtection(xml, biff::readSheetSettings(workbook_, sheet_));
    writeColumns(xml);
    auto cell = sheet_.cells.begin();
    std::size_t frame = 0;
    int row = 0;
    while (row < rows_) {
        // Rows with nothing in them and the same look go together.
        const auto note = notes_.lower_bound({row, 0});
        const bool empty = (cell == sheet_.cells.end() || cell->first.row != row)
            && (frame == frames_.size() || frames_[frame].row != row)
            && (note == notes_.end() || note->first.row != row);
        const auto info = sheet_.rows.find(row);
        if (empty && (info == sheet_.rows.end() || !info->second.xf)) {
            int end = row + 1;
            const std::vector<std::size_t> rules = validations_.rulesOfRow(index_, row);
            const auto sameLook = [&](int other) {
                const auto otherInfo = sheet_.rows.find(other);
                return sheet_.rowHeight(other) == sheet_.rowHeight(row) && sheet_.rowHidden(other) == sheet_.rowHidden(row)
                    && (otherInfo == sheet_.rows.end() || !otherInfo->second.xf)
                    && validations_.rulesOfRow(index_, other) == rules;
            };
            const int nextCell = cell == sheet_.cells.end() ? rows_ : cell->first.row;
            const int nextFrame = frame == frames_.size() ? rows_ : frames_[frame].row;
            const int nextNote = note == notes_.end() ? rows_ : note->first.row;
            while (end < rows_ && end < nextCell && end < nextFrame && end < nextNote && sameLook(end))
                ++end;
            xml.writeStartElement(QStringLiteral("table:table-row"));
            xml.writeAttribute(QStringLiteral("table:style-name"), rowStyle(sheet_.rowHeight(row)));
            if (end - row > 1)
                xml.writeAttribute(QStringLiteral("table:number-rows-repeated"), QString::number(end - row));
            if (sheet_.rowHidden(row))
                xml.writeAttribute(QStringLiteral("table:visibility"), QStringLiteral("collapse"));
            writeBlankCells(xml, row, 0, Columns);
            xml.writeEndElement();
            row = end;
            continue;
        }
        writeRow(xml, row, cell, frame);
        ++row;
    }
    writeNamedExpressions(xml, formulas_.links(), formulas_.sheetIndex());
    conditional_.writeFormats(xml, index_, name_);
    xml.writeEndElement();
}

void SheetTable::writeColumns(QXmlStreamWriter& xml) const
{
    const auto look = [this](int column) {
        bool hidden = false;
        int xf = model::DefaultCellXf;
        for (const model::ColumnInfo& info : sheet_.columns) {
            if (column >= info.first && column <= info.last) {
                hidden = info.hidden();
                xf = info.xf;
                break;
            }
        }
        return std::tuple(columnWidth(column), hidden, xf);
    };
    for (int column = 0; column < Columns;) {
        const auto [width, hidden, xf] = look(column);
        int end = column + 1;
        while (end < Columns && look(end) == look(column))
            ++end;
        xml.writeStartElement("table:table-column");
        xml.writeAttribute("table:style-name", columnStyle(width));
        if (end - column > 1)
            xml.writeAttribute("table:number-columns-repeated", QString::number(end - column));
        if (hidden)
            xml.writeAttribute("table:visibility", "collapse");
        xml.writeAttribute("table:default-cell-style-name", styles_.name(xf));
        xml.writeEndElement();
        column = end;
    }
}

void SheetTable::writeRow(QXmlStreamWriter& xml, int row, model::CellStore::const_iterator& cell, std::size_t& frame) const
{
    xml.writeStartElement(QStringLiteral("table:table-row"));
    xml.writeAttribute(QStringLiteral("table:style-name"), rowStyle(sheet_.rowHeight(row)));
    if (sheet_.rowHidden(row))
        xml.writeAttribute(QStringLiteral("table:visibility"), QStringLiteral("collapse"));
    const auto info = sheet_.rows.find(row);
    if (info != sheet_.rows.end() && info->second.xf)
        xml.writeAttribute(QStringLiteral("table:default-cell-style-name"), styles_.name(*info->second.xf));
    int column = 0;
    const auto skipTo = [&](int target) {
        writeBlankCells(xml, row, column, target);
        column = target;
    };
    while (true) {
        const bool hasCell = cell != sheet_.cells.end() && cell->first.row == row && cell->first.column < Columns;
        const bool hasFrame = frame < frames_.size() && frames_[frame].row == row;
        const auto note = notes_.lower_bound({row, column});
        const bool noteAhead = note != notes_.end() && note->first.row == row;
        if (!hasCell && !hasFrame && !noteAhead)
            break;
        const int at = std::min({hasCell ? cell->first.column : Columns, hasFrame ? frames_[frame].column : Columns,
                                 noteAhead ? note->first.column : Columns});
        skipTo(at);
        xml.writeStartElement(QStringLiteral("table:table-cell"));
        writeValidation(xml, row, at);
        if (hasCell && cell->first.column == at && isBlank(cell->second) && !linkAt(cell->first)
            && !(hasFrame && frames_[frame].column == at) && !hasNote(row, at)) {
            // Blank cells of one style side by side are one element, as a run of them is one record.
            const QString& style = styles_.name(cell->second.xf);
            const QString* validation = validations_.at(index_, row, at);
            int count = 0;
            const int nextFrame = frame < frames_.size() && frames_[frame].row == row ? frames_[frame].column : Columns;
            for (; cell != sheet_.cells.end() && cell->first.row == row && cell->first.column == at + count
                   && at + count < std::min(nextFrame, Columns) && isBlank(cell->second) && !linkAt(cell->first)
                   && !hasNote(row, at + count)
                   && styles_.name(cell->second.xf) == style && validations_.at(index_, row, at + count) == validation;
                 ++cell)
                ++count;
            xml.writeAttribute(QStringLiteral("table:style-name"), style);
            if (count > 1)
                xml.writeAttribute(QStringLiteral("table:number-columns-repeated"), QString::number(count));
            xml.writeEndElement();
            column += count;
            continue;
        }
        if (hasCell && cell->first.column == at) {
            std::optional<formula::CellFormula> formula;
            if (cell->second.hasFormula())
                formula = formulas_.at(cell->first);
            if (formula)
                writeFormulaAttributes(xml, *formula);
            if (const biff::Hyperlink* link = linkAt(cell->first))
                writeLinkedCell(xml, cell->first, cell->second, *link, formula.has_value());
            else
                writeCell(xml, cell->first, cell->second, formula.has_value());
            ++cell;
        } else {
            writeNote(xml, {row, at});
        }
        while (frame < frames_.size() && frames_[frame].row == row && frames_[frame].column == at)
            writeFrame(xml, frames_[frame++]);
        xml.writeEndElement();
        ++column;
    }
    // Cells beyond the last column the sheet can hold are not part of it.
    while (cell != sheet_.cells.end() && cell->first.row == row)
        ++cell;
    skipTo(Columns);
    xml.writeEndElement();
}

void SheetTable::writeCell(QXmlStreamWriter& xml, const model::CellAddress& at, const model::Cell& cell,
                           bool formulaWritten) const
{
    xml.writeAttribute(QStringLiteral("table:style-name"), styles_.name(cell.xf));
    const CellValue value = workbook_.value(cell);
    if (isRichText(workbook_, cell)) {
        xml.writeAttribute(QStringLiteral("office:value-type"), QStringLiteral("string"));
        writeNote(xml, at);
        writeRichParagraphs(xml, workbook_, workbook_.sharedStrings[cell.textIndex()]);
    } else if (const auto* text = std::get_if<std::string>(&value)) {
        xml.writeAttribute(QStringLiteral("office:value-type"), QStringLiteral("string"));
        writeNote(xml, at);
        writeParagraphs(xml, QString::fromStdString(*text));
    } else {
        values_.write(xml, value, cell.xf, formulaWritten, [&] { writeNote(xml, at); });
    }
}

void SheetTable::writeNote(QXmlStreamWriter& xml, const model::CellAddress& at) const
{
    const auto found = notes_.find(at);
    if (found == notes_.end())
        return;
    const model::Comment& comment = *found->second;
    QRectF box;
    if (comment.anchor) {
        const layout::SheetGeometry geometry(sheet_, digitWidth_);
        const QRectF pixels = geometry.anchorRect(*comment.anchor, 0, 0);
        box = QRectF(pixelPoints(pixels.x()), pixelPoints(pixels.y()), pixelPoints(pixels.width()), pixelPoints(pixels.height()));
    }
    shapes_.writeAnnotation(xml, comment, box);
}

void SheetTable::writeBlankCells(QXmlStreamWriter& xml, int row, int from, int to) const
{
    if (validations_.rulesOfRow(index_, row).empty()) {
        writeEmptyCells(xml, to - from);
        return;
    }
    while (from < to) {
        const QString* validation = validations_.at(index_, row, from);
        int end = from + 1;
        while (end < to && validations_.at(index_, row, end) == validation)
            ++end;
        if (validation) {
            xml.writeStartElement(QStringLiteral("table:table-cell"));
            if (end - from > 1)
                xml.writeAttribute(QStringLiteral("table:number-columns-repeated"), QString::number(end - from));
            xml.writeAttribute(QStringLiteral("table:content-validation-name"), *validation);
            xml.writeEndElement();
        } else {
            writeEmptyCells(xml, end - from);
        }
        from = end;
    }
}

void SheetTable::writeValidation(QXmlStreamWriter& xml, int row, int column) const
{
    if (const QString* validation = validations_.at(index_, row, column))
        xml.writeAttribute(QStringLiteral("table:content-validation-name"), *validation);
}

void SheetTable::writeLinkedCell(QXmlStreamWriter& xml, const model::CellAddress& at, const model::Cell& cell,
                                 const biff::Hyperlink& link, bool formulaWritten) const
{
    xml.writeAttribute(QStringLiteral("table:style-name"), styles_.name(cell.xf));
    const CellValue value = workbook_.value(cell);
    QString shown;
    if (const auto* text = std::get_if<std::string>(&value)) {
        xml.writeAttribute(QStringLiteral("office:value-type"), QStringLiteral("string"));
        shown = QString::fromStdString(*text);
    } else if (const auto* number = std::get_if<double>(&value); number && std::isfinite(*number)) {
        values_.write(xml, value, cell.xf, formulaWritten);
        shown = QString::fromStdString(decimal(*number));
    } else if (!std::holds_alternative<std::monostate>(value)) {
        // A logical value or an error shows itself; the link has no text to stand on.
        values_.write(xml, value, cell.xf, formulaWritten, [&] { writeNote(xml, at); });
        return;
    }
    writeNote(xml, at);
    QString href = QString::fromStdString(link.target);
    if (!link.location.empty() && !href.contains(QLatin1Char('#'))) {
        QString location = QString::fromStdString(link.location);
        const qsizetype bang = location.lastIndexOf(QLatin1Char('!'));
        if (link.target.empty() && bang >= 0)
            location[bang] = QLatin1Char('.');
        href += QLatin1Char('#') + location;
    }
    xml.writeStartElement(QStringLiteral("text:p"));
    xml.writeStartElement(QStringLiteral("text:a"));
    xml.writeAttribute(QStringLiteral("xlink:href"), href);
    xml.writeAttribute(QStringLiteral("xlink:type"), QStringLiteral("simple"));
    if (!link.tooltip.empty())
        xml.writeAttribute(QStringLiteral("office:title"), QString::fromStdString(link.tooltip));
    xml.writeCharacters(shown);
    xml.writeEndElement();
    xml.writeEndElement();
}

void SheetTable::writeFrame(QXmlStreamWriter& xml, const Frame& frame) const
{
    if (frame.shape) {
        shapes_.writeShape(xml, *frame.shape, {frame.area, QString::fromStdString(frame.endCell), frame.endX, frame.endY},
                           frame.zIndex);
        return;
    }
    const ChartObject& object = objects_[frame.object];
    xml.writeStartElement("draw:frame");
    xml.writeAttribute("draw:z-index", QString::number(frame.zIndex));
    xml.writeAttribute("draw:name", QStringLiteral("Chart ") + QString::fromStdString(object.folder.substr(object.folder.find(' ') + 1)));
    xml.writeAttribute("draw:style-name", "gr1");
    xml.writeAttribute("svg:width", QString::fromStdString(points(frame.area.width())));
    xml.writeAttribute("svg:height", QString::fromStdString(points(frame.area.height())));
    xml.writeAttribute("svg:x", QString::fromStdString(points(frame.area.x())));
    xml.writeAttribute("svg:y", QString::fromStdString(points(frame.area.y())));
    xml.writeAttribute("table:end-cell-address", QString::fromStdString(frame.endCell));
    xml.writeAttribute("table:end-x", QString::fromStdString(points(frame.endX)));
    xml.writeAttribute("table:end-y", QString::fromStdString(points(frame.endY)));
    xml.writeStartElement("draw:object");
    xml.writeAttribute("draw:notify-on-update-of-ranges", QString::fromStdString(object.ranges));
    xml.writeAttribute("xlink:href", QString::fromStdString("./" + object.folder));
    xml.writeAttribute("xlink:type", "simple");
    xml.writeAttribute("xlink:show", "embed");
    xml.writeAttribute("xlink:actuate", "onLoad");
    xml.writeEndElement();
    xml.writeEndElement();
}

} // namespace sheet::ods

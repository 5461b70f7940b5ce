#include "sheet/xlsx/SheetXmlReader.h"

#include "sheet/Errors.h"
#include "sheet/model/A1Notation.h"
#include "sheet/xlsx/CellReferences.h"
#include "sheet/xlsx/SharedStringsReader.h"
#include "sheet/xlsx/XmlStream.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sheet::xlsx {
namespace {

constexpr int LastRow = model::CellStore::Rows - 1;
constexpr int LastColumn = model::CellStore::Columns - 1;

std::optional<ErrorCode> errorCode(QStringView text)
{
    if (text == u"#NULL!") return ErrorCode::Null;
    if (text == u"#DIV/0!") return ErrorCode::DivisionByZero;
    if (text == u"#VALUE!") return ErrorCode::Value;
    if (text == u"#REF!") return ErrorCode::Reference;
    if (text == u"#NAME?") return ErrorCode::Name;
    if (text == u"#NUM!") return ErrorCode::Number;
    if (text == u"#N/A") return ErrorCode::NotAvailable;
    return std::nullopt;
}

long long daysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

// An ISO 8601 date and time ("2024-02-29T13:45:00") as a serial number; nothing when it is none.
std::optional<double> dateSerial(QStringView text, bool date1904)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    double second = 0;
    const QString plain = text.toString();
    const QByteArray bytes = plain.toLatin1();
    const int fields = std::sscanf(bytes.constData(), "%d-%d-%dT%d:%d:%lf", &year, &month, &day, &hour, &minute, &second);
    double time = 0;
    double days = 0;
    if (fields >= 3) {
        if (month < 1 || month > 12 || day < 1 || day > 31)
            return std::nullopt;
        days = static_cast<double>(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                                   daysFromCivil(date1904 ? 1904 : 1899, date1904 ? 1 : 12, date1904 ? 1 : 30));
        // The serials of 1900 count a 29 February that never was.
        if (!date1904 && days < 61)
            days -= days >= 1 ? 1 : 0;
        if (fields >= 5)
            time = (hour * 3600 + minute * 60 + second) / 86400.0;
    } else if (std::sscanf(bytes.constData(), "T%d:%d:%lf", &hour, &minute, &second) >= 2 ||
               std::sscanf(bytes.constData(), "%d:%d:%lf", &hour, &minute, &second) >= 2) {
        time = (hour * 3600 + minute * 60 + second) / 86400.0;
    } else {
        return std::nullopt;
    }
    return days + time;
}

class WorksheetParser {
public:
    WorksheetParser(const std::string& part, bool date1904, std::size_t xfCount, model::Workbook& workbook,
                    model::Sheet& sheet, XlsxSheet& package)
        : part_(part), date1904_(date1904), xfCount_(xfCount), workbook_(workbook), sheet_(sheet), package_(package)
    {
    }

    void token(const QXmlStreamReader& reader)
    {
        if (inCell_) {
            cellToken(reader);
            return;
        }
        if (!reader.isStartElement()) {
            if (reader.isEndElement() && reader.name() == u"sheetData")
                inSheetData_ = false;
            return;
        }
        const QStringView name = reader.name();
        if (inSheetData_) {
            if (name == u"row")
                startRow(reader);
            else if (name == u"c")
                startCell(reader);
            return;
        }
        if (name == u"sheetData")
            inSheetData_ = true;
        else if (name == u"col")
            column(reader);
        else if (name == u"sheetFormatPr")
            format(reader);
        else if (name == u"sheetView") {
            if (!viewSeen_) {
                sheet_.showGridlines = attributeFlag(reader, u"showGridLines", true);
                links.selected = attributeFlag(reader, u"tabSelected", false);
            }
            viewSeen_ = true;
        } else if (name == u"mergeCell") {
            const auto range = parsedRange(attributeText(reader, u"ref"));
            if (range && range->firstRow <= LastRow && range->firstColumn <= LastColumn) {
                model::CellRange area = *range;
                area.lastRow = std::min(area.lastRow, LastRow);
                area.lastColumn = std::min(area.lastColumn, LastColumn);
                sheet_.mergedAreas.push_back(area);
            }
        } else if (name == u"drawing") {
            links.drawing = relationshipId(reader);
        }
    }

    void finish()
    {
        sheet_.cells.assign(std::move(slots_), {});
    }

    WorksheetLinks links;

private:
    enum class Type { Number, Shared, Text, InlineText, Logical, Error, Date };

    int xf(long long packageIndex) const
    {
        return modelXfIndex(static_cast<int>(std::clamp(packageIndex, -1LL, 0x7FFFFFFFLL)), xfCount_);
    }

    void startRow(const QXmlStreamReader& reader)
    {
        const long long r = attributeNumber(reader, u"r", row_ + 2);
        if (r < 1 || r > PackageLastRow + 1)
            throw FormatError("the part " + part_ + " has a row numbered " + std::to_string(r) + ", beyond any sheet");
        row_ = static_cast<int>(r - 1);
        column_ = -1;
        if (row_ > LastRow)
            return;
        const QStringView height = attributeOf(reader, u"ht");
        const bool hidden = attributeFlag(reader, u"hidden", false);
        const bool customFormat = attributeFlag(reader, u"customFormat", false);
        if (height.isEmpty() && !hidden && !customFormat)
            return;
        model::RowInfo info;
        info.height = sheet_.defaultRowHeight;
        bool ok = false;
        const double points = height.toDouble(&ok);
        if (ok && points >= 0 && points < 410)
            info.height = static_cast<int>(std::lround(points * 20));
        info.hidden = hidden;
        info.customHeight = attributeFlag(reader, u"customHeight", false);
        if (customFormat)
            info.xf = xf(attributeNumber(reader, u"s", 0));
        sheet_.rows[row_] = info;
    }

    void startCell(const QXmlStreamReader& reader)
    {
        const QStringView reference = attributeOf(reader, u"r");
        if (!reference.isEmpty()) {
            const auto at = parsedCell(reference);
            if (!at)
                throw FormatError("the part " + part_ + " has a cell at \"" + reference.toString().toStdString() +
                                  "\", which is no cell address");
            row_ = at->row;
            column_ = at->column;
        } else {
            if (row_ < 0)
                row_ = 0;
            ++column_;
        }
        inCell_ = true;
        cellXf_ = xf(attributeNumber(reader, u"s", 0));
        const QStringView type = attributeOf(reader, u"t");
        type_ = type == u"s" ? Type::Shared : type == u"str" ? Type::Text : type == u"inlineStr" ? Type::InlineText
              : type == u"b" ? Type::Logical : type == u"e" ? Type::Error : type == u"d" ? Type::Date : Type::Number;
        value_.clear();
        formula_.clear();
        hasFormula_ = false;
        element_ = Element::None;
        inline_.clear();
    }

    void cellToken(const QXmlStreamReader& reader)
    {
        const QStringView name = reader.name();
        if (reader.isStartElement()) {
            if (element_ == Element::InlineText) {
                inline_.token(reader);
            } else if (name == u"v") {
                element_ = Element::Value;
            } else if (name == u"f") {
                element_ = Element::Formula;
                hasFormula_ = true;
            } else if (name == u"is") {
                element_ = Element::InlineText;
            }
            return;
        }
        if (reader.isEndElement()) {
            if (name == u"c") {
                endCell();
                inCell_ = false;
            } else if (name == u"is") {
                element_ = Element::None;
            } else if (element_ == Element::InlineText) {
                inline_.token(reader);
            } else {
                element_ = Element::None;
            }
            return;
        }
        if (element_ == Element::Value)
            value_ += reader.text();
        else if (element_ == Element::Formula)
            formula_ += reader.text();
        else if (element_ == Element::InlineText)
            inline_.token(reader);
    }

    void endCell()
    {
        const bool hasValue = !value_.isEmpty() || type_ == Type::InlineText;
        if (row_ > LastRow || column_ > LastColumn) {
            if (hasValue || hasFormula_)
                ++package_.cellsBeyondTheSheet;
            return;
        }
        model::CellStore::Slot slot;
        slot.row = static_cast<std::uint16_t>(row_);
        slot.column = slot.lastColumn = static_cast<std::uint8_t>(column_);
        model::Cell& cell = slot.cell;
        cell.xf = static_cast<std::uint16_t>(cellXf_);
        if (hasFormula_)
            package_.formulas[{row_, column_}] = formula_.toStdString();
        if (hasValue)
            setValue(cell);
        if (cell.isEmpty() && cell.xf == model::DefaultCellXf && !hasFormula_)
            return;
        slots_.push_back(slot);
    }

    void setValue(model::Cell& cell)
    {
        switch (type_) {
        case Type::Shared: {
            bool ok = false;
            const unsigned long index = value_.trimmed().toULong(&ok);
            if (!ok || index >= workbook_.sharedStrings.size())
                throw FormatError("a cell of " + part_ + " refers to text " + value_.toStdString() +
                                  ", which the shared strings do not hold");
            cell.setSharedText(static_cast<std::uint32_t>(index));
            break;
        }
        case Type::Text:
            setText(cell, unescapedText(value_));
            break;
        case Type::InlineText:
            setText(cell, inline_.text());
            break;
        case Type::Logical:
            cell.setLogical(value_.trimmed() == u"1" || value_.trimmed() == u"true");
            break;
        case Type::Error:
            cell.setError(errorCode(value_.trimmed()).value_or(ErrorCode::NotAvailable));
            break;
        case Type::Date:
            if (const auto serial = dateSerial(value_.trimmed(), date1904_))
                cell.setNumber(*serial);
            else
                setText(cell, value_);
            break;
        case Type::Number: {
            bool ok = false;
            const double number = value_.trimmed().toDouble(&ok);
            if (ok && std::isfinite(number))
                cell.setNumber(number);
            else if (!value_.isEmpty())
                throw FormatError("a cell of " + part_ + " holds \"" + value_.left(40).toStdString() +
                                  "\" where a number belongs");
            break;
        }
        }
    }

    void setText(model::Cell& cell, const QString& text)
    {
        cell.setText(static_cast<std::uint32_t>(workbook_.cellTexts.size()));
        workbook_.cellTexts.push_back(text.toStdString());
    }

    void column(const QXmlStreamReader& reader)
    {
        const long long first = attributeNumber(reader, u"min", 0) - 1;
        const long long last = attributeNumber(reader, u"max", first + 1) - 1;
        if (first < 0 || first > LastColumn || last < first)
            return;
        model::ColumnInfo info;
        info.first = static_cast<int>(first);
        info.last = static_cast<int>(std::min<long long>(last, LastColumn));
        bool ok = false;
        const double width = attributeOf(reader, u"width").toDouble(&ok);
        info.width = ok && width >= 0 && width <= 255 ? static_cast<int>(std::lround(width * 256))
                                                      : (sheet_.standardWidth ? *sheet_.standardWidth : 8 * 256 + 183);
        info.xf = xf(attributeNumber(reader, u"style", 0));
        if (attributeFlag(reader, u"hidden", false))
            info.options |= model::ColumnInfo::Hidden;
        if (attributeFlag(reader, u"customWidth", false))
            info.options |= model::ColumnInfo::UserSetWidth;
        sheet_.columns.push_back(info);
    }

    void format(const QXmlStreamReader& reader)
    {
        bool ok = false;
        const double height = attributeOf(reader, u"defaultRowHeight").toDouble(&ok);
        if (ok && height > 0 && height < 410)
            sheet_.defaultRowHeight = static_cast<int>(std::lround(height * 20));
        sheet_.defaultRowsHidden = attributeFlag(reader, u"zeroHeight", false);
        sheet_.defaultColumnWidth = static_cast<int>(std::clamp(attributeNumber(reader, u"baseColWidth", 8), 0LL, 255LL));
        const double width = attributeOf(reader, u"defaultColWidth").toDouble(&ok);
        // The package's width includes the cell's margins, five pixels of a seven-pixel digit.
        if (ok && width > 0 && width < 255)
            sheet_.standardWidth = static_cast<int>(std::lround(std::max(0.0, width - 5.0 / 7) * 256));
    }

    enum class Element { None, Value, Formula, InlineText };

    const std::string& part_;
    const bool date1904_;
    const std::size_t xfCount_;
    model::Workbook& workbook_;
    model::Sheet& sheet_;
    XlsxSheet& package_;
    model::CellStore::Slots slots_;
    bool inSheetData_ = false;
    bool inCell_ = false;
    bool viewSeen_ = false;
    int row_ = -1;
    int column_ = -1;
    int cellXf_ = model::DefaultCellXf;
    Type type_ = Type::Number;
    Element element_ = Element::None;
    QString value_;
    QString formula_;
    bool hasFormula_ = false;
    RichTextCollector inline_;
};

} // namespace

WorksheetLinks readWorksheet(const zip::ZipReader& zip, const std::string& part, bool date1904,
                             std::size_t packageXfCount, model::Workbook& workbook, model::Sheet& sheet,
                             XlsxSheet& package)
{
    WorksheetParser parser(part, date1904, packageXfCount, workbook, sheet, package);
    readXmlPart(zip, part, [&parser](const QXmlStreamReader& reader) { parser.token(reader); });
    parser.finish();
    return parser.links;
}

} // namespace sheet::xlsx

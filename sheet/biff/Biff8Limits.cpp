#include "sheet/biff/Biff8Limits.h"

#include "sheet/Errors.h"
#include "sheet/biff/MergedCells.h"
#include "sheet/biff/UnicodeText.h"
#include "sheet/io/ByteReader.h"
#include "sheet/model/A1Notation.h"
#include "sheet/text/Utf16.h"

#include <optional>
#include <string>
#include <string_view>

namespace sheet::biff {
namespace {

constexpr int MostRows = 65536;
constexpr int MostColumns = 256;
constexpr std::size_t MostCellFormats = 4050; // what Excel 97-2003 opens; the XF index has room for 4,095
constexpr std::size_t MostFonts = 511;        // font index 4 is never written
constexpr std::size_t LongestSheetName = 31;
constexpr std::size_t LongestText = 32767;

const std::string Refusal = "the workbook cannot be saved in the Excel 97-2003 (.xls) format: ";

std::string withThousands(std::size_t number)
{
    const std::string digits = std::to_string(number);
    std::string grouped;
    for (std::size_t k = 0; k < digits.size(); ++k) {
        if (k > 0 && (digits.size() - k) % 3 == 0)
            grouped += ',';
        grouped += digits[k];
    }
    return grouped;
}

[[noreturn]] void refuse(const std::string& why)
{
    throw FormatError(Refusal + why);
}

// The name of a function newer than the format that a formula calls: Excel 2007 and later keep such a call
// as the name "_xlfn." and the function's, in an EXTERNNAME or a NAME record. Nothing for another record.
std::optional<std::string> newerFunction(const model::Record& record)
{
    constexpr std::uint16_t ExternName = 0x0023, Name = 0x0018;
    constexpr std::u16string_view Prefix = u"_xlfn.";
    std::u16string name;
    try {
        io::ByteReader reader(record.bytes, "a name record");
        if (record.type == ExternName) {
            reader.skip(6);
            name = readUnicodeString(reader, 1);
        } else if (record.type == Name) {
            reader.skip(3);
            const std::size_t length = reader.u8();
            reader.skip(10);
            const bool wide = reader.u8() & 0x01;
            name = readCharacters(reader, length, wide);
        }
    } catch (const FormatError&) {
        return std::nullopt;
    }
    if (!name.starts_with(Prefix))
        return std::nullopt;
    return text::toUtf8(name.substr(Prefix.size()));
}

void checkPlace(const model::Sheet& sheet, int row, int column, const char* what)
{
    if (row >= MostRows)
        refuse("sheet \"" + sheet.name + "\" has " + what + " in row " + withThousands(static_cast<std::size_t>(row) + 1) +
               ", and the format holds " + withThousands(MostRows) + " rows");
    if (column >= MostColumns)
        refuse("sheet \"" + sheet.name + "\" has " + what + " in column " +
               withThousands(static_cast<std::size_t>(column) + 1) + ", and the format holds " +
               withThousands(MostColumns) + " columns (A to IV)");
}

} // namespace

void checkBiff8Limits(const model::Workbook& workbook)
{
    if (workbook.sheets.empty())
        refuse("it has no sheets");
    for (const model::Record& record : workbook.globalRecords)
        if (const std::optional<std::string> function = newerFunction(record))
            refuse("a formula calls " + *function + ", a function newer than the format");
    if (workbook.xfs.size() > MostCellFormats)
        refuse("it has " + withThousands(workbook.xfs.size()) + " cell formats, and the format holds " +
               withThousands(MostCellFormats));
    if (workbook.fonts.size() > MostFonts)
        refuse("it has " + withThousands(workbook.fonts.size()) + " fonts, and the format holds " +
               withThousands(MostFonts));
    for (const std::string& text : workbook.cellTexts)
        if (text.size() > LongestText && text::toUtf16(text).size() > LongestText)
            refuse("a cell holds a text of more than " + withThousands(LongestText) + " characters");
    for (const model::Sheet& sheet : workbook.sheets) {
        if (text::toUtf16(sheet.name).size() > LongestSheetName)
            refuse("the sheet name \"" + sheet.name + "\" is longer than " + std::to_string(LongestSheetName) +
                   " characters");
        for (const auto& [at, cell] : sheet.cells)
            checkPlace(sheet, at.row, at.column, "a cell");
        if (!sheet.rows.empty())
            checkPlace(sheet, sheet.rows.rbegin()->first, 0, "a row format");
        for (const model::ColumnInfo& column : sheet.columns)
            checkPlace(sheet, 0, column.first, "a column format");
        for (const model::CellRange& area : mergedCells(sheet))
            checkPlace(sheet, area.lastRow, area.lastColumn, "merged cells");
    }
}

} // namespace sheet::biff

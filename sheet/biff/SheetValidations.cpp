#include "sheet/biff/SheetValidations.h"

#include "sheet/biff/CellRangeList.h"
#include "sheet/biff/SimpleFormula.h"
#include "sheet/biff/UnicodeText.h"
#include "sheet/io/ByteReader.h"
#include "sheet/text/Utf16.h"

namespace sheet::biff {
namespace {

constexpr std::uint16_t DvRecord = 0x01BE;

// A title or message: an XLUnicodeString, where a lone zero character stands for none.
std::string message(io::ByteReader& reader)
{
    const std::u16string text = readUnicodeString(reader, 2);
    return text == std::u16string(1, u'\0') ? std::string() : text::toUtf8(text);
}

// A DVParsedFormula: its size, two unused bytes and its tokens. Its text when it is a simple one
// (empty when it has no tokens), else its tokens.
void readFormula(io::ByteReader& reader, std::string& text, std::vector<std::uint8_t>& tokens)
{
    const std::size_t size = reader.u16();
    reader.u16();
    const auto bytes = reader.bytes(size);
    if (size == 0)
        return;
    if (const std::optional<std::string> simple = simpleFormulaText(bytes))
        text = *simple;
    else
        tokens.assign(bytes.begin(), bytes.end());
}

Validation readRule(const model::Record& record)
{
    io::ByteReader reader(record.bytes, "a DV record");
    const std::uint32_t flags = reader.u32();
    Validation rule;
    rule.type = static_cast<Validation::Type>(std::min<std::uint32_t>(flags & 0x0F, 7));
    rule.errorStyle = static_cast<Validation::ErrorStyle>(std::min<std::uint32_t>((flags >> 4) & 0x07, 2));
    rule.allowBlank = flags & 0x0100;
    rule.hideDropDown = flags & 0x0200;
    rule.showPrompt = flags & 0x00040000;
    rule.showError = flags & 0x00080000;
    rule.op = static_cast<Validation::Operator>(std::min<std::uint32_t>((flags >> 20) & 0x0F, 7));
    rule.promptTitle = message(reader);
    rule.errorTitle = message(reader);
    rule.prompt = message(reader);
    rule.error = message(reader);
    readFormula(reader, rule.formula1, rule.tokens1);
    readFormula(reader, rule.formula2, rule.tokens2);
    rule.ranges = readCellRanges(reader, reader.u16());
    return rule;
}

} // namespace

std::vector<Validation> readValidations(const model::Workbook& workbook, const model::Sheet& sheet)
{
    std::vector<Validation> rules;
    if (workbook.biff < 8)
        return rules;
    for (const model::Record& record : sheet.records) {
        if (record.type != DvRecord)
            continue;
        try {
            Validation rule = readRule(record);
            if (!rule.ranges.empty())
                rules.push_back(std::move(rule));
        } catch (const FormatError&) {
            // A rule cut short covers no cell.
        }
    }
    return rules;
}

} // namespace sheet::biff

#include "sheet/formula/FormulaRecords.h"

#include "sheet/Errors.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/formula/FormulaParser.h"
#include "sheet/io/ByteWriter.h"
#include "sheet/text/Utf16.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace sheet::formula {
namespace {

constexpr std::uint16_t NameRecord = 0x0018;
constexpr std::uint16_t ExternNameRecord = 0x0023;
constexpr std::uint16_t SelfBook = 0x0401;
constexpr std::uint16_t AddInBook = 0x3A01;
constexpr std::size_t MostRecordBytes = 8224;
constexpr std::uint8_t PtgExp = 0x01, PtgTbl = 0x02, PtgErr = 0x1C;
constexpr std::uint16_t RowInput = 0x04, TwoInputs = 0x08, FirstDeleted = 0x10, SecondDeleted = 0x20;
constexpr std::uint8_t ReferenceError = 0x17;
constexpr std::uint16_t NameHidden = 0x0001, NameFunction = 0x0002, NameProcedure = 0x0008, NameBuiltIn = 0x0020;

// The built-in names, by their code in the file.
constexpr std::string_view BuiltInNames[] = {
    "Consolidate_Area", "Auto_Open", "Auto_Close", "Extract", "Database", "Criteria", "Print_Area",
    "Print_Titles", "Recorder", "Data_Form", "Auto_Activate", "Auto_Deactivate", "Sheet_Title", "_FilterDatabase",
};

model::Record record(std::uint16_t type, std::vector<std::uint8_t> bytes, const char* what)
{
    if (bytes.size() > MostRecordBytes)
        throw FormatError(std::string(what) + " is too long for the file format");
    return {type, std::move(bytes), false};
}

// FORMULA: the cell, its format, its result, no options, the tokens and what follows them.
model::Record formulaRecord(const model::CellAddress& at, int xf, std::span<const std::uint8_t> tokens,
                            std::span<const std::uint8_t> extra, const CellValue& cached)
{
    std::vector<std::uint8_t> bytes;
    io::ByteWriter out(bytes);
    out.u16(static_cast<std::uint16_t>(at.row));
    out.u16(static_cast<std::uint16_t>(at.column));
    out.u16(static_cast<std::uint16_t>(xf));
    if (const double* number = std::get_if<double>(&cached)) {
        out.f64(*number);
    } else {
        // A result other than a number: its kind, its value, and 0xFFFF where a number's exponent goes.
        std::uint8_t kind = 0x03;
        std::uint8_t value = 0;
        if (std::holds_alternative<std::string>(cached) && !std::get<std::string>(cached).empty()) {
            kind = 0x00;
        } else if (const bool* logical = std::get_if<bool>(&cached)) {
            kind = 0x01;
            value = *logical ? 1 : 0;
        } else if (const ErrorCode* error = std::get_if<ErrorCode>(&cached)) {
            kind = 0x02;
            value = static_cast<std::uint8_t>(*error);
        }
        out.u8(kind);
        out.u8(0);
        out.u8(value);
        out.zeros(3);
        out.u16(0xFFFF);
    }
    out.u16(0);
    out.u32(0);
    out.u16(static_cast<std::uint16_t>(tokens.size()));
    out.bytes(tokens);
    out.bytes(extra);
    return record(biff::rt::Formula, std::move(bytes), "a formula");
}

// STRING with a text result, its characters carried on in CONTINUE records, each starting with its
// own flags byte, when they do not fit one record.
void appendString(std::vector<model::Record>& records, const std::string& text)
{
    const std::u16string characters = text::toUtf16(text);
    if (characters.size() > 0xFFFF)
        throw FormatError("a formula's text result is too long for the file format");
    const bool wide = std::any_of(characters.begin(), characters.end(), [](char16_t c) { return c > 0xFF; });
    const std::size_t size = wide ? 2 : 1;
    std::vector<std::uint8_t> bytes;
    io::ByteWriter out(bytes);
    out.u16(static_cast<std::uint16_t>(characters.size()));
    std::uint16_t type = biff::rt::String;
    std::size_t at = 0;
    do {
        out.u8(wide ? 1 : 0);
        const std::size_t room = (MostRecordBytes - bytes.size()) / size;
        const std::size_t count = std::min(room, characters.size() - at);
        for (std::size_t k = at; k < at + count; ++k) {
            if (wide)
                out.u16(characters[k]);
            else
                out.u8(static_cast<std::uint8_t>(characters[k]));
        }
        at += count;
        records.push_back({type, std::move(bytes), false});
        bytes.clear();
        type = biff::rt::Continue;
    } while (at < characters.size());
}

void appendResult(std::vector<model::Record>& records, const CellValue& cached)
{
    if (const std::string* text = std::get_if<std::string>(&cached); text && !text->empty())
        appendString(records, *text);
}

model::Record bookRecord(const LinkedBook& book, std::size_t sheets)
{
    std::vector<std::uint8_t> bytes;
    io::ByteWriter out(bytes);
    switch (book.kind) {
    case LinkedBook::Kind::Self:
        out.u16(static_cast<std::uint16_t>(sheets));
        out.u16(SelfBook);
        break;
    case LinkedBook::Kind::AddIns:
        out.u16(1);
        out.u16(AddInBook);
        break;
    case LinkedBook::Kind::External: case LinkedBook::Kind::Other:
        if (book.target.empty() || text::toUtf16(book.target).size() > 255)
            throw FormatError("a linked workbook's path is empty or longer than 255 characters: \"" + book.target + "\"");
        out.u16(static_cast<std::uint16_t>(book.sheets.size()));
        appendUnicodeString(bytes, book.target, 2);
        for (const std::string& sheet : book.sheets)
            appendUnicodeString(bytes, sheet, 2);
        break;
    }
    return record(biff::rt::SupBook, std::move(bytes), "the list of a linked workbook's sheets");
}

// EXTERNNAME: no options, no sheet, the name, and a formula of #REF!, which Excel takes for a name it
// looks up in the other workbook (and ignores for an add-in's function).
model::Record externalNameRecord(const std::string& name)
{
    std::vector<std::uint8_t> bytes;
    io::ByteWriter out(bytes);
    out.u16(0);
    out.u32(0);
    appendUnicodeString(bytes, name, 1);
    out.u16(2);
    out.u8(PtgErr);
    out.u8(ReferenceError);
    return record(ExternNameRecord, std::move(bytes), "a linked workbook's name");
}

model::Record nameRecord(const DefinedName& name)
{
    std::uint16_t flags = (name.hidden ? NameHidden : 0) | (name.function ? NameFunction : 0)
        | (name.procedure ? NameProcedure : 0);
    std::string text = name.name;
    if (name.builtIn) {
        const auto found = std::find(std::begin(BuiltInNames), std::end(BuiltInNames), name.name);
        if (found == std::end(BuiltInNames))
            throw FormatError("the built-in name \"" + name.name + "\" is unknown to the file format");
        flags |= NameBuiltIn;
        text = std::string(1, static_cast<char>(found - std::begin(BuiltInNames)));
    }
    const std::u16string characters = text::toUtf16(text);
    if (characters.empty() || characters.size() > 255)
        throw FormatError("the name \"" + name.name + "\" is empty or longer than 255 characters");
    if (name.tokens.size() > 0xFFFF)
        throw FormatError("the formula of the name \"" + name.name + "\" is too long for the file format");
    std::vector<std::uint8_t> bytes;
    io::ByteWriter out(bytes);
    out.u16(flags);
    out.u8(0);
    out.u8(static_cast<std::uint8_t>(characters.size()));
    out.u16(static_cast<std::uint16_t>(name.tokens.size()));
    out.u16(0);
    out.u16(static_cast<std::uint16_t>(name.scope + 1));
    out.zeros(4);
    // The name's characters without their count, which came before.
    std::vector<std::uint8_t> string;
    appendUnicodeString(string, text, 2);
    out.bytes(std::span(string).subspan(2));
    out.bytes(name.tokens);
    out.bytes(name.extra);
    return record(NameRecord, std::move(bytes), "a defined name");
}

// The FORMULA of a cell of a group (an array formula or a data table), which names the group's first
// cell with the token `token`; and the start of the group's own record, its range, for the first.
std::vector<model::Record> groupCell(const model::CellRange& range, const model::CellAddress& at, int xf,
                                     const CellValue& cached, std::uint8_t token, std::vector<std::uint8_t>& group)
{
    if (!range.contains(at.row, at.column) || range.firstRow < 0 || range.firstColumn < 0 || range.lastRow > 0xFFFF
        || range.lastColumn > 0xFF)
        throw FormatError("a cell lies outside its array formula's or data table's range, or the range outside the sheet");
    std::vector<std::uint8_t> first;
    io::ByteWriter exp(first);
    exp.u8(token);
    exp.u16(static_cast<std::uint16_t>(range.firstRow));
    exp.u16(static_cast<std::uint16_t>(range.firstColumn));
    std::vector<model::Record> records;
    records.push_back(formulaRecord(at, xf, first, {}, cached));
    group.clear();
    if (at.row == range.firstRow && at.column == range.firstColumn) {
        io::ByteWriter out(group);
        out.u16(static_cast<std::uint16_t>(range.firstRow));
        out.u16(static_cast<std::uint16_t>(range.lastRow));
        out.u8(static_cast<std::uint8_t>(range.firstColumn));
        out.u8(static_cast<std::uint8_t>(range.lastColumn));
    }
    return records;
}

} // namespace

std::vector<model::Record> formulaRecords(const model::CellAddress& at, int xf, const EncodedFormula& formula,
                                          const CellValue& cached)
{
    std::vector<model::Record> records;
    records.push_back(formulaRecord(at, xf, formula.tokens, formula.extra, cached));
    appendResult(records, cached);
    return records;
}

std::vector<model::Record> arrayFormulaRecords(const model::CellRange& range, const model::CellAddress& at, int xf,
                                               const EncodedFormula& formula, const CellValue& cached)
{
    std::vector<std::uint8_t> bytes;
    std::vector<model::Record> records = groupCell(range, at, xf, cached, PtgExp, bytes);
    if (!bytes.empty()) {
        io::ByteWriter out(bytes);
        out.u16(0);
        out.u32(0);
        out.u16(static_cast<std::uint16_t>(formula.tokens.size()));
        out.bytes(formula.tokens);
        out.bytes(formula.extra);
        records.push_back(record(biff::rt::Array, std::move(bytes), "an array formula"));
    }
    appendResult(records, cached);
    return records;
}

std::vector<model::Record> dataTableRecords(const DataTable& table, const model::CellAddress& at, int xf,
                                            const CellValue& cached)
{
    std::vector<std::uint8_t> bytes;
    std::vector<model::Record> records = groupCell(table.range, at, xf, cached, PtgTbl, bytes);
    if (!bytes.empty()) {
        io::ByteWriter out(bytes);
        out.u16(static_cast<std::uint16_t>((table.rowInput ? RowInput : 0) | (table.twoInputs ? TwoInputs : 0)
                                           | (table.firstDeleted ? FirstDeleted : 0) | (table.secondDeleted ? SecondDeleted : 0)));
        for (const model::CellAddress& input : {table.first, table.second}) {
            out.u16(static_cast<std::uint16_t>(input.row));
            out.u16(static_cast<std::uint16_t>(input.column));
        }
        records.push_back(record(biff::rt::Table, std::move(bytes), "a data table"));
    }
    appendResult(records, cached);
    return records;
}

void parseNameFormula(FormulaContext& context, int index, std::string_view text, Grammar grammar)
{
    if (index < 0 || static_cast<std::size_t>(index) >= context.links.names.size())
        throw ArgumentError("no defined name has the index " + std::to_string(index));
    const int sheet = context.sheet;
    context.sheet = context.links.names[static_cast<std::size_t>(index)].scope;
    try {
        EncodedFormula encoded = encodeTokens(parseFormula(text, grammar, context));
        DefinedName& name = context.links.names[static_cast<std::size_t>(index)];
        // The record holds its fields, the name's characters and the formula.
        if (15 + 2 * name.name.size() + encoded.tokens.size() + encoded.extra.size() > MostRecordBytes)
            throw FormatError("the formula of the name \"" + name.name + "\" is too long for the file format");
        name.tokens = std::move(encoded.tokens);
        name.extra = std::move(encoded.extra);
    } catch (...) {
        context.sheet = sheet;
        throw;
    }
    context.sheet = sheet;
}

std::vector<model::Record> linkRecords(const WorkbookLinks& links)
{
    std::vector<model::Record> records;
    if (links.books.empty() && links.externSheets.empty() && links.names.empty())
        return records;
    const bool self = std::any_of(links.books.begin(), links.books.end(),
                                  [](const LinkedBook& book) { return book.kind == LinkedBook::Kind::Self; });
    // The workbook's own link goes first; the entries of the table count the books after it.
    const int shift = self ? 0 : 1;
    if (!self)
        records.push_back(bookRecord(LinkedBook{}, links.sheetNames.size()));
    for (const LinkedBook& book : links.books) {
        records.push_back(bookRecord(book, links.sheetNames.size()));
        for (const std::string& name : book.names)
            records.push_back(externalNameRecord(name));
    }
    if (links.externSheets.size() > (MostRecordBytes - 2) / 6)
        throw FormatError("the formulas refer to more sheets and workbooks than the file format's table holds");
    std::vector<std::uint8_t> table;
    io::ByteWriter out(table);
    out.u16(static_cast<std::uint16_t>(links.externSheets.size()));
    for (const SheetSpan& span : links.externSheets) {
        out.u16(static_cast<std::uint16_t>(span.book + shift));
        out.u16(static_cast<std::uint16_t>(span.first));
        out.u16(static_cast<std::uint16_t>(span.last));
    }
    records.push_back({biff::rt::ExternSheet, std::move(table), false});
    for (const DefinedName& name : links.names)
        records.push_back(nameRecord(name));
    return records;
}

} // namespace sheet::formula

#include "sheet/formula/WorkbookLinks.h"

#include "sheet/biff/RecordTypes.h"
#include "sheet/biff/UnicodeText.h"
#include "sheet/io/ByteReader.h"
#include "sheet/text/Codepage.h"
#include "sheet/text/Utf16.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace sheet::formula {
namespace {

constexpr std::uint16_t NameRecord = 0x0018;
constexpr std::uint16_t ExternNameRecord = 0x0023;
constexpr std::uint16_t SelfBook = 0x0401;
constexpr std::uint16_t AddInBook = 0x3A01;

// The built-in names by their code (Lbl.Name of a built-in name).
constexpr const char* BuiltInNames[] = {
    "Consolidate_Area", "Auto_Open", "Auto_Close", "Extract", "Database", "Criteria", "Print_Area",
    "Print_Titles", "Recorder", "Data_Form", "Auto_Activate", "Auto_Deactivate", "Sheet_Title", "_FilterDatabase",
};

// A record's bytes with those of the CONTINUE records after it.
std::vector<std::uint8_t> joined(const std::vector<model::Record>& records, std::size_t& at)
{
    std::vector<std::uint8_t> bytes = records[at].bytes;
    while (at + 1 < records.size() && records[at + 1].type == biff::rt::Continue) {
        ++at;
        bytes.insert(bytes.end(), records[at].bytes.begin(), records[at].bytes.end());
    }
    return bytes;
}

// `count` characters of a string whose count came before: BIFF8's flags byte and characters, or
// Excel 95's bytes in its code page.
std::string characters(io::ByteReader& reader, std::size_t count, const biff::RecordText& text)
{
    if (!text.unicode)
        return text::toUtf8(text::decodeCodepage(reader.bytes(count), text.codepage));
    const bool wide = reader.u8() & 0x01;
    return text::toUtf8(biff::readCharacters(reader, count, wide));
}

DefinedName readName(std::span<const std::uint8_t> bytes, const biff::RecordText& text)
{
    io::ByteReader reader(bytes, "a NAME record");
    DefinedName name;
    const std::uint16_t flags = reader.u16();
    reader.u8(); // keyboard shortcut
    const std::size_t length = reader.u8();
    const std::size_t tokens = reader.u16();
    reader.u16();
    name.scope = reader.u16() - 1;
    reader.skip(4);
    name.hidden = flags & 0x0001;
    name.function = flags & 0x0002;
    name.procedure = flags & 0x0008;
    name.builtIn = flags & 0x0020;
    name.name = characters(reader, length, text);
    if (name.builtIn && !name.name.empty()) {
        const auto code = static_cast<unsigned char>(name.name[0]);
        name.name = code < std::size(BuiltInNames) ? BuiltInNames[code] : "Built_In_" + std::to_string(code);
    }
    const auto formula = reader.bytes(tokens);
    name.tokens.assign(formula.begin(), formula.end());
    const auto extra = reader.bytes(reader.remaining());
    name.extra.assign(extra.begin(), extra.end());
    return name;
}

// A path as a book's link keeps it (VirtualPath): its folders and volume in control characters.
std::string bookTarget(const std::u16string& path)
{
    if (path.empty() || path[0] != u'\x01')
        return text::toUtf8(path);
    std::u16string out;
    for (std::size_t k = 1; k < path.size(); ++k) {
        const char16_t c = path[k];
        switch (c) {
        case 0x01:
            if (k + 1 < path.size()) {
                const char16_t volume = path[++k];
                out += volume == u'@' ? std::u16string(u"file://") : u"file:///" + std::u16string(1, volume) + u":/";
            }
            break;
        case 0x02: case 0x03: out += u'/'; break;
        case 0x04: out += u"../"; break;
        case 0x05:
            if (k + 1 < path.size())
                ++k; // the length of the volume's address, which follows
            break;
        case 0x06: case 0x07: case 0x08: break;
        default: out += c == u'\\' ? u'/' : c;
        }
    }
    return text::toUtf8(out);
}

LinkedBook readBook(std::span<const std::uint8_t> bytes)
{
    io::ByteReader reader(bytes, "a SUPBOOK record");
    LinkedBook book;
    const std::size_t sheets = reader.u16();
    const std::uint16_t length = reader.u16();
    if (length == SelfBook)
        return book;
    if (length == AddInBook) {
        book.kind = LinkedBook::Kind::AddIns;
        return book;
    }
    const bool wide = reader.u8() & 0x01;
    const std::u16string path = biff::readCharacters(reader, length, wide);
    // A DDE or OLE link names its program and topic apart by character 3, which in an encoded path
    // (starting with character 1) parts folders.
    const bool encoded = !path.empty() && path[0] == u'\x01';
    const bool link = !encoded && std::find(path.begin(), path.end(), u'\x03') != path.end();
    book.kind = (sheets == 0 && link) || path == u" " ? LinkedBook::Kind::Other : LinkedBook::Kind::External;
    book.target = bookTarget(path);
    for (std::size_t k = 0; k < sheets && !reader.atEnd(); ++k)
        book.sheets.push_back(text::toUtf8(biff::readUnicodeString(reader, 2)));
    return book;
}

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// Whether a name reads as a cell of a sheet of 16,384 columns and 1,048,576 rows (XFD1048576), or as
// a cell, row or column in the R1C1 form (R1C1, R2, C).
bool readsAsCell(const std::string& name)
{
    std::size_t letters = 0;
    long column = 0;
    while (letters < name.size() && isAsciiLetter(name[letters]) && letters < 4)
        column = column * 26 + (std::toupper(static_cast<unsigned char>(name[letters++])) - 'A' + 1);
    bool digits = letters < name.size() && name.size() - letters <= 7;
    long row = 0;
    for (std::size_t k = letters; digits && k < name.size(); ++k) {
        digits = isAsciiDigit(name[k]);
        row = row * 10 + (name[k] - '0');
    }
    if (letters >= 1 && letters <= 3 && digits && column <= 16384 && row >= 1 && row <= 1048576)
        return true;
    std::size_t at = 0;
    const auto part = [&](char letter) {
        if (at < name.size() && std::toupper(static_cast<unsigned char>(name[at])) == letter) {
            ++at;
            while (at < name.size() && isAsciiDigit(name[at]))
                ++at;
            return true;
        }
        return false;
    };
    const bool row1 = part('R');
    const bool column1 = part('C');
    return (row1 || column1) && at == name.size();
}

std::string folded(const std::string& name)
{
    std::string fold = name;
    for (char& c : fold)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return fold;
}

} // namespace

void mendNames(std::vector<DefinedName>& names)
{
    const auto mended = [](const std::string& name) {
        std::string text;
        for (char c : name) {
            const auto byte = static_cast<unsigned char>(c);
            const bool kept = byte >= 0x80 || isAsciiLetter(c) || isAsciiDigit(c) || c == '_' || c == '.' || c == '\\' || c == '?';
            text += kept ? c : '_';
        }
        const auto first = text.empty() ? 0 : static_cast<unsigned char>(text[0]);
        if (text.empty() || !(first >= 0x80 || isAsciiLetter(text[0]) || text[0] == '_' || text[0] == '\\') || readsAsCell(text))
            text.insert(text.begin(), '_');
        return text;
    };
    // The names that can stay as they are keep them, the first of two alike among them too; the others
    // take what is left.
    std::set<std::pair<int, std::string>> taken;
    std::vector<bool> kept(names.size());
    for (std::size_t k = 0; k < names.size(); ++k) {
        const DefinedName& name = names[k];
        kept[k] = name.builtIn || (mended(name.name) == name.name && taken.emplace(name.scope, folded(name.name)).second);
    }
    for (std::size_t k = 0; k < names.size(); ++k) {
        DefinedName& name = names[k];
        if (kept[k])
            continue;
        const std::string base = mended(name.name);
        std::string text = base;
        for (int number = 2; taken.count({name.scope, folded(text)}); ++number)
            text = base + "_" + std::to_string(number);
        taken.emplace(name.scope, folded(text));
        name.written = text;
    }
}

int WorkbookLinks::externalNumber(int book) const
{
    if (book < 0 || static_cast<std::size_t>(book) >= books.size() || books[book].kind != LinkedBook::Kind::External)
        return 0;
    return 1 + static_cast<int>(std::count_if(books.begin(), books.begin() + book, [](const LinkedBook& other) {
        return other.kind == LinkedBook::Kind::External;
    }));
}

std::vector<std::string> modelSheetNames(const model::Workbook& workbook)
{
    std::vector<std::string> names;
    names.reserve(workbook.sheets.size());
    for (const model::Sheet& sheet : workbook.sheets)
        names.push_back(sheet.name);
    return names;
}

WorkbookLinks readWorkbookLinks(const model::Workbook& workbook, std::vector<std::string> sheetNames)
{
    WorkbookLinks links;
    links.sheetNames = std::move(sheetNames);
    links.text.unicode = workbook.biff == 8;
    const auto& records = workbook.globalRecords;
    for (std::size_t at = 0; at < records.size(); ++at) {
        if (records[at].type == biff::rt::CodePage && records[at].bytes.size() >= 2)
            links.text.codepage = records[at].bytes[0] | (records[at].bytes[1] << 8);
    }
    if (links.text.unicode)
        links.text.codepage = 1200;
    for (std::size_t at = 0; at < records.size(); ++at) {
        const std::uint16_t type = records[at].type;
        if (type == NameRecord) {
            links.names.push_back(readName(joined(records, at), links.text));
        } else if (type == biff::rt::SupBook && links.text.unicode) {
            links.books.push_back(readBook(joined(records, at)));
        } else if (type == ExternNameRecord && links.text.unicode && !links.books.empty()) {
            const std::vector<std::uint8_t> bytes = joined(records, at);
            io::ByteReader reader(bytes, "an EXTERNNAME record");
            reader.skip(6);
            links.books.back().names.push_back(text::toUtf8(links.text.read(reader, 1)));
        } else if (type == biff::rt::ExternSheet && links.text.unicode) {
            const std::vector<std::uint8_t> bytes = joined(records, at);
            io::ByteReader reader(bytes, "the EXTERNSHEET record");
            const std::size_t count = reader.u16();
            for (std::size_t k = 0; k < count; ++k) {
                SheetSpan span;
                span.book = reader.u16();
                span.first = static_cast<std::int16_t>(reader.u16());
                span.last = static_cast<std::int16_t>(reader.u16());
                links.externSheets.push_back(span);
            }
        }
    }
    // A name of a sheet that is not there belongs to the workbook.
    for (DefinedName& name : links.names) {
        if (name.scope >= static_cast<int>(links.sheetNames.size()))
            name.scope = -1;
    }
    mendNames(links.names);
    return links;
}

} // namespace sheet::formula

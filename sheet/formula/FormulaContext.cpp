#include "sheet/formula/FormulaContext.h"

#include "sheet/formula/FormulaText.h"

#include <algorithm>
#include <cctype>

namespace sheet::formula {
namespace {

// The built-in names, by their code in the file.
constexpr std::string_view BuiltInNames[] = {
    "Consolidate_Area", "Auto_Open", "Auto_Close", "Extract", "Database", "Criteria", "Print_Area",
    "Print_Titles", "Recorder", "Data_Form", "Auto_Activate", "Auto_Deactivate", "Sheet_Title", "_FilterDatabase",
};

// Whether a name is written `text` in either grammar.
bool writtenAs(const DefinedName& name, std::string_view text)
{
    return !name.function && (sameNameIgnoringCase(writtenName(name, Grammar::A1), text)
                              || sameNameIgnoringCase(writtenName(name, Grammar::OpenFormula), text));
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && sameNameIgnoringCase(text.substr(0, prefix.size()), prefix);
}

} // namespace

bool sameNameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
    });
}

FormulaContext::FormulaContext(std::vector<std::string> sheetNames)
{
    links.sheetNames = std::move(sheetNames);
}

int FormulaContext::addExternalBook(std::string target, std::vector<std::string> sheets)
{
    LinkedBook book;
    book.kind = LinkedBook::Kind::External;
    book.target = std::move(target);
    book.sheets = std::move(sheets);
    links.books.push_back(std::move(book));
    return static_cast<int>(links.books.size()) - 1;
}

int FormulaContext::addName(std::string_view name, int scope, bool hidden)
{
    DefinedName defined;
    for (std::string_view prefix : {std::string_view("_xlnm."), std::string_view("Excel_BuiltIn_")}) {
        if (!startsWithIgnoringCase(name, prefix))
            continue;
        const std::string_view rest = name.substr(prefix.size());
        for (std::string_view builtIn : BuiltInNames) {
            if (sameNameIgnoringCase(builtIn, rest)) {
                defined.builtIn = true;
                name = builtIn;
            }
        }
    }
    for (std::size_t k = 0; k < links.names.size(); ++k) {
        const DefinedName& known = links.names[k];
        if (known.scope == scope && known.builtIn == defined.builtIn && sameNameIgnoringCase(known.name, name))
            return static_cast<int>(k);
    }
    defined.name = std::string(name);
    defined.scope = scope;
    defined.hidden = hidden;
    links.names.push_back(std::move(defined));
    return static_cast<int>(links.names.size()) - 1;
}

int FormulaContext::scopedNameIndex(std::string_view name, int scope)
{
    for (int wanted : {scope, -1}) {
        for (std::size_t k = 0; k < links.names.size(); ++k) {
            const DefinedName& known = links.names[k];
            if (known.scope == wanted && writtenAs(known, name))
                return static_cast<int>(k);
        }
    }
    return addName(name, scope);
}

int FormulaContext::nameIndex(std::string_view name, int from, bool anySheet)
{
    const auto find = [&](auto&& fits) {
        for (std::size_t k = 0; k < links.names.size(); ++k) {
            const DefinedName& known = links.names[k];
            if (fits(known) && writtenAs(known, name))
                return static_cast<int>(k);
        }
        return -1;
    };
    int found = from >= 0 ? find([&](const DefinedName& known) { return known.scope == from; }) : -1;
    if (found < 0)
        found = find([](const DefinedName& known) { return known.scope == -1; });
    if (found < 0 && anySheet)
        found = find([](const DefinedName&) { return true; });
    return found >= 0 ? found : addName(name, -1);
}

int FormulaContext::newerFunction(std::string_view name)
{
    const std::string full = "_xlfn." + std::string(name);
    for (std::size_t k = 0; k < links.names.size(); ++k) {
        if (links.names[k].function && sameNameIgnoringCase(links.names[k].name, full))
            return static_cast<int>(k);
    }
    DefinedName defined;
    defined.name = full;
    defined.function = true;
    defined.hidden = true;
    links.names.push_back(std::move(defined));
    return static_cast<int>(links.names.size()) - 1;
}

int FormulaContext::externSheet(int book, int first, int last)
{
    for (std::size_t k = 0; k < links.externSheets.size(); ++k) {
        const SheetSpan& span = links.externSheets[k];
        if (span.book == book && span.first == first && span.last == last)
            return static_cast<int>(k);
    }
    links.externSheets.push_back({book, first, last});
    return static_cast<int>(links.externSheets.size()) - 1;
}

int FormulaContext::selfBook()
{
    for (std::size_t k = 0; k < links.books.size(); ++k) {
        if (links.books[k].kind == LinkedBook::Kind::Self)
            return static_cast<int>(k);
    }
    // The workbook's own link goes first, as Excel writes it.
    links.books.insert(links.books.begin(), LinkedBook{});
    for (SheetSpan& span : links.externSheets)
        ++span.book;
    return 0;
}

int FormulaContext::addInBook()
{
    for (std::size_t k = 0; k < links.books.size(); ++k) {
        if (links.books[k].kind == LinkedBook::Kind::AddIns)
            return static_cast<int>(k);
    }
    LinkedBook book;
    book.kind = LinkedBook::Kind::AddIns;
    links.books.push_back(std::move(book));
    return static_cast<int>(links.books.size()) - 1;
}

int FormulaContext::externalBookByTarget(std::string_view target)
{
    for (std::size_t k = 0; k < links.books.size(); ++k) {
        if (links.books[k].kind == LinkedBook::Kind::External && links.books[k].target == target)
            return static_cast<int>(k);
    }
    return addExternalBook(std::string(target), {});
}

int FormulaContext::externalBookByNumber(int number) const
{
    for (std::size_t k = 0; k < links.books.size(); ++k) {
        if (links.books[k].kind == LinkedBook::Kind::External && --number == 0)
            return static_cast<int>(k);
    }
    return -1;
}

int FormulaContext::sheetIndex(std::string_view name) const
{
    for (std::size_t k = 0; k < links.sheetNames.size(); ++k) {
        if (sameNameIgnoringCase(links.sheetNames[k], name))
            return static_cast<int>(k);
    }
    return -1;
}

int FormulaContext::externalSheetIndex(int book, std::string_view name)
{
    std::vector<std::string>& sheets = links.books[static_cast<std::size_t>(book)].sheets;
    for (std::size_t k = 0; k < sheets.size(); ++k) {
        if (sameNameIgnoringCase(sheets[k], name))
            return static_cast<int>(k);
    }
    sheets.emplace_back(name);
    return static_cast<int>(sheets.size()) - 1;
}

int FormulaContext::externalName(int book, std::string_view name)
{
    std::vector<std::string>& names = links.books[static_cast<std::size_t>(book)].names;
    for (std::size_t k = 0; k < names.size(); ++k) {
        if (sameNameIgnoringCase(names[k], name))
            return static_cast<int>(k);
    }
    names.emplace_back(name);
    return static_cast<int>(names.size()) - 1;
}

} // namespace sheet::formula

#include "sheet/formula/FormulaText.h"

#include "sheet/Errors.h"
#include "sheet/formula/Functions.h"
#include "sheet/model/A1Notation.h"

#include <array>
#include <cctype>
#include <charconv>
#include <optional>

namespace sheet::formula {
namespace {

using Kind = Token::Kind;

// How tightly an operator binds, loosest first; operands, calls and parentheses bind tightest.
enum Precedence : int {
    Comparison = 1, Concatenation, Additive, Multiplicative, Exponent, PercentSign, Prefix, UnionOf, IntersectionOf,
    RangeOf, Primary,
};

constexpr int LastRow = 65535;
constexpr int LastColumn = 255;
constexpr const char* XlfnPrefix = "_xlfn.";

struct Operator {
    const char* a1;
    const char* openFormula;
    int precedence;
};

// The binary operators, in the order of Token::Kind.
constexpr std::array<Operator, 15> Binary = {{
    {"+", "+", Additive}, {"-", "-", Additive}, {"*", "*", Multiplicative}, {"/", "/", Multiplicative},
    {"^", "^", Exponent}, {"&", "&", Concatenation}, {"<", "<", Comparison}, {"<=", "<=", Comparison},
    {"=", "=", Comparison}, {">=", ">=", Comparison}, {">", ">", Comparison}, {"<>", "<>", Comparison},
    {" ", "!", IntersectionOf}, {",", "~", UnionOf}, {":", ":", RangeOf},
}};

std::string numberText(double number)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, number).ptr;
    std::string out(text, end);
    for (char& c : out)
        c = c == 'e' ? 'E' : c;
    return out;
}

std::string quoted(const std::string& text, char quote)
{
    std::string out(1, quote);
    for (char c : text) {
        out += c;
        if (c == quote)
            out += quote;
    }
    return out + quote;
}

bool isLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)); }
bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)); }

// Whether a name could be read as a cell (A1, XFD1048576) or a row or column in R1C1 form (R, C4, R2C3).
bool looksLikeCell(const std::string& name)
{
    std::size_t letters = 0;
    while (letters < name.size() && isLetter(name[letters]))
        ++letters;
    bool digitsOnly = letters < name.size();
    for (std::size_t k = letters; k < name.size(); ++k)
        digitsOnly = digitsOnly && isDigit(name[k]);
    if (letters >= 1 && letters <= 3 && digitsOnly)
        return true;
    std::size_t at = 0;
    const auto part = [&](char letter) {
        if (at < name.size() && std::toupper(static_cast<unsigned char>(name[at])) == letter) {
            ++at;
            while (at < name.size() && isDigit(name[at]))
                ++at;
            return true;
        }
        return false;
    };
    const bool row = part('R');
    const bool column = part('C');
    return (row || column) && at == name.size();
}

// A sheet name that the A1 grammar takes without quotes: a word that cannot be read as a cell.
bool isPlain(const std::string& name)
{
    if (name.empty() || !(isLetter(name[0]) || name[0] == '_'))
        return false;
    for (char c : name) {
        if (!(isLetter(c) || isDigit(c) || c == '_' || c == '.'))
            return false;
    }
    return !looksLikeCell(name);
}

std::string columnLetters(int column)
{
    std::string letters;
    for (int rest = column + 1; rest > 0; rest = (rest - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (rest - 1) % 26));
    return letters;
}

std::string cellText(const CellPoint& point)
{
    return (point.columnRelative ? "" : "$") + columnLetters(point.column) + (point.rowRelative ? "" : "$")
        + std::to_string(point.row + 1);
}

// The sheets a reference names, as the grammar writes them before the cell: "Sheet1", "Sheet1:Sheet3",
// "[1]Sheet1" for another workbook's sheet; or OpenFormula's "$Sheet1" and "'file:///book.xls'#$Sheet1".
struct SheetNames {
    std::string first;
    std::string last; // empty for a single sheet
};

class Writer {
public:
    Writer(Grammar grammar, const WorkbookLinks& links, int sheet) : links_(links), sheet_(sheet), of_(grammar == Grammar::OpenFormula) {}

    std::string write(std::span<const Token> tokens)
    {
        for (const Token& token : tokens)
            take(token);
        if (stack_.size() != 1)
            damaged();
        return std::move(stack_.back().text);
    }

private:
    struct Entry {
        std::string text;
        int precedence = Primary;
    };

    void take(const Token& token)
    {
        if (token.kind == Kind::Space) {
            const std::string spaces(static_cast<std::size_t>(token.spaces), token.lineBreaks ? '\n' : ' ');
            (token.beforeClose ? beforeClose_ : before_) += spaces;
            return;
        }
        const std::string before = std::exchange(before_, {});
        const std::string beforeClose = std::exchange(beforeClose_, {});
        const auto kind = static_cast<std::size_t>(token.kind);
        if (kind <= static_cast<std::size_t>(Kind::Range)) {
            const Operator& op = Binary[kind];
            Entry right = pop();
            Entry left = pop();
            // Operators of one level apply from the left; a power of a power gets parentheses all
            // the same, as some readers take 2^3^2 from the right.
            const int leftLevel = op.precedence == Exponent ? op.precedence + 1 : op.precedence;
            push(wrap(left, leftLevel) + before + (of_ ? op.openFormula : op.a1) + wrap(right, op.precedence + 1),
                 op.precedence);
            return;
        }
        switch (token.kind) {
        case Kind::Plus: case Kind::Minus: {
            Entry operand = pop();
            push(before + (token.kind == Kind::Plus ? "+" : "-") + wrap(operand, Prefix), Prefix);
            break;
        }
        case Kind::Percent: {
            Entry operand = pop();
            push(wrap(operand, PercentSign) + before + "%", PercentSign);
            break;
        }
        case Kind::Parentheses: {
            Entry inner = pop();
            push(before + "(" + inner.text + beforeClose + ")", Primary);
            break;
        }
        case Kind::Function: call(token, before, beforeClose); break;
        default: push(before + operand(token), Primary); break;
        }
    }

    std::string operand(const Token& token) const
    {
        switch (token.kind) {
        case Kind::Missing: return {};
        case Kind::Number: return numberText(token.number);
        case Kind::Text: return quoted(token.text, '"');
        case Kind::Logical: return logical(token.logical);
        case Kind::Error: return model::errorText(token.error);
        case Kind::Array: return array(token);
        case Kind::Reference: case Kind::Area: return reference(token);
        case Kind::DeletedReference: return "#REF!";
        case Kind::Name: return name(token.index);
        case Kind::ExternalName: return externalName(token);
        default: break;
        }
        damaged();
    }

    std::string logical(bool value) const
    {
        if (of_)
            return value ? "TRUE()" : "FALSE()";
        return value ? "TRUE" : "FALSE";
    }

    std::string array(const Token& token) const
    {
        if (token.rows < 1 || token.columns < 1 || token.values.size() != static_cast<std::size_t>(token.rows) * static_cast<std::size_t>(token.columns))
            damaged();
        std::string text = "{";
        for (int row = 0; row < token.rows; ++row) {
            if (row > 0)
                text += of_ ? "|" : ";";
            for (int column = 0; column < token.columns; ++column) {
                if (column > 0)
                    text += of_ ? ";" : ",";
                const CellValue& value = token.values[static_cast<std::size_t>(row * token.columns + column)];
                if (const double* number = std::get_if<double>(&value))
                    text += numberText(*number);
                else if (const std::string* string = std::get_if<std::string>(&value))
                    text += quoted(*string, '"');
                else if (const bool* logical = std::get_if<bool>(&value))
                    text += *logical ? "TRUE" : "FALSE";
                else if (const ErrorCode* error = std::get_if<ErrorCode>(&value))
                    text += model::errorText(*error);
                else
                    text += "0";
            }
        }
        return text + "}";
    }

    // The sheets of a 3-D reference; nothing when a sheet no longer exists.
    std::optional<SheetNames> sheets(const Token& token) const
    {
        const auto span = [](const std::vector<std::string>& names, int first, int last) -> std::optional<SheetNames> {
            if (first < 0 || last < first || last >= static_cast<int>(names.size()))
                return std::nullopt;
            SheetNames found;
            found.first = names[static_cast<std::size_t>(first)];
            if (last != first)
                found.last = names[static_cast<std::size_t>(last)];
            return found;
        };
        if (token.sheet < 0)
            return span(links_.sheetNames, token.firstSheet, token.lastSheet);
        const SheetSpan& entry = externSheet(token.sheet);
        const LinkedBook& linked = book(entry.book);
        if (linked.kind == LinkedBook::Kind::Self)
            return span(links_.sheetNames, entry.first, entry.last);
        if (linked.kind != LinkedBook::Kind::External)
            throw FormatError("a formula refers to a DDE or OLE link, which cannot be written");
        return span(linked.sheets, entry.first, entry.last);
    }

    const SheetSpan& externSheet(int index) const
    {
        if (index < 0 || static_cast<std::size_t>(index) >= links_.externSheets.size())
            throw FormatError("damaged workbook: a formula refers to a missing entry of the external sheet table");
        return links_.externSheets[static_cast<std::size_t>(index)];
    }

    const LinkedBook& book(int index) const
    {
        if (index < 0 || static_cast<std::size_t>(index) >= links_.books.size())
            throw FormatError("damaged workbook: a formula refers to a missing linked workbook");
        return links_.books[static_cast<std::size_t>(index)];
    }

    // The other workbook of a 3-D reference, nullptr for the workbook itself.
    const LinkedBook* externalBook(const Token& token, int& number) const
    {
        if (token.sheet < 0)
            return nullptr;
        const SheetSpan& span = externSheet(token.sheet);
        const LinkedBook& linked = book(span.book);
        number = links_.externalNumber(span.book);
        return linked.kind == LinkedBook::Kind::External ? &linked : nullptr;
    }

    std::string reference(const Token& token) const
    {
        std::optional<SheetNames> names;
        if (token.hasSheet) {
            names = sheets(token);
            if (!names)
                return "#REF!";
        }
        int number = 0;
        const LinkedBook* other = token.hasSheet ? externalBook(token, number) : nullptr;
        if (of_)
            return openFormulaReference(token, names ? &*names : nullptr, other);
        std::string body = token.kind == Kind::Reference ? cellText(token.first) : areaText(token.first, token.last);
        if (!names)
            return body;
        std::string prefix = names->last.empty() ? names->first : names->first + ":" + names->last;
        const bool plain = isPlain(names->first) && (names->last.empty() || isPlain(names->last));
        if (other)
            prefix = "[" + std::to_string(number) + "]" + prefix;
        return (plain ? prefix : quoted(prefix, '\'')) + "!" + body;
    }

    static std::string areaText(const CellPoint& first, const CellPoint& last)
    {
        // Whole columns and whole rows as Excel writes them, which in a larger sheet stay whole.
        const bool allRows = first.row == 0 && last.row == LastRow;
        const bool allColumns = first.column == 0 && last.column == LastColumn;
        if (allRows && !allColumns) {
            const auto column = [](const CellPoint& point) { return (point.columnRelative ? "" : "$") + columnLetters(point.column); };
            return column(first) + ":" + column(last);
        }
        if (allColumns && !allRows) {
            const auto row = [](const CellPoint& point) { return (point.rowRelative ? "" : "$") + std::to_string(point.row + 1); };
            return row(first) + ":" + row(last);
        }
        return cellText(first) + ":" + cellText(last);
    }

    std::string openFormulaSheet(const std::string& name, const LinkedBook* other) const
    {
        const std::string sheet = "$" + quotedSheetName(name, Grammar::OpenFormula);
        return other ? quoted(other->target, '\'') + "#" + sheet : sheet;
    }

    std::string openFormulaReference(const Token& token, const SheetNames* names, const LinkedBook* other) const
    {
        const std::string first = names ? openFormulaSheet(names->first, other) : std::string();
        const bool span = names && !names->last.empty();
        if (token.kind == Kind::Reference && !span)
            return "[" + first + "." + cellText(token.first) + "]";
        const std::string last = span ? "$" + quotedSheetName(names->last, Grammar::OpenFormula) : std::string();
        return "[" + first + "." + cellText(token.first) + ":" + last + "." + cellText(token.kind == Kind::Reference ? token.first : token.last) + "]";
    }

    std::string name(int index) const
    {
        if (index < 0 || static_cast<std::size_t>(index) >= links_.names.size())
            throw FormatError("damaged workbook: a formula names a defined name that does not exist");
        const DefinedName& defined = links_.names[static_cast<std::size_t>(index)];
        std::string text = writtenName(defined, of_ ? Grammar::OpenFormula : Grammar::A1);
        if (!of_ && defined.scope >= 0 && defined.scope != sheet_ && static_cast<std::size_t>(defined.scope) < links_.sheetNames.size())
            text = quotedSheetName(links_.sheetNames[static_cast<std::size_t>(defined.scope)], Grammar::A1) + "!" + text;
        return text;
    }

    std::string externalName(const Token& token) const
    {
        const SheetSpan& span = externSheet(token.sheet);
        const LinkedBook& linked = book(span.book);
        // A name of the workbook itself is one of its defined names.
        if (linked.kind == LinkedBook::Kind::Self)
            return name(token.index);
        if (token.index < 0 || static_cast<std::size_t>(token.index) >= linked.names.size())
            throw FormatError("damaged workbook: a formula names a missing name of a linked workbook");
        const std::string& text = linked.names[static_cast<std::size_t>(token.index)];
        switch (linked.kind) {
        case LinkedBook::Kind::AddIns: return text;
        case LinkedBook::Kind::External:
            if (of_)
                return quoted(linked.target, '\'') + "#" + text;
            return "[" + std::to_string(links_.externalNumber(span.book)) + "]!" + text;
        case LinkedBook::Kind::Self: case LinkedBook::Kind::Other: break;
        }
        throw FormatError("a formula refers to a DDE or OLE link, which cannot be written");
    }

    void call(const Token& token, const std::string& before, const std::string& beforeClose)
    {
        const auto count = static_cast<std::size_t>(token.arguments);
        if (count > stack_.size())
            damaged();
        std::string name;
        std::size_t first = stack_.size() - count;
        if (token.function == NamedFunctionId) {
            if (count == 0)
                damaged();
            name = stack_[first++].text;
            if (of_ && name.starts_with(XlfnPrefix))
                name = newerFunctionName(std::string_view(name).substr(std::char_traits<char>::length(XlfnPrefix)));
        } else {
            const Function* function = functionById(token.function);
            if (!function)
                damaged();
            name = std::string(function->nameIn(of_));
        }
        std::string text = before + name + "(";
        for (std::size_t k = first; k < stack_.size(); ++k) {
            if (k > first)
                text += of_ ? ";" : ",";
            // A union among the arguments would read as more arguments.
            text += !of_ && stack_[k].precedence == UnionOf ? "(" + stack_[k].text + ")" : stack_[k].text;
        }
        stack_.resize(stack_.size() - count);
        push(text + beforeClose + ")", Primary);
    }

    static std::string wrap(const Entry& entry, int precedence)
    {
        return entry.precedence < precedence ? "(" + entry.text + ")" : entry.text;
    }

    Entry pop()
    {
        if (stack_.empty())
            damaged();
        Entry entry = std::move(stack_.back());
        stack_.pop_back();
        return entry;
    }

    void push(std::string text, int precedence) { stack_.push_back({std::move(text), precedence}); }

    [[noreturn]] static void damaged()
    {
        throw FormatError("damaged workbook: a formula's tokens do not make a formula");
    }

    const WorkbookLinks& links_;
    int sheet_;
    bool of_;
    std::vector<Entry> stack_;
    std::string before_;
    std::string beforeClose_;
};

} // namespace

std::string quotedSheetName(const std::string& name, Grammar grammar)
{
    if (grammar == Grammar::A1)
        return isPlain(name) ? name : quoted(name, '\'');
    bool plain = !name.empty() && (isLetter(name[0]) || name[0] == '_');
    for (char c : name)
        plain = plain && (isLetter(c) || isDigit(c) || c == '_');
    return plain ? name : quoted(name, '\'');
}

std::string writtenName(const DefinedName& name, Grammar grammar)
{
    if (name.builtIn)
        return (grammar == Grammar::A1 ? "_xlnm." : "Excel_BuiltIn_") + name.name;
    return name.written.empty() ? name.name : name.written;
}

std::string formulaText(std::span<const Token> tokens, Grammar grammar, const WorkbookLinks& links, int sheet)
{
    return Writer(grammar, links, sheet).write(tokens);
}

bool openFormulaRangeAddress(std::span<const Token> tokens, const WorkbookLinks& links, std::string& address)
{
    if (tokens.size() != 1 || (tokens[0].kind != Kind::Reference && tokens[0].kind != Kind::Area) || !tokens[0].hasSheet)
        return false;
    const Token& token = tokens[0];
    if (token.sheet >= 0) {
        if (static_cast<std::size_t>(token.sheet) >= links.externSheets.size())
            return false;
        const SheetSpan& span = links.externSheets[static_cast<std::size_t>(token.sheet)];
        if (span.book < 0 || static_cast<std::size_t>(span.book) >= links.books.size()
            || links.books[static_cast<std::size_t>(span.book)].kind != LinkedBook::Kind::Self)
            return false;
        if (span.first < 0 || span.last >= static_cast<int>(links.sheetNames.size()) || span.last < span.first)
            return false;
    }
    std::string text = formulaText(tokens, Grammar::OpenFormula, links, -1);
    address = text.substr(1, text.size() - 2);
    return true;
}

} // namespace sheet::formula

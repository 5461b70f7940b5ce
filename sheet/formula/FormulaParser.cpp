#include "sheet/formula/FormulaParser.h"

#include "sheet/Errors.h"
#include "sheet/formula/Functions.h"

#include <charconv>
#include <utility>

namespace sheet::formula {
namespace {

using Kind = Token::Kind;

// Deeper nesting than this is refused rather than read by ever deeper recursion; Excel itself takes
// no more than 64 levels of functions.
constexpr int MaxDepth = 128;
constexpr int LastRow = 65535;
constexpr int LastColumn = 255;
// The last row and column of a sheet of the package formats (and LibreOffice's last column before
// it took those), whose whole columns and rows are those of the file format's smaller sheet.
constexpr int WideLastRow = 1048575;
constexpr int WideLastColumn = 16383;
constexpr int OldWideLastColumn = 1023;
constexpr int MaxCallTokens = 255;

struct ErrorName {
    std::string_view text;
    ErrorCode code;
};

constexpr ErrorName ErrorNames[] = {
    {"#NULL!", ErrorCode::Null}, {"#DIV/0!", ErrorCode::DivisionByZero}, {"#VALUE!", ErrorCode::Value},
    {"#REF!", ErrorCode::Reference}, {"#NAME?", ErrorCode::Name}, {"#NUM!", ErrorCode::Number},
    {"#N/A", ErrorCode::NotAvailable},
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isWide(char c) { return static_cast<unsigned char>(c) >= 0x80; }
// A character of a name, a function's name or an unquoted sheet name.
bool isNameCharacter(char c) { return isLetter(c) || isDigit(c) || isWide(c) || c == '_' || c == '.' || c == '\\' || c == '?'; }
int upper(char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

// The forms a reference's end takes: a cell (B4), a column (B) or a row (4).
enum class Form { None, Cell, Column, Row };

// The sheets a reference names before its cells: an entry of the external sheet table.
struct Sheets {
    int entry = -1;
    int book = -1; // the workbook's own when -1
    int first = -1;
};

class Parser {
public:
    Parser(std::string_view text, Grammar grammar, FormulaContext& context)
        : text_(text), of_(grammar == Grammar::OpenFormula), context_(context)
    {
        const auto skip = [&](std::string_view prefix) {
            if (text_.substr(at_, prefix.size()) != prefix)
                return false;
            at_ += prefix.size();
            return true;
        };
        if (skip("msoxl:="))
            of_ = false;
        else if (skip("of:=") || skip("oooc:="))
            of_ = true;
        else
            skip("=");
    }

    std::vector<Token> parse()
    {
        const std::size_t start = at_;
        spaces();
        if (at_ >= text_.size())
            fail("the formula is empty");
        at_ = start;
        expression();
        spaces(); // spaces after the formula's end have no token to stand before
        if (at_ < text_.size())
            fail(peek(')') ? "a \")\" has no \"(\"" : "unexpected text");
        return std::move(out_);
    }

private:
    // Operators from the loosest, each level binding tighter than those before it.
    void expression() { binary(0); }

    void binary(int level)
    {
        if (level == 5) {
            percent();
            return;
        }
        binary(level + 1);
        for (;;) {
            const std::size_t before = at_;
            std::vector<Token> runs = spaces();
            const Kind kind = binaryOperator(level);
            if (kind == Kind::Missing) {
                at_ = before;
                return;
            }
            binary(level + 1);
            append(runs);
            push(kind);
        }
    }

    // The binary operator of the level at the position, taken; Missing when there is none.
    Kind binaryOperator(int level)
    {
        struct Spelling {
            int level;
            std::string_view text;
            Kind kind;
        };
        static constexpr Spelling Operators[] = {
            {0, "<=", Kind::LessEqual}, {0, ">=", Kind::GreaterEqual}, {0, "<>", Kind::NotEqual},
            {0, "<", Kind::Less}, {0, ">", Kind::Greater}, {0, "=", Kind::Equal}, {1, "&", Kind::Concatenate},
            {2, "+", Kind::Add}, {2, "-", Kind::Subtract}, {3, "*", Kind::Multiply}, {3, "/", Kind::Divide},
            {4, "^", Kind::Power},
        };
        for (const Spelling& op : Operators) {
            if (op.level == level && text_.substr(at_, op.text.size()) == op.text) {
                at_ += op.text.size();
                return op.kind;
            }
        }
        return Kind::Missing;
    }

    void percent()
    {
        prefix();
        for (;;) {
            const std::size_t before = at_;
            std::vector<Token> runs = spaces();
            if (!peek('%')) {
                at_ = before;
                return;
            }
            ++at_;
            append(runs);
            push(Kind::Percent);
        }
    }

    void prefix()
    {
        const std::size_t before = at_;
        std::vector<Token> runs = spaces();
        if (!peek('+') && !peek('-')) {
            at_ = before;
            unionOf();
            return;
        }
        const Kind kind = text_[at_++] == '+' ? Kind::Plus : Kind::Minus;
        enter();
        prefix();
        leave();
        append(runs);
        push(kind);
    }

    void unionOf()
    {
        intersection();
        for (;;) {
            const std::size_t before = at_;
            std::vector<Token> runs = spaces();
            if (!(of_ ? peek('~') : commaUnion_ && peek(','))) {
                at_ = before;
                return;
            }
            ++at_;
            intersection();
            append(runs);
            push(Kind::Union);
        }
    }

    void intersection()
    {
        range();
        for (;;) {
            const std::size_t before = at_;
            std::vector<Token> runs = spaces();
            if (of_) {
                if (!peek('!')) {
                    at_ = before;
                    return;
                }
                ++at_;
            } else {
                // A space between two operands is the operator, the spaces before it stay spaces.
                if (runs.empty() || runs.back().lineBreaks || !startsOperand()) {
                    at_ = before;
                    return;
                }
                if (--runs.back().spaces == 0)
                    runs.pop_back();
            }
            range();
            append(runs);
            push(Kind::Intersection);
        }
    }

    bool startsOperand() const
    {
        if (at_ >= text_.size())
            return false;
        const char c = text_[at_];
        return isNameCharacter(c) || c == '$' || c == '\'' || c == '[' || c == '(' || c == '#';
    }

    void range()
    {
        primary();
        while (peek(':')) {
            ++at_;
            primary();
            push(Kind::Range);
        }
    }

    void primary()
    {
        std::vector<Token> runs = spaces();
        if (at_ >= text_.size())
            fail("an operand is missing");
        enter();
        const char c = text_[at_];
        if (c == '(')
            group();
        else if (c == '"')
            push(Kind::Text).text = quoted('"');
        else if (c == '{')
            array();
        else if (c == '[' && of_)
            openFormulaReference();
        else if (c == '\'' && of_)
            openFormulaExternalName();
        else if (c == '#')
            push(Kind::Error).error = errorLiteral();
        else if (isDigit(c) || c == '.')
            numberOrRows();
        else if (of_)
            openFormulaWord();
        else
            a1Operand();
        leave();
        // Spaces before an operand stand before the token that writes its first character.
        out_.insert(out_.end() - 1, runs.begin(), runs.end());
    }

    void group()
    {
        ++at_;
        const bool union_ = std::exchange(commaUnion_, true);
        expression();
        std::vector<Token> close = spaces(true);
        expect(')');
        commaUnion_ = union_;
        append(close);
        push(Kind::Parentheses);
    }

    // The arguments of a call after its "(", and its ")": their count.
    int arguments()
    {
        const bool union_ = std::exchange(commaUnion_, false);
        const char separator = of_ ? ';' : ',';
        std::vector<Token> close;
        int count = 0;
        const std::size_t start = at_;
        close = spaces(true);
        if (peek(')')) {
            ++at_;
        } else {
            at_ = start;
            for (;;) {
                const std::size_t before = at_;
                std::vector<Token> runs = spaces();
                if (peek(separator) || peek(')')) {
                    append(runs);
                    push(Kind::Missing);
                } else {
                    at_ = before;
                    expression();
                }
                if (++count >= MaxCallTokens)
                    fail("a function is given too many arguments");
                close = spaces(true);
                if (peek(separator)) {
                    ++at_;
                    continue;
                }
                expect(')');
                break;
            }
        }
        commaUnion_ = union_;
        append(close);
        return count;
    }

    // A call of the function `name`, whose "(" is next.
    void call(const std::string& name)
    {
        ++at_;
        const Function* function = nullptr;
        std::string newer;
        if (!of_ && name.size() > 6 && sameNameIgnoringCase(std::string_view(name).substr(0, 6), "_xlfn.")) {
            newer = name.substr(6);
        } else if (!(function = functionByName(name))) {
            newer = newerFunctionOf(name);
            // Without its prefix the A1 grammar knows those that OpenFormula calls alike (IFERROR).
            if (!of_ && !sameNameIgnoringCase(newer, name))
                newer.clear();
        }
        if (!function) {
            if (!newer.empty()) {
                push(Kind::Name).index = context_.newerFunction(newer);
            } else {
                Token& token = push(Kind::ExternalName);
                const int book = context_.addInBook();
                token.index = context_.externalName(book, name);
                token.sheet = context_.externSheet(book, -2, -2);
            }
        }
        const int count = arguments();
        if (function && (count < function->minArguments || count > function->maxArguments)) {
            const std::string range = function->fixed() ? std::to_string(function->minArguments)
                : std::to_string(function->minArguments) + " to " + std::to_string(function->maxArguments);
            fail(std::string(function->name) + " takes " + range + " arguments, not " + std::to_string(count));
        }
        Token& token = push(Kind::Function);
        token.function = function ? function->id : NamedFunctionId;
        token.arguments = function ? count : count + 1;
    }

    void array()
    {
        ++at_;
        Token token;
        token.kind = Kind::Array;
        const char columnSeparator = of_ ? ';' : ',';
        const char rowSeparator = of_ ? '|' : ';';
        int columns = 0;
        for (;;) {
            spaces();
            token.values.push_back(arrayValue());
            ++columns;
            spaces();
            if (peek(columnSeparator)) {
                ++at_;
                continue;
            }
            if (token.rows > 0 ? columns != token.columns : columns > LastColumn + 1)
                fail("the rows of an array differ in length, or it has more than 256 columns");
            token.columns = columns;
            columns = 0;
            if (++token.rows > LastRow + 1)
                fail("an array has more than 65,536 rows");
            if (peek(rowSeparator)) {
                ++at_;
                continue;
            }
            expect('}');
            break;
        }
        out_.push_back(std::move(token));
    }

    CellValue arrayValue()
    {
        if (peek('"'))
            return quoted('"');
        if (peek('#'))
            return errorLiteral();
        if (peek('-') || peek('+') || peek('.') || (at_ < text_.size() && isDigit(text_[at_]))) {
            const bool minus = peek('-');
            if (minus || peek('+'))
                ++at_;
            const double value = number();
            return minus ? -value : value;
        }
        const std::string word = nameWord();
        for (const bool value : {true, false}) {
            if (sameNameIgnoringCase(word, value ? "TRUE" : "FALSE")) {
                if (of_ && text_.substr(at_, 2) == "()")
                    at_ += 2;
                return value;
            }
        }
        fail("an array holds something other than numbers, texts, logical values and errors");
    }

    void numberOrRows()
    {
        if (!of_) {
            Token token;
            if (reference(token)) {
                out_.push_back(std::move(token));
                return;
            }
        }
        push(Kind::Number).number = number();
    }

    double number()
    {
        const std::size_t start = at_;
        while (at_ < text_.size() && isDigit(text_[at_]))
            ++at_;
        if (peek('.')) {
            ++at_;
            while (at_ < text_.size() && isDigit(text_[at_]))
                ++at_;
        }
        if (at_ > start && (peek('E') || peek('e'))) {
            std::size_t end = at_ + 1;
            if (end < text_.size() && (text_[end] == '+' || text_[end] == '-'))
                ++end;
            if (end < text_.size() && isDigit(text_[end])) {
                at_ = end;
                while (at_ < text_.size() && isDigit(text_[at_]))
                    ++at_;
            }
        }
        double value = 0;
        const auto [end, error] = std::from_chars(text_.data() + start, text_.data() + at_, value);
        if (error == std::errc::result_out_of_range) {
            at_ = start;
            fail("a number is too large or too small for the file format");
        }
        if (error != std::errc() || end != text_.data() + at_ || at_ == start) {
            at_ = start;
            fail("a number cannot be read");
        }
        return value;
    }

    ErrorCode errorLiteral()
    {
        for (const ErrorName& error : ErrorNames) {
            if (text_.size() - at_ >= error.text.size() && sameNameIgnoringCase(text_.substr(at_, error.text.size()), error.text)) {
                at_ += error.text.size();
                return error.code;
            }
        }
        fail("an error value the file format does not know");
    }

    // A text between quotes, a quote within it doubled; the position after the closing quote.
    std::string quoted(char quote)
    {
        const std::size_t start = at_++;
        std::string text;
        for (;;) {
            if (at_ >= text_.size()) {
                at_ = start;
                fail("a text has no closing quote");
            }
            const char c = text_[at_++];
            if (c == quote) {
                if (!peek(quote))
                    return text;
                ++at_;
            }
            text += c;
        }
    }

    std::string nameWord()
    {
        const std::size_t start = at_;
        while (at_ < text_.size() && isNameCharacter(text_[at_]))
            ++at_;
        return std::string(text_.substr(start, at_ - start));
    }

    // --- the A1 grammar's references and names

    void a1Operand()
    {
        Sheets sheets;
        if (sheetPrefix(sheets)) {
            qualified(sheets);
            return;
        }
        Token token;
        if (reference(token)) {
            out_.push_back(std::move(token));
            return;
        }
        const std::string word = nameWord();
        if (word.empty())
            fail("unexpected character");
        if (peek('(')) {
            call(word);
            return;
        }
        if (peek('['))
            fail("the formula refers to a table's columns (" + word + "[...]), which the file format cannot hold");
        if (sameNameIgnoringCase(word, "TRUE") || sameNameIgnoringCase(word, "FALSE")) {
            push(Kind::Logical).logical = sameNameIgnoringCase(word, "TRUE");
            return;
        }
        push(Kind::Name).index = context_.nameIndex(word, context_.sheet, false);
    }

    // The sheets before "!": 'My sheet'!, Sheet1!, Sheet1:Sheet3!, [1]Sheet1!, '[1]My sheet'!, [1]!.
    bool sheetPrefix(Sheets& sheets)
    {
        const std::size_t start = at_;
        std::string first;
        std::string last;
        int number = -1;
        if (peek('\'')) {
            std::string text = quoted('\'');
            if (!peek('!'))
                fail("a quoted sheet name has no \"!\" after it");
            ++at_;
            std::size_t from = 0;
            if (!text.empty() && text[0] == '[') {
                const std::size_t close = text.find(']');
                if (close == std::string::npos)
                    fail("a workbook's number has no \"]\"");
                number = bookNumber(text.substr(1, close - 1));
                from = close + 1;
            }
            const std::size_t colon = text.find(':', from);
            first = text.substr(from, colon == std::string::npos ? std::string::npos : colon - from);
            if (colon != std::string::npos)
                last = text.substr(colon + 1);
        } else {
            if (peek('[')) {
                const std::size_t close = text_.find(']', at_);
                if (close == std::string_view::npos)
                    fail("a workbook's number has no \"]\"");
                number = bookNumber(std::string(text_.substr(at_ + 1, close - at_ - 1)));
                at_ = close + 1;
                if (peek('!')) {
                    ++at_;
                    const int book = externalBook(number);
                    sheets.book = book;
                    sheets.entry = context_.externSheet(book, -2, -2);
                    return true;
                }
            }
            first = nameWord();
            if (peek(':')) {
                const std::size_t colon = at_++;
                last = nameWord();
                if (last.empty() || !peek('!')) {
                    at_ = colon;
                    last.clear();
                }
            }
            if (first.empty() || !peek('!')) {
                if (number >= 0)
                    fail("a workbook's number has no sheet after it");
                at_ = start;
                return false;
            }
            ++at_;
        }
        resolve(sheets, number, first, last);
        return true;
    }

    int bookNumber(const std::string& digits)
    {
        int number = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (error != std::errc() || end != digits.data() + digits.size() || number < 0)
            fail("a workbook's number cannot be read");
        return number;
    }

    int externalBook(int number)
    {
        const int book = context_.externalBookByNumber(number);
        if (book < 0)
            fail("the formula refers to workbook [" + std::to_string(number) + "], which the workbook does not link");
        return book;
    }

    // The entry of the external sheet table for sheets `first` to `last` (or `first` alone) of the
    // workbook itself (number -1 or 0) or of another.
    void resolve(Sheets& sheets, int number, const std::string& first, const std::string& last)
    {
        int from = 0;
        int to = 0;
        if (number > 0) {
            sheets.book = externalBook(number);
            from = context_.externalSheetIndex(sheets.book, first);
            to = last.empty() ? from : context_.externalSheetIndex(sheets.book, last);
        } else {
            from = ownSheet(first);
            to = last.empty() ? from : ownSheet(last);
        }
        if (to < from)
            std::swap(from, to);
        sheets.first = from;
        const int book = sheets.book >= 0 ? sheets.book : context_.selfBook();
        sheets.entry = context_.externSheet(book, from, to);
    }

    int ownSheet(const std::string& name)
    {
        const int index = context_.sheetIndex(name);
        if (index < 0)
            fail("the formula refers to sheet \"" + name + "\", which the workbook does not have");
        return index;
    }

    // What follows a sheet prefix: a cell, an area, #REF! or a name.
    void qualified(const Sheets& sheets)
    {
        if (peek('#')) {
            const std::size_t start = at_;
            if (errorLiteral() != ErrorCode::Reference) {
                at_ = start;
                fail("an error value stands where a cell should");
            }
            Token& token = push(Kind::DeletedReference);
            token.hasSheet = true;
            token.sheet = sheets.entry;
            return;
        }
        Token token;
        if (reference(token)) {
            token.hasSheet = true;
            token.sheet = sheets.entry;
            out_.push_back(std::move(token));
            return;
        }
        const std::string word = nameWord();
        if (word.empty())
            fail("a sheet name has neither a cell nor a name after it");
        if (sheets.book >= 0) {
            Token& name = push(Kind::ExternalName);
            name.sheet = sheets.entry;
            name.index = context_.externalName(sheets.book, word);
            return;
        }
        push(Kind::Name).index = context_.scopedNameIndex(word, sheets.first);
    }

    // A cell, an area, whole columns (A:B) or whole rows (3:4) at the position, taken; false, and
    // nothing taken, when there is none.
    bool reference(Token& token)
    {
        const std::size_t start = at_;
        CellPoint first;
        const Form form = point(first);
        if (form == Form::None)
            return false;
        CellPoint last = first;
        bool area = false;
        if (peek(':')) {
            const std::size_t colon = at_++;
            CellPoint second;
            if (point(second) == form) {
                last = second;
                area = true;
            } else {
                at_ = colon;
            }
        }
        if (!area && form != Form::Cell) {
            at_ = start;
            return false;
        }
        if (form == Form::Column) {
            first.row = 0;
            last.row = LastRow;
            first.rowRelative = last.rowRelative = false;
        } else if (form == Form::Row) {
            first.column = 0;
            last.column = LastColumn;
            first.columnRelative = last.columnRelative = false;
        }
        token.kind = area ? Kind::Area : Kind::Reference;
        token.first = first;
        token.last = last;
        if (area)
            narrowWhole(token);
        if (!fits(token)) {
            at_ = start;
            fail("the formula refers to a cell beyond row 65,536 or column IV, which the file format cannot hold");
        }
        return true;
    }

    // An area that reaches from the first to the last row (or column) of a larger sheet covers the
    // rows (columns) of the file format's sheet.
    static void narrowWhole(Token& area)
    {
        if (area.first.row == 0 && area.last.row == WideLastRow)
            area.last.row = LastRow;
        if (area.first.column == 0 && (area.last.column == WideLastColumn || area.last.column == OldWideLastColumn))
            area.last.column = LastColumn;
    }

    static bool fits(const Token& token)
    {
        return token.first.row <= LastRow && token.last.row <= LastRow && token.first.column <= LastColumn
            && token.last.column <= LastColumn;
    }

    // A cell (B4, $B$4), a column (B, $B) or a row (4, $4) at the position, taken.
    Form point(CellPoint& point)
    {
        const std::size_t start = at_;
        const bool firstDollar = take('$');
        int letters = 0;
        int column = 0;
        while (at_ < text_.size() && isLetter(text_[at_]) && letters < 4) {
            column = column * 26 + upper(text_[at_++]) - 'A' + 1;
            ++letters;
        }
        const bool secondDollar = letters > 0 && take('$');
        int digits = 0;
        long row = 0;
        while (at_ < text_.size() && isDigit(text_[at_]) && digits < 8) {
            row = row * 10 + (text_[at_++] - '0');
            ++digits;
        }
        Form form = Form::None;
        if (letters > 0 && letters <= 3 && column <= WideLastColumn + 1) {
            if (digits > 0 && row >= 1 && row <= WideLastRow + 1)
                form = Form::Cell;
            else if (digits == 0 && !secondDollar)
                form = Form::Column;
        } else if (letters == 0 && digits > 0 && row >= 1 && row <= WideLastRow + 1) {
            form = Form::Row;
        }
        // A cell is followed by neither more of a name nor a call's parenthesis (LOG10(2)).
        if (form == Form::None || (at_ < text_.size() && (isNameCharacter(text_[at_]) || text_[at_] == '('))) {
            at_ = start;
            return Form::None;
        }
        point.column = form == Form::Row ? 0 : column - 1;
        point.row = form == Form::Column ? 0 : static_cast<int>(row) - 1;
        point.columnRelative = form == Form::Row ? false : !firstDollar;
        point.rowRelative = form == Form::Row ? !firstDollar : !secondDollar;
        return form;
    }

    // --- OpenFormula's references and names

    struct Part {
        bool hasSheet = false;
        bool sheetDeleted = false;
        int book = -1;
        std::string sheet;
        bool deleted = false;
        Form form = Form::None;
        CellPoint point;
    };

    // [.A1], [.A1:.B2], [$Sheet1.A1:.B2], [$Sheet1.A1:$Sheet3.B2], ['file:///b.ods'#$Sheet1.A1], [.A:.B], [.#REF!]
    void openFormulaReference()
    {
        ++at_;
        const Part first = part();
        Part second;
        const bool area = peek(':');
        if (area) {
            ++at_;
            second = part();
        }
        expect(']');
        if (area && (first.form != second.form))
            fail("the ends of an area differ in kind");
        if (!area && first.form != Form::Cell && !first.deleted)
            fail("a reference names a whole row or column without its other end");

        Token token;
        const bool deleted = first.deleted || second.deleted || first.sheetDeleted || second.sheetDeleted;
        if (first.hasSheet && !first.sheetDeleted) {
            Sheets sheets;
            const int number = first.book >= 0 ? context_.links.externalNumber(first.book) : -1;
            resolve(sheets, number, first.sheet, second.hasSheet && !second.sheetDeleted ? second.sheet : std::string());
            token.hasSheet = true;
            token.sheet = sheets.entry;
        }
        if (deleted) {
            token.kind = Kind::DeletedReference;
            out_.push_back(std::move(token));
            return;
        }
        token.kind = area ? Kind::Area : Kind::Reference;
        token.first = first.point;
        token.last = area ? second.point : first.point;
        if (first.form == Form::Column) {
            token.first.row = 0;
            token.last.row = LastRow;
        } else if (first.form == Form::Row) {
            token.first.column = 0;
            token.last.column = LastColumn;
        } else if (area) {
            narrowWhole(token);
        }
        if (!fits(token))
            fail("the formula refers to a cell beyond row 65,536 or column IV, which the file format cannot hold");
        out_.push_back(std::move(token));
    }

    Part part()
    {
        Part part;
        if (peek('\'')) {
            std::string text = quoted('\'');
            if (peek('#')) {
                ++at_;
                part.book = context_.externalBookByTarget(text);
            } else {
                part.hasSheet = true;
                part.sheet = std::move(text);
            }
        }
        if (!part.hasSheet) {
            const bool dollar = take('$');
            if (peek('\'')) {
                part.hasSheet = true;
                part.sheet = quoted('\'');
            } else if (peek('#')) {
                errorLiteral();
                part.hasSheet = part.sheetDeleted = true;
            } else if (!peek('.')) {
                while (at_ < text_.size() && text_[at_] != '.' && text_[at_] != ']' && text_[at_] != ':')
                    part.sheet += text_[at_++];
                if (part.sheet.empty())
                    fail("a reference has no sheet before its \".\"");
                part.hasSheet = true;
            } else if (dollar || part.book >= 0) {
                fail("a reference has no sheet before its \".\"");
            }
        }
        expect('.');
        if (peek('#')) {
            if (errorLiteral() != ErrorCode::Reference)
                fail("an error value stands where a cell should");
            part.deleted = true;
            return part;
        }
        part.form = point(part.point);
        if (part.form == Form::None)
            fail("a reference has no cell");
        return part;
    }

    // 'file:///book.ods'#Name: a name of another workbook.
    void openFormulaExternalName()
    {
        const std::string target = quoted('\'');
        expect('#');
        const std::string word = nameWord();
        if (word.empty())
            fail("a workbook has no name after it");
        const int book = context_.externalBookByTarget(target);
        Token& token = push(Kind::ExternalName);
        token.sheet = context_.externSheet(book, -2, -2);
        token.index = context_.externalName(book, word);
    }

    void openFormulaWord()
    {
        const std::string word = nameWord();
        if (word.empty())
            fail("unexpected character");
        const bool logical = sameNameIgnoringCase(word, "TRUE") || sameNameIgnoringCase(word, "FALSE");
        if (logical && (!peek('(') || text_.substr(at_, 2) == "()")) {
            if (peek('('))
                at_ += 2;
            push(Kind::Logical).logical = sameNameIgnoringCase(word, "TRUE");
            return;
        }
        if (peek('(')) {
            call(word);
            return;
        }
        push(Kind::Name).index = context_.nameIndex(word, context_.sheet, true);
    }

    // --- whitespace, characters and tokens

    // The spaces and line breaks at the position, taken, as Space tokens of at most 255 each.
    std::vector<Token> spaces(bool beforeClose = false)
    {
        std::vector<Token> runs;
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c == '\r' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n') {
                ++at_;
                continue;
            }
            const bool lineBreak = c == '\n' || c == '\r';
            if (c != ' ' && !lineBreak)
                break;
            if (runs.empty() || runs.back().lineBreaks != lineBreak || runs.back().spaces == 255) {
                Token& run = runs.emplace_back();
                run.kind = Kind::Space;
                run.lineBreaks = lineBreak;
                run.beforeClose = beforeClose;
            }
            ++runs.back().spaces;
            ++at_;
        }
        return runs;
    }

    bool peek(char c) const { return at_ < text_.size() && text_[at_] == c; }

    bool take(char c)
    {
        if (!peek(c))
            return false;
        ++at_;
        return true;
    }

    void expect(char c)
    {
        if (!take(c))
            fail(std::string("\"") + c + "\" expected");
    }

    void enter()
    {
        if (++depth_ > MaxDepth)
            fail("the formula is nested too deeply");
    }

    void leave() { --depth_; }

    Token& push(Kind kind)
    {
        Token& token = out_.emplace_back();
        token.kind = kind;
        return token;
    }

    void append(const std::vector<Token>& runs) { out_.insert(out_.end(), runs.begin(), runs.end()); }

    [[noreturn]] void fail(const std::string& what) const
    {
        constexpr std::size_t Shown = 60;
        const std::string shown = text_.size() > Shown ? std::string(text_.substr(0, Shown)) + "..." : std::string(text_);
        throw FormatError("the formula \"" + shown + "\" cannot be read: " + what + " (at character "
                          + std::to_string(std::min(at_, text_.size()) + 1) + ")");
    }

    std::string_view text_;
    bool of_;
    FormulaContext& context_;
    std::size_t at_ = 0;
    int depth_ = 0;
    bool commaUnion_ = true;
    std::vector<Token> out_;
};

} // namespace

std::vector<Token> parseFormula(std::string_view text, Grammar grammar, FormulaContext& context)
{
    return Parser(text, grammar, context).parse();
}

std::vector<Token> movedFormula(std::vector<Token> tokens, int rows, int columns)
{
    const auto move = [&](CellPoint& point) {
        if (point.rowRelative)
            point.row += rows;
        if (point.columnRelative)
            point.column += columns;
        return point.row >= 0 && point.row <= LastRow && point.column >= 0 && point.column <= LastColumn;
    };
    for (Token& token : tokens) {
        if (token.kind != Kind::Reference && token.kind != Kind::Area)
            continue;
        const bool first = move(token.first);
        const bool last = move(token.last);
        if (!first || !last)
            token.kind = Kind::DeletedReference;
    }
    return tokens;
}

} // namespace sheet::formula

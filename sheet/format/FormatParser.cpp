#include "sheet/format/FormatParser.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <utility>

namespace sheet::format {

namespace {

constexpr std::size_t maxSections = 4;

// Bytes of the UTF-8 character that starts at `at`, never past the end.
std::size_t characterLength(std::string_view code, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(code[at]);
    std::size_t length = 1;
    if (lead >= 0xF0)
        length = 4;
    else if (lead >= 0xE0)
        length = 3;
    else if (lead >= 0xC0)
        length = 2;
    return std::min(length, code.size() - at);
}

bool startsWithNoCase(std::string_view text, std::size_t at, std::string_view word)
{
    if (text.size() - at < word.size())
        return false;
    for (std::size_t k = 0; k < word.size(); ++k) {
        if (std::tolower(static_cast<unsigned char>(text[at + k])) != std::tolower(static_cast<unsigned char>(word[k])))
            return false;
    }
    return true;
}

std::string lowered(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

bool isDigitPlaceholder(char c)
{
    return c == '0' || c == '#' || c == '?';
}

std::optional<int> namedColour(std::string_view name)
{
    static const std::array<std::pair<std::string_view, int>, 8> colours = {{
        {"black", 8}, {"white", 9}, {"red", 10}, {"green", 11},
        {"blue", 12}, {"yellow", 13}, {"magenta", 14}, {"cyan", 15},
    }};
    const std::string key = lowered(name);
    for (const auto& [colourName, index] : colours) {
        if (key == colourName)
            return index;
    }
    if (key.size() > 5 && key.compare(0, 5, "color") == 0) {
        int number = 0;
        const auto [end, error] = std::from_chars(key.data() + 5, key.data() + key.size(), number);
        if (error == std::errc() && end == key.data() + key.size() && number >= 1 && number <= 56)
            return number + 7;
    }
    return std::nullopt;
}

std::optional<Condition> parseCondition(std::string_view text)
{
    static const std::array<std::pair<std::string_view, Condition::Op>, 6> operators = {{
        {"<=", Condition::Op::LessEqual}, {">=", Condition::Op::GreaterEqual}, {"<>", Condition::Op::NotEqual},
        {"<", Condition::Op::Less}, {">", Condition::Op::Greater}, {"=", Condition::Op::Equal},
    }};
    for (const auto& [symbol, op] : operators) {
        if (text.substr(0, symbol.size()) != symbol)
            continue;
        std::string_view number = text.substr(symbol.size());
        while (!number.empty() && number.front() == ' ')
            number.remove_prefix(1);
        double operand = 0;
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), operand);
        if (error != std::errc() || end != number.data() + number.size())
            return std::nullopt;
        return Condition{op, operand};
    }
    return std::nullopt;
}

class SectionReader {
public:
    explicit SectionReader(std::string_view code) : code_(code) {}

    std::vector<FormatSection> read()
    {
        sections_.emplace_back();
        while (pos_ < code_.size() && sections_.size() <= maxSections)
            readElement();
        if (sections_.size() > maxSections)
            sections_.pop_back();
        for (FormatSection& section : sections_)
            finish(section);
        return std::move(sections_);
    }

private:
    FormatSection& section() { return sections_.back(); }

    void add(Token::Kind kind, std::string text = {}, int count = 1)
    {
        section().tokens.push_back({kind, std::move(text), count});
    }

    void addLiteral(std::string_view text)
    {
        if (text.empty())
            return;
        auto& tokens = section().tokens;
        if (!tokens.empty() && tokens.back().kind == Token::Kind::Literal)
            tokens.back().text.append(text);
        else
            add(Token::Kind::Literal, std::string(text));
    }

    std::string_view takeCharacter()
    {
        const std::size_t length = characterLength(code_, pos_);
        const std::string_view character = code_.substr(pos_, length);
        pos_ += length;
        return character;
    }

    int takeRun(char letter)
    {
        int count = 0;
        while (pos_ < code_.size() && std::tolower(static_cast<unsigned char>(code_[pos_])) == letter) {
            ++pos_;
            ++count;
        }
        return count;
    }

    bool hasToken(Token::Kind kind) const
    {
        const auto& tokens = sections_.back().tokens;
        return std::any_of(tokens.begin(), tokens.end(), [kind](const Token& t) { return t.kind == kind; });
    }

    void readElement()
    {
        const char c = code_[pos_];
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (c == ';') {
            ++pos_;
            sections_.emplace_back();
        } else if (c == '"') {
            const std::size_t close = code_.find('"', pos_ + 1);
            const std::size_t end = close == std::string_view::npos ? code_.size() : close;
            addLiteral(code_.substr(pos_ + 1, end - pos_ - 1));
            pos_ = close == std::string_view::npos ? code_.size() : close + 1;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++pos_;
            if (pos_ >= code_.size())
                return;
            const std::string_view character = takeCharacter();
            if (c == '\\')
                addLiteral(character);
            else
                add(c == '_' ? Token::Kind::Padding : Token::Kind::Fill, std::string(character));
        } else if (c == '[') {
            readBracket();
        } else if (startsWithNoCase(code_, pos_, "general")) {
            pos_ += 7;
            add(Token::Kind::General);
        } else if (isDigitPlaceholder(c)) {
            ++pos_;
            add(Token::Kind::Digit, std::string(1, c));
        } else if (c == '.' && !hasToken(Token::Kind::DecimalPoint) && !hasToken(Token::Kind::Exponent)) {
            ++pos_;
            add(Token::Kind::DecimalPoint);
        } else if (c == ',') {
            readComma();
        } else if (c == '%') {
            ++pos_;
            add(Token::Kind::Percent);
        } else if (lower == 'e' && pos_ + 1 < code_.size() && (code_[pos_ + 1] == '+' || code_[pos_ + 1] == '-')
                   && hasToken(Token::Kind::Digit)) {
            add(Token::Kind::Exponent, std::string(1, code_[pos_ + 1]));
            pos_ += 2;
        } else if (c == '@') {
            ++pos_;
            add(Token::Kind::TextValue);
        } else if (startsWithNoCase(code_, pos_, "am/pm")) {
            add(Token::Kind::AmPm, std::string(code_.substr(pos_, 5)));
            pos_ += 5;
        } else if (startsWithNoCase(code_, pos_, "a/p")) {
            add(Token::Kind::AmPm, std::string(code_.substr(pos_, 3)));
            pos_ += 3;
        } else if (lower == 'y' || lower == 'e') {
            add(Token::Kind::Year, {}, lower == 'e' ? 4 : takeRun(lower));
            if (lower == 'e')
                ++pos_;
        } else if (lower == 'm') {
            add(Token::Kind::Month, {}, takeRun('m'));
        } else if (lower == 'd') {
            add(Token::Kind::Day, {}, takeRun('d'));
        } else if (lower == 'h') {
            add(Token::Kind::Hour, {}, takeRun('h'));
        } else if (lower == 's') {
            add(Token::Kind::Second, {}, takeRun('s'));
        } else {
            addLiteral(takeCharacter());
        }
    }

    void readComma()
    {
        std::size_t end = pos_;
        while (end < code_.size() && code_[end] == ',')
            ++end;
        const auto& tokens = section().tokens;
        const bool afterDigit = !tokens.empty() && tokens.back().kind == Token::Kind::Digit;
        if (afterDigit && end < code_.size() && isDigitPlaceholder(code_[end])) {
            if (!hasToken(Token::Kind::DecimalPoint))
                section().grouping = true;
            pos_ = end;
        } else if (afterDigit) {
            section().thousandsScale += static_cast<int>(end - pos_);
            pos_ = end;
        } else {
            ++pos_;
            addLiteral(",");
        }
    }

    void readBracket()
    {
        const std::size_t close = code_.find(']', pos_);
        if (close == std::string_view::npos) {
            addLiteral(takeCharacter());
            return;
        }
        const std::string_view inside = code_.substr(pos_ + 1, close - pos_ - 1);
        pos_ = close + 1;
        if (inside.empty())
            return;
        if (const auto colour = namedColour(inside)) {
            section().colourIndex = colour;
        } else if (inside.front() == '<' || inside.front() == '>' || inside.front() == '=') {
            section().condition = parseCondition(inside);
        } else if (inside.front() == '$') {
            addLiteral(inside.substr(1, inside.find('-') == std::string_view::npos ? inside.size() - 1 : inside.find('-') - 1));
        } else {
            const std::string key = lowered(inside);
            const char letter = key.front();
            const bool oneLetter = std::all_of(key.begin(), key.end(), [letter](char k) { return k == letter; });
            if (oneLetter && letter == 'h')
                add(Token::Kind::ElapsedHours, {}, static_cast<int>(key.size()));
            else if (oneLetter && letter == 'm')
                add(Token::Kind::ElapsedMinutes, {}, static_cast<int>(key.size()));
            else if (oneLetter && letter == 's')
                add(Token::Kind::ElapsedSeconds, {}, static_cast<int>(key.size()));
        }
    }

    static bool isDateKind(Token::Kind kind)
    {
        return kind >= Token::Kind::Year && kind <= Token::Kind::ElapsedSeconds;
    }

    // Settles what only the whole section tells: m as minutes, the seconds'
    // decimals, and digit placeholders that a date section shows as they stand.
    static void finish(FormatSection& section)
    {
        auto& tokens = section.tokens;
        section.isDateTime = std::any_of(tokens.begin(), tokens.end(), [](const Token& t) { return isDateKind(t.kind); });
        if (section.isDateTime) {
            resolveMinutes(tokens);
            settleDateDigits(section);
        }
        for (const Token& token : tokens) {
            section.hasDigits |= token.kind == Token::Kind::Digit;
            section.hasText |= token.kind == Token::Kind::TextValue;
            section.hasGeneral |= token.kind == Token::Kind::General;
            section.hasAmPm |= token.kind == Token::Kind::AmPm;
            section.scientific |= token.kind == Token::Kind::Exponent;
            section.percents += token.kind == Token::Kind::Percent ? 1 : 0;
        }
        if (!section.hasDigits) {
            section.grouping = false;
            section.thousandsScale = 0;
        }
    }

    static void resolveMinutes(std::vector<Token>& tokens)
    {
        auto neighbour = [&tokens](std::size_t from, int step) -> const Token* {
            for (auto k = static_cast<long>(from) + step; k >= 0 && k < static_cast<long>(tokens.size()); k += step) {
                if (isDateKind(tokens[static_cast<std::size_t>(k)].kind))
                    return &tokens[static_cast<std::size_t>(k)];
            }
            return nullptr;
        };
        for (std::size_t k = 0; k < tokens.size(); ++k) {
            if (tokens[k].kind != Token::Kind::Month || tokens[k].count > 2)
                continue;
            const Token* before = neighbour(k, -1);
            const Token* after = neighbour(k, 1);
            const bool afterHour = before && (before->kind == Token::Kind::Hour || before->kind == Token::Kind::ElapsedHours);
            const bool beforeSecond = after && (after->kind == Token::Kind::Second || after->kind == Token::Kind::ElapsedSeconds);
            if (afterHour || beforeSecond)
                tokens[k].kind = Token::Kind::Minute;
        }
    }

    static void settleDateDigits(FormatSection& section)
    {
        std::vector<Token> settled;
        const auto& tokens = section.tokens;
        for (std::size_t k = 0; k < tokens.size(); ++k) {
            const Token& token = tokens[k];
            const bool afterSeconds = !settled.empty()
                && (settled.back().kind == Token::Kind::Second || settled.back().kind == Token::Kind::ElapsedSeconds);
            if (token.kind == Token::Kind::DecimalPoint && afterSeconds && k + 1 < tokens.size()
                && tokens[k + 1].kind == Token::Kind::Digit && tokens[k + 1].text == "0") {
                int digits = 0;
                while (k + 1 < tokens.size() && tokens[k + 1].kind == Token::Kind::Digit && tokens[k + 1].text == "0") {
                    ++digits;
                    ++k;
                }
                settled.push_back({Token::Kind::SubSecond, {}, std::min(digits, 3)});
            } else if (token.kind == Token::Kind::Digit) {
                settled.push_back({Token::Kind::Literal, token.text, 1});
            } else if (token.kind == Token::Kind::DecimalPoint) {
                settled.push_back({Token::Kind::Literal, ".", 1});
            } else if (token.kind == Token::Kind::Exponent) {
                settled.push_back({Token::Kind::Literal, "E" + token.text, 1});
            } else if (token.kind == Token::Kind::Percent) {
                settled.push_back({Token::Kind::Literal, "%", 1});
            } else {
                settled.push_back(token);
            }
        }
        section.tokens = std::move(settled);
        section.grouping = false;
        section.thousandsScale = 0;
    }

    std::string_view code_;
    std::size_t pos_ = 0;
    std::vector<FormatSection> sections_;
};

}  // namespace

std::vector<FormatSection> parseFormatCode(std::string_view code)
{
    return SectionReader(code).read();
}

}  // namespace sheet::format

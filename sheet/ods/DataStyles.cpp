#include "sheet/ods/DataStyles.h"

#include "sheet/format/FormatParser.h"
#include "sheet/ods/Lengths.h"
#include "sheet/ods/XmlPart.h"

#include <QColor>

#include <optional>
#include <vector>

namespace sheet::ods {
namespace {

using format::FormatSection;
using format::Token;

constexpr std::size_t TextSectionIndex = 3;

bool isTextOnly(const FormatSection& section)
{
    return section.hasText && !section.hasDigits && !section.hasGeneral && !section.isDateTime;
}

bool has(const FormatSection& section, Token::Kind kind)
{
    for (const Token& token : section.tokens)
        if (token.kind == kind)
            return true;
    return false;
}

const char* elementOf(const FormatSection& section)
{
    if (section.isDateTime) {
        const bool date = has(section, Token::Kind::Year) || has(section, Token::Kind::Month) || has(section, Token::Kind::Day);
        return date ? "number:date-style" : "number:time-style";
    }
    if (isTextOnly(section))
        return "number:text-style";
    if (section.percents > 0)
        return "number:percentage-style";
    return "number:number-style";
}

// Writes the tokens of one section, in order, with literal text gathered into number:text elements.
class SectionWriter {
public:
    SectionWriter(QXmlStreamWriter& xml, const FormatSection& section) : xml_(xml), section_(section) {}

    void write()
    {
        for (const Token& token : section_.tokens)
            take(token);
        flushText();
    }

private:
    void take(const Token& token)
    {
        using K = Token::Kind;
        switch (token.kind) {
        case K::Literal: text_ += token.text; break;
        case K::Padding: text_ += ' '; break;
        case K::Fill:
            if (!filled_ && !isTextOnly(section_)) {
                flushText();
                textElement(xml_, "number:fill-character", QString::fromStdString(token.text));
                filled_ = true;
            }
            break;
        case K::Digit: case K::DecimalPoint: case K::Exponent: number(); break;
        case K::Percent: text_ += '%'; break;
        case K::TextValue:
            flushText();
            emptyElement(xml_, "number:text-content", {});
            break;
        case K::General:
            // A date or a time has no place for a number: the date shows alone, as in a date style.
            if (section_.isDateTime)
                break;
            flushText();
            emptyElement(xml_, "number:number", {{"number:min-integer-digits", "1"}});
            break;
        case K::Year: dated("number:year", token.count >= 4); break;
        case K::Month:
            flushText();
            xml_.writeStartElement("number:month");
            if (token.count == 2 || token.count >= 4)
                xml_.writeAttribute("number:style", "long");
            if (token.count >= 3)
                xml_.writeAttribute("number:textual", "true");
            xml_.writeEndElement();
            break;
        case K::Day: dated(token.count >= 3 ? "number:day-of-week" : "number:day", token.count == 2 || token.count >= 4); break;
        case K::Hour: case K::ElapsedHours: dated("number:hours", token.count >= 2); break;
        case K::Minute: case K::ElapsedMinutes: dated("number:minutes", token.count >= 2); break;
        case K::Second: case K::ElapsedSeconds: dated("number:seconds", token.count >= 2); break;
        case K::SubSecond: break;
        case K::AmPm:
            flushText();
            emptyElement(xml_, "number:am-pm", {});
            break;
        }
    }

    void dated(const char* element, bool longForm)
    {
        flushText();
        xml_.writeStartElement(element);
        if (longForm)
            xml_.writeAttribute("number:style", "long");
        xml_.writeEndElement();
    }

    // The one number element of the section, where its first placeholder stands.
    void number()
    {
        if (numberWritten_)
            return;
        flushText();
        numberWritten_ = true;
        int minIntegers = 0, decimals = 0, minDecimals = 0, exponentDigits = 0;
        enum { Integer, Fraction, Exponent } part = Integer;
        for (const Token& token : section_.tokens) {
            if (token.kind == Token::Kind::DecimalPoint && part == Integer)
                part = Fraction;
            else if (token.kind == Token::Kind::Exponent)
                part = Exponent;
            if (token.kind != Token::Kind::Digit)
                continue;
            const bool zero = token.text == "0";
            if (part == Integer) {
                minIntegers += zero;
            } else if (part == Fraction) {
                ++decimals;
                minDecimals += zero;
            } else {
                ++exponentDigits;
            }
        }
        xml_.writeStartElement(section_.scientific ? "number:scientific-number" : "number:number");
        xml_.writeAttribute("number:decimal-places", QString::number(decimals));
        if (!section_.scientific)
            xml_.writeAttribute("number:min-decimal-places", QString::number(minDecimals));
        xml_.writeAttribute("number:min-integer-digits", QString::number(minIntegers));
        if (section_.scientific)
            xml_.writeAttribute("number:min-exponent-digits", QString::number(std::max(1, exponentDigits)));
        if (section_.grouping)
            xml_.writeAttribute("number:grouping", "true");
        if (section_.thousandsScale > 0) {
            double factor = 1;
            for (int k = 0; k < section_.thousandsScale && k < 10; ++k)
                factor *= 1000;
            xml_.writeAttribute("number:display-factor", QString::fromStdString(decimal(factor)));
        }
        xml_.writeEndElement();
    }

    void flushText()
    {
        if (text_.empty())
            return;
        textElement(xml_, "number:text", QString::fromStdString(text_));
        text_.clear();
    }

    QXmlStreamWriter& xml_;
    const FormatSection& section_;
    std::string text_;
    bool filled_ = false;
    bool numberWritten_ = false;
};

struct Map {
    std::string condition;
    std::string style;
};

std::string conditionText(const format::Condition& condition)
{
    using Op = format::Condition::Op;
    const char* op = "=";
    switch (condition.op) {
    case Op::Less: op = "<"; break;
    case Op::LessEqual: op = "<="; break;
    case Op::Greater: op = ">"; break;
    case Op::GreaterEqual: op = ">="; break;
    case Op::Equal: op = "="; break;
    case Op::NotEqual: op = "!="; break;
    }
    return std::string("value()") + op + decimal(condition.operand);
}

void writeSection(QXmlStreamWriter& xml, const std::string& name, const FormatSection& section, const model::Palette& palette,
                  const std::vector<Map>& maps, bool volatileStyle)
{
    xml.writeStartElement(elementOf(section));
    xml.writeAttribute("style:name", QString::fromStdString(name));
    if (volatileStyle)
        xml.writeAttribute("style:volatile", "true");
    if (section.isDateTime && (has(section, Token::Kind::ElapsedHours) || has(section, Token::Kind::ElapsedMinutes)
                               || has(section, Token::Kind::ElapsedSeconds)))
        xml.writeAttribute("number:truncate-on-overflow", "false");
    if (section.colourIndex)
        emptyElement(xml, "style:text-properties",
                     {{"fo:color", QColor::fromRgb(palette.rgb(*section.colourIndex)).name()}});
    SectionWriter(xml, section).write();
    for (const Map& map : maps)
        emptyElement(xml, "style:map", {{"style:condition", QString::fromStdString(map.condition)},
                                        {"style:apply-style-name", QString::fromStdString(map.style)}});
    xml.writeEndElement();
}

} // namespace

void writeDataStyle(QXmlStreamWriter& xml, const std::string& name, const std::string& code, const model::Palette& palette)
{
    const std::vector<FormatSection> sections = format::parseFormatCode(code.empty() ? "General" : code);
    std::vector<const FormatSection*> numbers;
    const FormatSection* text = sections.size() > TextSectionIndex ? &sections[TextSectionIndex] : nullptr;
    for (std::size_t k = 0; k < sections.size() && k < TextSectionIndex; ++k) {
        if (!isTextOnly(sections[k]))
            numbers.push_back(&sections[k]);
        else if (!text)
            text = &sections[k];
    }
    if (numbers.empty()) {
        if (text)
            writeSection(xml, name, *text, palette, {}, false);
        else
            writeSection(xml, name, format::parseFormatCode("General").front(), palette, {}, false);
        return;
    }

    // The condition of each number section; the empty one takes whatever the others leave.
    std::vector<std::string> conditions(numbers.size());
    const bool conditional = numbers[0]->condition || (numbers.size() > 1 && numbers[1]->condition);
    for (std::size_t k = 0; k < numbers.size(); ++k) {
        const bool last = k + 1 == numbers.size();
        if (conditional) {
            if (numbers[k]->condition)
                conditions[k] = conditionText(*numbers[k]->condition);
            else if (k == 1 && numbers.size() == 3)
                conditions[k] = "value()<0";
            else if (!last)
                conditions[k] = "value()=value()";
        } else if (numbers.size() == 2) {
            conditions[k] = k == 0 ? "value()>=0" : "value()<0";
        } else if (numbers.size() == 3) {
            conditions[k] = k == 0 ? "value()>0" : k == 1 ? "value()<0" : "value()=0";
        }
    }
    // A text section can carry the number sections only when each of them has a condition of its own.
    const bool textCarries = text && !conditions.back().empty();
    const std::size_t carried = textCarries ? numbers.size() : numbers.size() - 1;
    std::vector<Map> maps;
    for (std::size_t k = 0; k < carried; ++k) {
        const std::string part = name + "P" + std::to_string(k);
        writeSection(xml, part, *numbers[k], palette, {}, true);
        maps.push_back({conditions[k], part});
    }
    writeSection(xml, name, textCarries ? *text : *numbers.back(), palette, maps, false);
}

} // namespace sheet::ods

#include "sheet/xlsx/ConditionalFormats.h"

#include "sheet/formula/RuleFormulas.h"
#include "sheet/model/A1Notation.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace sheet::xlsx {
namespace {

constexpr std::array<const char*, 9> Operators = {"",         "between",  "notBetween",         "equal",          "notEqual",
                                                   "greaterThan", "lessThan", "greaterThanOrEqual", "lessThanOrEqual"};
constexpr std::array<const char*, 19> Patterns = {
    "none",         "solid",         "mediumGray",   "darkGray",      "lightGray",       "darkHorizontal", "darkVertical",
    "darkDown",     "darkUp",        "darkGrid",     "darkTrellis",   "lightHorizontal", "lightVertical",  "lightDown",
    "lightUp",      "lightGrid",     "lightTrellis", "gray125",       "gray0625"};

void writeColour(XmlPart& xml, const char* name, const model::Palette& palette, int index)
{
    std::array<char, 9> rgb{};
    std::snprintf(rgb.data(), rgb.size(), "FF%06X", static_cast<unsigned>(palette.rgb(index) & 0xFFFFFF));
    xml.empty(name);
    xml.attribute("rgb", std::string_view(rgb.data()));
}

bool written(const biff::ConditionalRule& rule)
{
    return rule.written && (rule.isFormula || (rule.comparison >= 1 && rule.comparison <= 8));
}

// A rule with the texts of its formulas.
struct WrittenRule {
    const biff::ConditionalRule* rule = nullptr;
    std::string formula1, formula2;
};

std::optional<std::string> text(const std::string& simple, const std::vector<std::uint8_t>& tokens,
                                const model::CellRange& first, const formula::SheetFormulas* formulas)
{
    if (tokens.empty())
        return simple;
    if (!formulas)
        return std::nullopt;
    return formula::ruleFormulaText(tokens, {first.firstRow, first.firstColumn}, formulas->links(), formulas->sheetIndex(),
                                    formula::Grammar::A1);
}

} // namespace

int DifferentialStyles::index(const biff::DifferentialFormat& format)
{
    const auto found = std::find(formats_.begin(), formats_.end(), format);
    if (found != formats_.end())
        return static_cast<int>(found - formats_.begin());
    formats_.push_back(format);
    return static_cast<int>(formats_.size() - 1);
}

void DifferentialStyles::write(XmlPart& xml, const model::Palette& palette) const
{
    if (formats_.empty())
        return;
    xml.start("dxfs");
    xml.attribute("count", static_cast<long long>(formats_.size()));
    for (const biff::DifferentialFormat& f : formats_) {
        xml.start("dxf");
        if (f.bold || f.italic || f.strikeout || f.underline || f.fontColour) {
            xml.start("font");
            if (f.bold)
                xml.value("b", *f.bold ? 1 : 0);
            if (f.italic)
                xml.value("i", *f.italic ? 1 : 0);
            if (f.strikeout)
                xml.value("strike", *f.strikeout ? 1 : 0);
            if (f.fontColour)
                writeColour(xml, "color", palette, *f.fontColour);
            if (f.underline)
                xml.value("u", *f.underline == 0 ? "none" : *f.underline == 2 ? "double" : "single");
            xml.end();
        }
        if (f.fillColour || f.fillPattern) {
            xml.start("fill");
            xml.start("patternFill");
            const int pattern = f.fillPattern.value_or(1);
            if (pattern != 1)
                xml.attribute("patternType", Patterns[static_cast<std::size_t>(std::clamp(pattern, 0, 18))]);
            if (f.patternColour)
                writeColour(xml, "fgColor", palette, *f.patternColour);
            if (f.fillColour)
                writeColour(xml, "bgColor", palette, *f.fillColour);
            xml.end();
            xml.end();
        }
        xml.end();
    }
    xml.end();
}

void writeConditionalFormats(XmlPart& xml, const std::vector<biff::ConditionalFormat>& formats, DifferentialStyles& styles,
                             int& priority, const formula::SheetFormulas* formulas)
{
    for (const biff::ConditionalFormat& format : formats) {
        std::vector<WrittenRule> rules;
        for (const biff::ConditionalRule& rule : format.rules) {
            if (!written(rule) || format.ranges.empty())
                continue;
            const auto first = text(rule.formula1, rule.tokens1, format.ranges.front(), formulas);
            const auto second = text(rule.formula2, rule.tokens2, format.ranges.front(), formulas);
            if (first && second)
                rules.push_back({&rule, *first, *second});
        }
        if (rules.empty())
            continue;
        std::string cells;
        for (const model::CellRange& range : format.ranges)
            cells += (cells.empty() ? "" : " ") + model::rangeAddress(range);
        xml.start("conditionalFormatting");
        xml.attribute("sqref", cells);
        for (const auto& [rule, formula1, formula2] : rules) {
            xml.start("cfRule");
            xml.attribute("type", rule->isFormula ? "expression" : "cellIs");
            xml.attribute("dxfId", styles.index(rule->format));
            xml.attribute("priority", ++priority);
            if (!rule->isFormula)
                xml.attribute("operator", Operators[static_cast<std::size_t>(rule->comparison)]);
            xml.text("formula", formula1);
            if (!rule->isFormula && rule->comparison <= 2 && !formula2.empty())
                xml.text("formula", formula2);
            xml.end();
        }
        xml.end();
    }
}

} // namespace sheet::xlsx

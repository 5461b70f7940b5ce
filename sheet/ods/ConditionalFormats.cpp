#include "sheet/ods/ConditionalFormats.h"

#include "sheet/formula/RuleFormulas.h"
#include "sheet/ods/CellAddresses.h"

#include <QColor>
#include <QRegularExpression>
#include <QString>

#include <algorithm>

namespace sheet::ods {
namespace {

QString styleName(std::size_t look)
{
    return QStringLiteral("Conditional") + QString::number(look + 1);
}

// A simple formula's A1 text in OpenFormula: cells and areas in brackets, "[.$A$1:.B2]".
QString openFormula(const std::string& a1)
{
    static const QRegularExpression cell(QStringLiteral(R"(^(\$?[A-Z]+\$?\d+)(?::(\$?[A-Z]+\$?\d+))?$)"));
    const QString text = QString::fromStdString(a1);
    const QString bare = text.startsWith(QLatin1Char('-')) ? text.mid(1) : text;
    const QRegularExpressionMatch match = cell.match(bare);
    if (!match.hasMatch())
        return text;
    QString reference = QStringLiteral("[.") + match.captured(1);
    if (match.hasCaptured(2))
        reference += QStringLiteral(":.") + match.captured(2);
    return (text.size() == bare.size() ? QString() : QStringLiteral("-")) + reference + QLatin1Char(']');
}

// A formula of a rule in OpenFormula: its simple text converted, else its tokens' text taken at `base`.
std::optional<QString> text(const std::string& simple, const std::vector<std::uint8_t>& tokens, const model::CellRange& first,
                            const formula::WorkbookLinks& links, int sheet)
{
    if (tokens.empty())
        return openFormula(simple);
    const std::optional<std::string> written =
        formula::ruleFormulaText(tokens, {first.firstRow, first.firstColumn}, links, sheet, formula::Grammar::OpenFormula);
    if (!written)
        return std::nullopt;
    return QString::fromStdString(*written);
}

// LibreOffice's form of a comparison: "between(1,10)", ">20000" and so on; a formula "formula-is(...)".
QString condition(const biff::ConditionalRule& rule, const QString& first, const QString& second)
{
    if (rule.isFormula)
        return QStringLiteral("formula-is(") + first + QLatin1Char(')');
    switch (rule.comparison) {
    case 1: return QStringLiteral("between(") + first + QLatin1Char(',') + second + QLatin1Char(')');
    case 2: return QStringLiteral("not-between(") + first + QLatin1Char(',') + second + QLatin1Char(')');
    case 3: return QStringLiteral("=") + first;
    case 4: return QStringLiteral("!=") + first;
    case 5: return QStringLiteral(">") + first;
    case 6: return QStringLiteral("<") + first;
    case 7: return QStringLiteral(">=") + first;
    default: return QStringLiteral("<=") + first;
    }
}

bool written(const biff::ConditionalRule& rule)
{
    return rule.written && (rule.isFormula || (rule.comparison >= 1 && rule.comparison <= 8));
}

} // namespace

ConditionalFormats::ConditionalFormats(const model::Workbook& workbook, const formula::WorkbookLinks& links)
    : workbook_(workbook)
{
    for (std::size_t k = 0; k < workbook.sheets.size(); ++k) {
        std::vector<Format>& formats = sheets_.emplace_back();
        for (const biff::ConditionalFormat& format : biff::readConditionalFormats(workbook, workbook.sheets[k])) {
            Format kept{format.ranges, {}};
            for (const biff::ConditionalRule& rule : format.rules) {
                if (!written(rule) || format.ranges.empty())
                    continue;
                const int sheet = static_cast<int>(k);
                const auto first = text(rule.formula1, rule.tokens1, format.ranges.front(), links, sheet);
                const auto second = text(rule.formula2, rule.tokens2, format.ranges.front(), links, sheet);
                if (!first || !second)
                    continue;
                kept.conditions.emplace_back(rule.format, condition(rule, *first, *second));
                if (std::find(looks_.begin(), looks_.end(), rule.format) == looks_.end())
                    looks_.push_back(rule.format);
            }
            if (!kept.conditions.empty())
                formats.push_back(std::move(kept));
        }
    }
}

std::size_t ConditionalFormats::styleOf(const biff::DifferentialFormat& look) const
{
    return static_cast<std::size_t>(std::find(looks_.begin(), looks_.end(), look) - looks_.begin());
}

void ConditionalFormats::writeStyles(QXmlStreamWriter& xml) const
{
    const auto colour = [this](int index) { return QColor::fromRgb(workbook_.palette.rgb(index)).name(); };
    for (std::size_t k = 0; k < looks_.size(); ++k) {
        const biff::DifferentialFormat& look = looks_[k];
        xml.writeStartElement("style:style");
        xml.writeAttribute("style:name", styleName(k));
        xml.writeAttribute("style:family", "table-cell");
        xml.writeAttribute("style:parent-style-name", "Default");
        if (look.fillColour || look.patternColour) {
            xml.writeStartElement("style:table-cell-properties");
            xml.writeAttribute("fo:background-color", colour(look.fillColour.value_or(*look.patternColour)));
            xml.writeEndElement();
        }
        xml.writeStartElement("style:text-properties");
        if (look.bold)
            xml.writeAttribute("fo:font-weight", *look.bold ? "bold" : "normal");
        if (look.italic)
            xml.writeAttribute("fo:font-style", *look.italic ? "italic" : "normal");
        if (look.strikeout)
            xml.writeAttribute("style:text-line-through-style", *look.strikeout ? "solid" : "none");
        if (look.underline) {
            xml.writeAttribute("style:text-underline-style", *look.underline ? "solid" : "none");
            if (*look.underline)
                xml.writeAttribute("style:text-underline-type", *look.underline == 2 ? "double" : "single");
        }
        if (look.fontColour)
            xml.writeAttribute("fo:color", colour(*look.fontColour));
        xml.writeEndElement();
        xml.writeEndElement();
    }
}

void ConditionalFormats::writeFormats(QXmlStreamWriter& xml, std::size_t sheet, const std::string& sheetName) const
{
    bool opened = false;
    for (const Format& format : sheets_.at(sheet)) {
        if (!opened)
            xml.writeStartElement("calcext:conditional-formats");
        opened = true;
        std::string ranges;
        for (const model::CellRange& range : format.ranges)
            ranges += (ranges.empty() ? "" : " ") + odfRangeAddress(sheetName, range);
        xml.writeStartElement("calcext:conditional-format");
        xml.writeAttribute("calcext:target-range-address", QString::fromStdString(ranges));
        const model::CellRange& first = format.ranges.front();
        for (const auto& [look, value] : format.conditions) {
            xml.writeStartElement("calcext:condition");
            xml.writeAttribute("calcext:apply-style-name", styleName(styleOf(look)));
            xml.writeAttribute("calcext:value", value);
            xml.writeAttribute("calcext:base-cell-address",
                               QString::fromStdString(odfCellAddress(sheetName, first.firstRow, first.firstColumn)));
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    if (opened)
        xml.writeEndElement();
}

} // namespace sheet::ods

#include "sheet/ods/ContentValidations.h"

#include "sheet/formula/RuleFormulas.h"
#include "sheet/ods/CellAddresses.h"
#include "sheet/ods/XmlPart.h"

#include <QRegularExpression>
#include <QStringList>

namespace sheet::ods {
namespace {

using biff::Validation;

// A simple formula's A1 text in OpenFormula: cells and areas in brackets; a list "a,b" as "a";"b".
QString openFormula(const std::string& a1)
{
    static const QRegularExpression cell(QStringLiteral(R"(^(\$?[A-Z]+\$?\d+)(?::(\$?[A-Z]+\$?\d+))?$)"));
    const QString text = QString::fromStdString(a1);
    const QRegularExpressionMatch match = cell.match(text);
    if (!match.hasMatch())
        return text;
    QString reference = QStringLiteral("[.") + match.captured(1);
    if (match.hasCaptured(2))
        reference += QStringLiteral(":.") + match.captured(2);
    return reference + QLatin1Char(']');
}

QString listItems(const std::string& a1)
{
    QString text = QString::fromStdString(a1);
    if (!text.startsWith(QLatin1Char('"')))
        return openFormula(a1);
    text = text.mid(1, text.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
    QStringList items;
    for (const QString& item : text.split(QLatin1Char(',')))
        items << QLatin1Char('"') + QString(item).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    return items.join(QLatin1Char(';'));
}

// The comparison of a rule with its formulas, on `subject` ("cell-content()"); a range's bounds apart
// by a comma, as the conditions' own grammar has it.
QString comparison(const Validation& rule, const QString& first, const QString& second, const QString& subject,
                   const QString& between, const QString& notBetween)
{
    switch (rule.op) {
    case Validation::Operator::Between: return between + QLatin1Char('(') + first + QLatin1Char(',') + second + QLatin1Char(')');
    case Validation::Operator::NotBetween: return notBetween + QLatin1Char('(') + first + QLatin1Char(',') + second + QLatin1Char(')');
    case Validation::Operator::Equal: return subject + QLatin1Char('=') + first;
    case Validation::Operator::NotEqual: return subject + QStringLiteral("!=") + first;
    case Validation::Operator::Greater: return subject + QLatin1Char('>') + first;
    case Validation::Operator::Less: return subject + QLatin1Char('<') + first;
    case Validation::Operator::GreaterOrEqual: return subject + QStringLiteral(">=") + first;
    case Validation::Operator::LessOrEqual: return subject + QStringLiteral("<=") + first;
    }
    return QString();
}

// The rule's condition with its formulas in OpenFormula: `first` the list's items for a list.
QString condition(const Validation& rule, const QString& first, const QString& second)
{
    const QString values = comparison(rule, first, second, QStringLiteral("cell-content()"), QStringLiteral("cell-content-is-between"),
                                      QStringLiteral("cell-content-is-not-between"));
    switch (rule.type) {
    case Validation::Type::Whole: return QStringLiteral("of:cell-content-is-whole-number() and ") + values;
    case Validation::Type::Decimal: return QStringLiteral("of:cell-content-is-decimal-number() and ") + values;
    case Validation::Type::Date: return QStringLiteral("of:cell-content-is-date() and ") + values;
    case Validation::Type::Time: return QStringLiteral("of:cell-content-is-time() and ") + values;
    case Validation::Type::TextLength:
        return QStringLiteral("of:") + comparison(rule, first, second, QStringLiteral("cell-content-text-length()"),
                                                  QStringLiteral("cell-content-text-length-is-between"),
                                                  QStringLiteral("cell-content-text-length-is-not-between"));
    case Validation::Type::List: return QStringLiteral("of:cell-content-is-in-list(") + first + QLatin1Char(')');
    case Validation::Type::Custom: return QStringLiteral("of:is-true-formula(") + first + QLatin1Char(')');
    case Validation::Type::Any: break;
    }
    return QString();
}

// A formula of a rule in OpenFormula: its simple text converted (by `simple`), else its tokens' text.
std::optional<QString> text(const std::string& a1, const std::vector<std::uint8_t>& tokens, const Validation& rule,
                            const formula::WorkbookLinks& links, int sheet, QString (*simple)(const std::string&))
{
    if (tokens.empty())
        return simple(a1);
    const model::CellRange& first = rule.ranges.front();
    const std::optional<std::string> written =
        formula::ruleFormulaText(tokens, {first.firstRow, first.firstColumn}, links, sheet, formula::Grammar::OpenFormula);
    if (!written)
        return std::nullopt;
    return QString::fromStdString(*written);
}

bool covers(const Validation& rule, int row, int column)
{
    for (const model::CellRange& range : rule.ranges)
        if (row >= range.firstRow && row <= range.lastRow && column >= range.firstColumn && column <= range.lastColumn)
            return true;
    return false;
}

void writeMessage(QXmlStreamWriter& xml, const char* element, const std::string& title, const std::string& text, bool shown,
                  const char* type)
{
    xml.writeStartElement(element);
    xml.writeAttribute("table:title", QString::fromStdString(title));
    if (type)
        xml.writeAttribute("table:message-type", type);
    xml.writeAttribute("table:display", shown ? "true" : "false");
    for (const QString& line : QString::fromStdString(text).split(QLatin1Char('\n')))
        textElement(xml, "text:p", line);
    xml.writeEndElement();
}

} // namespace

ContentValidations::ContentValidations(const model::Workbook& workbook, const formula::WorkbookLinks& links)
{
    for (std::size_t k = 0; k < workbook.sheets.size(); ++k)
        for (biff::Validation& rule : biff::readValidations(workbook, workbook.sheets[k])) {
            if (rule.ranges.empty())
                continue;
            const int sheet = static_cast<int>(k);
            const auto first = text(rule.formula1, rule.tokens1, rule, links, sheet,
                                    rule.type == Validation::Type::List ? listItems : openFormula);
            const auto second = text(rule.formula2, rule.tokens2, rule, links, sheet, openFormula);
            if (!first || !second)
                continue;
            QString written = rule.type == Validation::Type::Any ? QString() : condition(rule, *first, *second);
            rules_.push_back({std::move(rule), k, QStringLiteral("val") + QString::number(rules_.size() + 1), std::move(written)});
        }
}

void ContentValidations::write(QXmlStreamWriter& xml, const std::vector<std::string>& names) const
{
    if (rules_.empty())
        return;
    xml.writeStartElement("table:content-validations");
    for (const Rule& rule : rules_) {
        const Validation& v = rule.validation;
        const model::CellRange& first = v.ranges.front();
        xml.writeStartElement("table:content-validation");
        xml.writeAttribute("table:name", rule.name);
        if (v.type != Validation::Type::Any)
            xml.writeAttribute("table:condition", rule.condition);
        xml.writeAttribute("table:allow-empty-cell", v.allowBlank ? "true" : "false");
        xml.writeAttribute("table:base-cell-address",
                           QString::fromStdString(odfCellAddress(names.at(rule.sheet), first.firstRow, first.firstColumn)));
        if (v.type == Validation::Type::List)
            xml.writeAttribute("table:display-list", v.hideDropDown ? "none" : "unsorted");
        writeMessage(xml, "table:help-message", v.promptTitle, v.prompt, v.showPrompt, nullptr);
        const char* type = v.errorStyle == Validation::ErrorStyle::Stop      ? "stop"
                           : v.errorStyle == Validation::ErrorStyle::Warning ? "warning"
                                                                             : "information";
        writeMessage(xml, "table:error-message", v.errorTitle, v.error, v.showError, type);
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

const QString* ContentValidations::at(std::size_t sheet, int row, int column) const
{
    const QString* name = nullptr;
    for (const Rule& rule : rules_)
        if (rule.sheet == sheet && covers(rule.validation, row, column))
            name = &rule.name;
    return name;
}

int ContentValidations::lastRow(std::size_t sheet) const
{
    int last = -1;
    for (const Rule& rule : rules_)
        if (rule.sheet == sheet)
            for (const model::CellRange& range : rule.validation.ranges)
                last = std::max(last, range.lastRow);
    return last;
}

std::vector<std::size_t> ContentValidations::rulesOfRow(std::size_t sheet, int row) const
{
    std::vector<std::size_t> covering;
    for (std::size_t k = 0; k < rules_.size(); ++k) {
        if (rules_[k].sheet != sheet)
            continue;
        for (const model::CellRange& range : rules_[k].validation.ranges)
            if (row >= range.firstRow && row <= range.lastRow) {
                covering.push_back(k);
                break;
            }
    }
    return covering;
}

} // namespace sheet::ods

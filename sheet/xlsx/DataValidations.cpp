#include "sheet/xlsx/DataValidations.h"

#include "sheet/formula/RuleFormulas.h"
#include "sheet/model/A1Notation.h"

#include <algorithm>

namespace sheet::xlsx {
namespace {

using biff::Validation;

const char* typeName(Validation::Type type)
{
    switch (type) {
    case Validation::Type::Whole: return "whole";
    case Validation::Type::Decimal: return "decimal";
    case Validation::Type::List: return "list";
    case Validation::Type::Date: return "date";
    case Validation::Type::Time: return "time";
    case Validation::Type::TextLength: return "textLength";
    case Validation::Type::Custom: return "custom";
    case Validation::Type::Any: break;
    }
    return "none";
}

const char* operatorName(Validation::Operator op)
{
    constexpr const char* names[] = {"between", "notBetween", "equal", "notEqual",
                                     "greaterThan", "lessThan", "greaterThanOrEqual", "lessThanOrEqual"};
    return names[static_cast<int>(op)];
}

bool takesOperator(Validation::Type type)
{
    return type != Validation::Type::Any && type != Validation::Type::List && type != Validation::Type::Custom;
}

bool takesSecondFormula(const Validation& rule)
{
    return takesOperator(rule.type) && (rule.op == Validation::Operator::Between || rule.op == Validation::Operator::NotBetween);
}

std::optional<std::string> text(const std::string& simple, const std::vector<std::uint8_t>& tokens, const Validation& rule,
                                const formula::SheetFormulas* formulas)
{
    if (tokens.empty())
        return simple;
    if (!formulas)
        return std::nullopt;
    const model::CellRange& first = rule.ranges.front();
    return formula::ruleFormulaText(tokens, {first.firstRow, first.firstColumn}, formulas->links(), formulas->sheetIndex(),
                                    formula::Grammar::A1);
}

// A rule with the texts of its formulas.
struct WrittenRule {
    const Validation* rule = nullptr;
    std::string formula1, formula2;
};

} // namespace

void writeDataValidations(XmlPart& xml, const std::vector<Validation>& rules, const formula::SheetFormulas* formulas)
{
    std::vector<WrittenRule> written;
    for (const Validation& rule : rules) {
        if (rule.ranges.empty())
            continue;
        const auto first = text(rule.formula1, rule.tokens1, rule, formulas);
        const auto second = text(rule.formula2, rule.tokens2, rule, formulas);
        if (first && second)
            written.push_back({&rule, *first, *second});
    }
    if (written.empty())
        return;
    xml.start("dataValidations");
    xml.attribute("count", static_cast<long long>(written.size()));
    for (const auto& [rule, formula1, formula2] : written) {
        xml.start("dataValidation");
        xml.attribute("type", typeName(rule->type));
        if (rule->errorStyle != Validation::ErrorStyle::Stop)
            xml.attribute("errorStyle", rule->errorStyle == Validation::ErrorStyle::Warning ? "warning" : "information");
        if (takesOperator(rule->type) && rule->op != Validation::Operator::Between)
            xml.attribute("operator", operatorName(rule->op));
        if (rule->allowBlank)
            xml.attribute("allowBlank", 1);
        if (rule->hideDropDown)
            xml.attribute("showDropDown", 1);
        if (rule->showPrompt)
            xml.attribute("showInputMessage", 1);
        if (rule->showError)
            xml.attribute("showErrorMessage", 1);
        if (!rule->errorTitle.empty())
            xml.attribute("errorTitle", rule->errorTitle);
        if (!rule->error.empty())
            xml.attribute("error", rule->error);
        if (!rule->promptTitle.empty())
            xml.attribute("promptTitle", rule->promptTitle);
        if (!rule->prompt.empty())
            xml.attribute("prompt", rule->prompt);
        std::string cells;
        for (const model::CellRange& range : rule->ranges)
            cells += (cells.empty() ? "" : " ") + model::rangeAddress(range);
        xml.attribute("sqref", cells);
        if (!formula1.empty())
            xml.text("formula1", formula1);
        if (takesSecondFormula(*rule) && !formula2.empty())
            xml.text("formula2", formula2);
        xml.end();
    }
    xml.end();
}

} // namespace sheet::xlsx

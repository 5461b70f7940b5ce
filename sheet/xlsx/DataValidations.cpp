#include "sheet/xlsx/DataValidations.h"

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

} // namespace

void writeDataValidations(XmlPart& xml, const std::vector<Validation>& rules)
{
    const auto written = std::count_if(rules.begin(), rules.end(), [](const Validation& rule) { return rule.written; });
    if (written == 0)
        return;
    xml.start("dataValidations");
    xml.attribute("count", static_cast<long long>(written));
    for (const Validation& rule : rules) {
        if (!rule.written)
            continue;
        xml.start("dataValidation");
        xml.attribute("type", typeName(rule.type));
        if (rule.errorStyle != Validation::ErrorStyle::Stop)
            xml.attribute("errorStyle", rule.errorStyle == Validation::ErrorStyle::Warning ? "warning" : "information");
        if (takesOperator(rule.type) && rule.op != Validation::Operator::Between)
            xml.attribute("operator", operatorName(rule.op));
        if (rule.allowBlank)
            xml.attribute("allowBlank", 1);
        if (rule.hideDropDown)
            xml.attribute("showDropDown", 1);
        if (rule.showPrompt)
            xml.attribute("showInputMessage", 1);
        if (rule.showError)
            xml.attribute("showErrorMessage", 1);
        if (!rule.errorTitle.empty())
            xml.attribute("errorTitle", rule.errorTitle);
        if (!rule.error.empty())
            xml.attribute("error", rule.error);
        if (!rule.promptTitle.empty())
            xml.attribute("promptTitle", rule.promptTitle);
        if (!rule.prompt.empty())
            xml.attribute("prompt", rule.prompt);
        std::string cells;
        for (const model::CellRange& range : rule.ranges)
            cells += (cells.empty() ? "" : " ") + model::rangeAddress(range);
        xml.attribute("sqref", cells);
        if (!rule.formula1.empty())
            xml.text("formula1", rule.formula1);
        if (takesSecondFormula(rule) && !rule.formula2.empty())
            xml.text("formula2", rule.formula2);
        xml.end();
    }
    xml.end();
}

} // namespace sheet::xlsx

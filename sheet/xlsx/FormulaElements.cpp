#include "sheet/xlsx/FormulaElements.h"

#include "sheet/Errors.h"
#include "sheet/formula/FormulaText.h"
#include "sheet/formula/TokenReader.h"
#include "sheet/model/A1Notation.h"

#include <algorithm>
#include <cmath>
#include <variant>

namespace sheet::xlsx {
namespace {

constexpr const char* MainNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* RelationshipNamespace = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* PackageRelationships = "http://schemas.openxmlformats.org/package/2006/relationships";

std::string nameFormula(const formula::DefinedName& name, const formula::WorkbookLinks& links)
{
    if (name.tokens.empty())
        return "#REF!";
    try {
        const std::vector<formula::Token> tokens = formula::readTokens(name.tokens, name.extra, {}, links.text);
        return formula::formulaText(tokens, formula::Grammar::A1, links, name.scope);
    } catch (const FormatError& error) {
        throw FormatError("defined name \"" + name.name + "\": " + error.what());
    }
}

} // namespace

void writeFormulaCell(XmlPart& xml, const formula::CellFormula& formula, const CellValue& stored)
{
    // Not a number and the infinities have no place in the format: they are the error they stand for.
    const double* number = std::get_if<double>(&stored);
    const CellValue result = number && !std::isfinite(*number) ? CellValue{ErrorCode::Number} : stored;
    if (std::holds_alternative<std::string>(result))
        xml.attribute("t", "str");
    else if (std::holds_alternative<bool>(result))
        xml.attribute("t", "b");
    else if (std::holds_alternative<ErrorCode>(result))
        xml.attribute("t", "e");
    switch (formula.kind) {
    case formula::CellFormula::Kind::Cell:
        xml.text("f", formula.text);
        break;
    case formula::CellFormula::Kind::Array:
        xml.start("f");
        xml.attribute("t", "array");
        xml.attribute("ref", model::rangeAddress(formula.range));
        xml.characters(formula.text);
        xml.end();
        break;
    case formula::CellFormula::Kind::DataTable:
        xml.empty("f");
        xml.attribute("t", "dataTable");
        xml.attribute("ref", model::rangeAddress(formula.range));
        if (formula.twoInputs)
            xml.attribute("dt2D", 1);
        if (formula.rowInput || formula.twoInputs)
            xml.attribute("dtr", 1);
        if (formula.firstDeleted)
            xml.attribute("del1", 1);
        if (formula.secondDeleted)
            xml.attribute("del2", 1);
        xml.attribute("r1", formula.firstInput);
        if (formula.twoInputs)
            xml.attribute("r2", formula.secondInput);
        break;
    }
    if (const double* number = std::get_if<double>(&result))
        xml.text("v", numberText(*number));
    else if (const std::string* text = std::get_if<std::string>(&result))
        xml.text("v", *text);
    else if (const bool* logical = std::get_if<bool>(&result))
        xml.text("v", *logical ? "1" : "0");
    else if (const ErrorCode* error = std::get_if<ErrorCode>(&result))
        xml.text("v", model::errorText(*error));
}

std::vector<ExternalLinkPart> externalLinkParts(const formula::WorkbookLinks& links)
{
    std::vector<ExternalLinkPart> parts;
    for (const formula::LinkedBook& book : links.books) {
        if (book.kind != formula::LinkedBook::Kind::External)
            continue;
        XmlPart xml("externalLink", {{"", MainNamespace}, {"r", RelationshipNamespace}});
        xml.start("externalBook");
        xml.attribute("r:id", "rId1");
        if (!book.sheets.empty()) {
            xml.start("sheetNames");
            for (const std::string& sheet : book.sheets)
                xml.value("sheetName", sheet);
            xml.end();
        }
        if (!book.names.empty()) {
            xml.start("definedNames");
            for (const std::string& name : book.names) {
                xml.empty("definedName");
                xml.attribute("name", name);
            }
            xml.end();
        }
        xml.end();
        XmlPart relationships("Relationships", {{"", PackageRelationships}});
        relationships.empty("Relationship");
        relationships.attribute("Id", "rId1");
        relationships.attribute("Type", std::string(RelationshipNamespace) + "/externalLinkPath");
        relationships.attribute("Target", book.target);
        relationships.attribute("TargetMode", "External");
        parts.push_back({"externalLink" + std::to_string(parts.size() + 1) + ".xml", xml.finish(), relationships.finish()});
    }
    return parts;
}

void writeExternalReferences(XmlPart& xml, std::size_t links, int firstId)
{
    if (links == 0)
        return;
    xml.start("externalReferences");
    for (std::size_t k = 0; k < links; ++k) {
        xml.empty("externalReference");
        xml.attribute("r:id", "rId" + std::to_string(firstId + static_cast<int>(k)));
    }
    xml.end();
}

void writeDefinedNames(XmlPart& xml, const formula::WorkbookLinks& links)
{
    bool started = false;
    for (const formula::DefinedName& name : links.names) {
        if (name.standsForFunction())
            continue;
        if (!started)
            xml.start("definedNames");
        started = true;
        xml.start("definedName");
        xml.attribute("name", formula::writtenName(name, formula::Grammar::A1));
        if (name.function)
            xml.attribute("function", 1);
        if (name.procedure)
            xml.attribute("vbProcedure", 1);
        if (name.scope >= 0)
            xml.attribute("localSheetId", name.scope);
        if (name.hidden)
            xml.attribute("hidden", 1);
        xml.characters(nameFormula(name, links));
        xml.end();
    }
    if (started)
        xml.end();
}

void writeCalculation(XmlPart& xml, const model::Workbook& workbook)
{
    const bool changed = workbook.modified
        || std::any_of(workbook.sheets.begin(), workbook.sheets.end(), [](const model::Sheet& sheet) { return sheet.modified; });
    const bool formulas = std::any_of(workbook.sheets.begin(), workbook.sheets.end(),
                                      [](const model::Sheet& sheet) { return !sheet.formulas.empty(); });
    if (!changed || !formulas)
        return;
    xml.empty("calcPr");
    xml.attribute("fullCalcOnLoad", 1);
}

} // namespace sheet::xlsx

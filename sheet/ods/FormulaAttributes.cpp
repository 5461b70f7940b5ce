#include "sheet/ods/FormulaAttributes.h"

#include "sheet/Errors.h"
#include "sheet/formula/FormulaText.h"
#include "sheet/formula/TokenReader.h"

namespace sheet::ods {
namespace {

// "$Sheet1.$A$1": the cell that a name's relative references start from.
QString baseCell(const formula::WorkbookLinks& links, int scope)
{
    const std::size_t sheet = scope >= 0 ? static_cast<std::size_t>(scope) : 0;
    const std::string name = sheet < links.sheetNames.size() ? links.sheetNames[sheet] : std::string("Sheet1");
    return QString::fromStdString("$" + formula::quotedSheetName(name, formula::Grammar::OpenFormula) + ".$A$1");
}

void writeName(QXmlStreamWriter& xml, const formula::DefinedName& name, const formula::WorkbookLinks& links)
{
    const QString written = QString::fromStdString(formula::writtenName(name, formula::Grammar::OpenFormula));
    std::string text = "#REF!";
    try {
        if (!name.tokens.empty()) {
            const std::vector<formula::Token> tokens = formula::readTokens(name.tokens, name.extra, {}, links.text);
            std::string address;
            if (formula::openFormulaRangeAddress(tokens, links, address)) {
                xml.writeStartElement(QStringLiteral("table:named-range"));
                xml.writeAttribute(QStringLiteral("table:name"), written);
                xml.writeAttribute(QStringLiteral("table:base-cell-address"), baseCell(links, name.scope));
                xml.writeAttribute(QStringLiteral("table:cell-range-address"), QString::fromStdString(address));
                xml.writeEndElement();
                return;
            }
            text = formula::formulaText(tokens, formula::Grammar::OpenFormula, links, name.scope);
        }
    } catch (const FormatError& error) {
        throw FormatError("defined name \"" + name.name + "\": " + error.what());
    }
    xml.writeStartElement(QStringLiteral("table:named-expression"));
    xml.writeAttribute(QStringLiteral("table:name"), written);
    xml.writeAttribute(QStringLiteral("table:base-cell-address"), baseCell(links, name.scope));
    xml.writeAttribute(QStringLiteral("table:expression"), QString::fromStdString("of:=" + text));
    xml.writeEndElement();
}

} // namespace

void writeFormulaAttributes(QXmlStreamWriter& xml, const formula::CellFormula& formula)
{
    xml.writeAttribute(QStringLiteral("table:formula"), QString::fromStdString("of:=" + formula.text));
    if (formula.kind == formula::CellFormula::Kind::Array) {
        xml.writeAttribute(QStringLiteral("table:number-matrix-columns-spanned"),
                           QString::number(formula.range.lastColumn - formula.range.firstColumn + 1));
        xml.writeAttribute(QStringLiteral("table:number-matrix-rows-spanned"),
                           QString::number(formula.range.lastRow - formula.range.firstRow + 1));
    }
}

void writeNamedExpressions(QXmlStreamWriter& xml, const formula::WorkbookLinks& links, int scope)
{
    bool started = false;
    for (const formula::DefinedName& name : links.names) {
        if (name.scope != scope || name.standsForFunction())
            continue;
        if (!started)
            xml.writeStartElement(QStringLiteral("table:named-expressions"));
        started = true;
        writeName(xml, name, links);
    }
    if (started)
        xml.writeEndElement();
}

} // namespace sheet::ods

#include "sheet/xlsx/Unsupported.h"

#include "sheet/Errors.h"

namespace sheet::xlsx {
namespace {

const std::string Unwritable = ", which cannot be written as .xlsx yet";

std::string quoted(const std::string& name)
{
    return "\"" + name + "\"";
}

} // namespace

void refuseSheet(const model::Sheet& sheet)
{
    const char* kind = sheet.kind == model::SheetKind::Chart   ? "a chart sheet"
                       : sheet.kind == model::SheetKind::Macro ? "a macro sheet"
                                                               : "a sheet of a kind the engine does not know";
    throw FormatError("the sheet " + quoted(sheet.name) + " is " + kind + Unwritable);
}

void refuseChart(const model::Sheet& sheet, int chartNumber)
{
    throw FormatError("the chart " + quoted("Chart " + std::to_string(chartNumber)) + " on sheet " + quoted(sheet.name) +
                      " is " + model::chartTypeName(model::ChartType::Other) + Unwritable);
}

void refuseUnplacedChart(const model::Sheet& sheet, int chartNumber, bool excel95)
{
    throw FormatError("the chart " + quoted("Chart " + std::to_string(chartNumber)) + " on sheet " + quoted(sheet.name) +
                      (excel95 ? " is an Excel 95 chart" : " has no place on the sheet") + Unwritable);
}

void refuseDrawing(const model::Sheet& sheet, const model::DrawingObject& object)
{
    throw FormatError("the sheet " + quoted(sheet.name) + " holds " + model::drawingKindName(object.objectType) + " (shape " +
                      std::to_string(object.shapeId) + ")" + (object.excel95 ? " in the Excel 95 format" : "") + Unwritable);
}

} // namespace sheet::xlsx

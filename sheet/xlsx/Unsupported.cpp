#include "sheet/xlsx/Unsupported.h"

#include "sheet/Errors.h"

namespace sheet::xlsx {
namespace {

const std::string Unwritable = ", which cannot be written as .xlsx yet";

std::string quoted(const std::string& name)
{
    return "\"" + name + "\"";
}

std::string objectKind(int objectType)
{
    switch (objectType) {
    case 1: return "a line";
    case 2: return "a rectangle";
    case 3: return "an oval";
    case 4: return "an arc";
    case 5: return "a chart";
    case 6: return "a text box";
    case 7: return "a button";
    case 8: return "a picture";
    case 9: return "a polygon";
    case 11: return "a form control (a check box)";
    case 12: return "a form control (an option button)";
    case 13: return "a form control (an edit box)";
    case 14: return "a form control (a label)";
    case 15: return "a form control (a dialog frame)";
    case 16: return "a form control (a spinner)";
    case 17: return "a form control (a scroll bar)";
    case 18: return "a form control (a list box)";
    case 19: return "a form control (a group box)";
    case 20: return "a form control (a drop-down list)";
    case 25: return "a comment";
    default: return "a drawing object";
    }
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
    throw FormatError("the sheet " + quoted(sheet.name) + " holds " + objectKind(object.objectType) + " (shape " +
                      std::to_string(object.shapeId) + ")" + Unwritable);
}

} // namespace sheet::xlsx

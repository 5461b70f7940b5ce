#include "sheet/model/Drawing.h"

namespace sheet::model {
namespace {

constexpr int OfficeShape = 30;

} // namespace


Figure figureOf(const DrawingObject& object)
{
    if (object.excel95)
        return Figure::None;
    switch (object.objectType) {
    case DrawingObject::Line: return Figure::Line;
    case DrawingObject::Rectangle: return Figure::Rectangle;
    case DrawingObject::Oval: return Figure::Ellipse;
    case DrawingObject::Arc: return Figure::Arc;
    case DrawingObject::TextBox: return Figure::TextBox;
    case DrawingObject::Button: return Figure::Button;
    case DrawingObject::PictureKind: return object.picture >= 0 ? Figure::Picture : Figure::None;
    case OfficeShape:
        // Excel's own shapes, by their OfficeArt shape type.
        switch (object.shapeType) {
        case 1: return Figure::Rectangle;
        case 2: return Figure::RoundedRectangle;
        case 3: return Figure::Ellipse;
        case 19: return Figure::Arc;
        case 20: case 32: return Figure::Line;
        case 75: return object.picture >= 0 ? Figure::Picture : Figure::None;
        case 202: return Figure::TextBox;
        default: return Figure::None;
        }
    default: return Figure::None;
    }
}

std::string drawingKindName(int objectType)
{
    switch (objectType) {
    case 0: return "a group of shapes";
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
    case 30: return "a drawing object (an Office shape)";
    default: return "a drawing object";
    }
}

} // namespace sheet::model

#pragma once

#include "sheet/model/Drawing.h"
#include "sheet/model/Workbook.h"
#include "sheet/xlsx/XmlPart.h"

#include <string>

namespace sheet::xlsx {

// A drawing object that is no chart, inside its anchor in a drawing part: a picture (xdr:pic, its image
// the drawing's relationship `image`, its crop as the part of the image it shows), a line (xdr:cxnSp,
// with its arrowheads) or a shape (xdr:sp: rectangle, rounded rectangle, ellipse or arc) with its fill,
// outline and text. Text boxes and buttons are rectangles with text. `id` is unique in the drawing.
void writeShape(XmlPart& xml, const model::Workbook& workbook, const model::DrawingObject& object, int id,
                const std::string& name, const std::string& image);

// The name a drawing object is written under: its own, else its kind and number ("Picture 3").
std::string shapeName(const model::DrawingObject& object, int number);

} // namespace sheet::xlsx

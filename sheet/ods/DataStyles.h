#pragma once

#include "sheet/model/Palette.h"

#include <QXmlStreamWriter>

#include <string>

namespace sheet::ods {

// Writes a number format code as the OpenDocument data style `name`. Each section of the code becomes a
// style of its own (`name` + "P0", "P1", ...), chosen by `style:map` conditions as the code chooses
// them: positive, negative (shown without its minus sign), zero and text. Placeholders, grouping,
// scaling, percent, exponents, fills, paddings, literal text such as a currency sign (as text, the way
// the code shows it), colours, dates and times are kept;
// literal text between digit placeholders goes behind the number, and a fourth text section that a
// condition cannot reach is left to show the text as it is.
void writeDataStyle(QXmlStreamWriter& xml, const std::string& name, const std::string& code, const model::Palette& palette);

} // namespace sheet::ods

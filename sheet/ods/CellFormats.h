#pragma once

#include "sheet/model/Workbook.h"
#include "sheet/ods/StyleSheet.h"

#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace sheet::ods {

// The cell styles of a package as the workbook's fonts, number formats and cell formats (XFs), their
// colours in its palette. The workbook gets the fifteen style formats and the default cell format (15)
// from the style "Default"; each cell style that a cell, row or column names becomes a cell format of its
// own, made when first asked for, and remembers the name it came from.
class CellFormats {
public:
    CellFormats(const StyleSheet& styles, model::Workbook& workbook);

    // The cell format of a cell style; the default cell format for the empty name.
    int xf(const QString& styleName);
    // The font of a text style's properties (a span of rich text), added when new.
    int textFont(const QString& styleName);
    // The cell style that each cell format came from, by index; empty for the style formats.
    const std::vector<QString>& styleNames() const { return names_; }
    // The palette index of a colour ("#rrggbb"), taking a free entry for a colour that is not there yet.
    int colourIndex(QStringView colour);

private:
    model::Xf xfOf(const std::map<QString, QString>& properties, const QString& dataStyle);
    int fontOf(const std::map<QString, QString>& properties);

    const StyleSheet& styles_;
    model::Workbook& workbook_;
    std::map<QString, int> byName_;
    std::map<QString, int> textFonts_;
    std::vector<QString> names_;
    int nextFreeColour_ = 63;
};

// The 20 bytes of an XF record that hold the parts of `xf`, for writers of the older format.
std::array<std::uint8_t, 20> xfRecordBytes(const model::Xf& xf);

} // namespace sheet::ods

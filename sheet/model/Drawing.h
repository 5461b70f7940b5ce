#pragma once

#include "sheet/model/RichText.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sheet::model {

// Where a drawing object lies: from a corner inside (col1, row1) to one inside (col2, row2).
// dx is in 1/1024 of the column's width, dy in 1/256 of the row's height.
struct Anchor {
    int col1 = 0, dx1 = 0, row1 = 0, dy1 = 0;
    int col2 = 0, dx2 = 0, row2 = 0, dy2 = 0;
};

// How a shape is drawn: its fill and its outline. Colours are 0xRRGGBB.
struct ShapeLook {
    std::optional<std::uint32_t> fill; // nothing: not filled
    std::optional<std::uint32_t> line; // nothing: no outline
    int lineWidth = 9525;              // EMU (12700 to the point)
    bool arrowAtStart = false;         // of a line
    bool arrowAtEnd = false;
    bool flipHorizontal = false;       // a line runs from its anchor's top-right corner to the bottom-left
    bool flipVertical = false;         // a line runs from the bottom corner up
};

// How a shape's text lies in it: across (left, centred, right, justified) and down (top, middle, bottom).
struct TextPlacement {
    enum Across { Left = 1, Centre = 2, Right = 3, Justified = 4 };
    enum Down { Top = 1, Middle = 2, Bottom = 3 };
    int across = Left;
    int down = Top;
};

// What part of a picture is cut away on each side, as a fraction of its width or height.
struct Crop {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool any() const { return left != 0 || top != 0 || right != 0 || bottom != 0; }
};

// A drawing object of a sheet (a shape, a picture, a text box or an embedded chart).
struct DrawingObject {
    // The OBJ record's kinds that the packages draw as shapes of their own.
    static constexpr int Line = 1, Rectangle = 2, Oval = 3, Arc = 4, ChartKind = 5, TextBox = 6, Button = 7,
                         PictureKind = 8, Group = 0, DropDown = 20, CommentBox = 25;

    Anchor anchor;
    int shapeId = 0;
    int shapeType = 0;   // the OfficeArt shape type (instance of the shape record)
    int objectType = -1; // the OBJ record's ot: 5 chart, 6 text box, 8 picture, ...; -1 when none came with it
    int chartIndex = -1; // index into Sheet::charts for an embedded chart
    bool filterArrow = false; // an AutoFilter's drop-down arrow, which belongs to the sheet's filter
    std::string name;         // as the shape is named in the drawing, empty when it has none
    int picture = -1;         // index into Workbook::pictures of a picture's image, -1 when none
    Crop crop;
    ShapeLook look;
    std::vector<TextRun> text; // of a text box, a shape with text or a button
    TextPlacement textPlacement;
    bool runsMacro = false;    // a button or shape that runs a macro when clicked
    bool excel95 = false;      // an object of an Excel 95 sheet, whose image and text the engine does not read
};

// The figure that the packages draw a drawing object as; None for one they cannot draw (a chart and a
// comment's box are written with the chart and the comment).
enum class Figure { None, Picture, Line, Rectangle, RoundedRectangle, Ellipse, Arc, TextBox, Button };
Figure figureOf(const DrawingObject& object);

// The name spreadsheet users know an OBJ record's kind by ("a picture", "a text box"); "a drawing
// object" for one without a name of its own.
std::string drawingKindName(int objectType);

} // namespace sheet::model

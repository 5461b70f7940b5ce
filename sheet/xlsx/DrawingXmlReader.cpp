#include "sheet/xlsx/DrawingXmlReader.h"

#include "sheet/layout/SheetGeometry.h"
#include "sheet/xlsx/XmlStream.h"

#include <algorithm>
#include <cmath>

namespace sheet::xlsx {
namespace {

constexpr double EmuPerPixel = 9525;
constexpr double EmuPerTwip = 635;
constexpr int DefaultDigitWidth = 7;
constexpr int LastColumn = 255;
constexpr int LastRow = 65535;

struct Corner {
    long long column = 0, columnOffset = 0, row = 0, rowOffset = 0;
};

class DrawingParser {
public:
    explicit DrawingParser(const model::Sheet& sheet) : sheet_(sheet), geometry_(sheet, DefaultDigitWidth) {}

    void token(const QXmlStreamReader& reader)
    {
        const QStringView name = reader.name();
        if (reader.isStartElement()) {
            text_.clear();
            if (name == u"twoCellAnchor" || name == u"oneCellAnchor" || name == u"absoluteAnchor") {
                anchor_ = Anchor{};
                anchor_.kind = name == u"twoCellAnchor" ? 2 : name == u"oneCellAnchor" ? 1 : 0;
                inAnchor_ = true;
            } else if (name == u"from") {
                corner_ = &anchor_.from;
            } else if (name == u"to") {
                corner_ = &anchor_.to;
            } else if (name == u"ext" && inAnchor_ && !inGraphic_) {
                anchor_.width = attributeNumber(reader, u"cx", 0);
                anchor_.height = attributeNumber(reader, u"cy", 0);
            } else if (name == u"pos" && inAnchor_) {
                anchor_.x = attributeNumber(reader, u"x", 0);
                anchor_.y = attributeNumber(reader, u"y", 0);
            } else if (name == u"graphicFrame") {
                inGraphic_ = true;
            } else if (name == u"cNvPr" && inGraphic_) {
                anchor_.name = attributeText(reader, u"name");
            } else if (name == u"chart" && inGraphic_) {
                anchor_.chart = relationshipId(reader);
            }
        } else if (reader.isCharacters()) {
            text_ += reader.text();
        } else if (reader.isEndElement()) {
            if (corner_) {
                bool ok = false;
                const long long number = text_.trimmed().toLongLong(&ok);
                if (ok) {
                    if (name == u"col") corner_->column = number;
                    else if (name == u"colOff") corner_->columnOffset = number;
                    else if (name == u"row") corner_->row = number;
                    else if (name == u"rowOff") corner_->rowOffset = number;
                }
            }
            if (name == u"from" || name == u"to")
                corner_ = nullptr;
            else if (name == u"graphicFrame")
                inGraphic_ = false;
            else if ((name == u"twoCellAnchor" || name == u"oneCellAnchor" || name == u"absoluteAnchor") && inAnchor_) {
                inAnchor_ = false;
                if (!anchor_.chart.empty())
                    charts.push_back({placed(), anchor_.chart, anchor_.name});
            }
            text_.clear();
        }
    }

    std::vector<PlacedChart> charts;

private:
    struct Anchor {
        int kind = 2;
        Corner from, to;
        long long width = 0, height = 0, x = 0, y = 0;
        std::string chart, name;
    };

    double columnEmu(long long column) const { return geometry_.columnWidth(static_cast<int>(column)) * EmuPerPixel; }
    double rowEmu(long long row) const
    {
        const int at = static_cast<int>(row);
        return sheet_.rowHidden(at) ? 0.0 : sheet_.rowHeight(at) * EmuPerTwip;
    }

    // The corner `emu` right of and below the top-left of (row, column) as a cell and an offset into it.
    Corner walked(long long column, double columnOffset, long long row, double rowOffset) const
    {
        Corner corner;
        column = std::clamp(column, 0LL, static_cast<long long>(LastColumn));
        row = std::clamp(row, 0LL, static_cast<long long>(LastRow));
        while (column < LastColumn && columnEmu(column) > 0 && columnOffset >= columnEmu(column)) {
            columnOffset -= columnEmu(column);
            ++column;
        }
        while (row < LastRow && rowEmu(row) > 0 && rowOffset >= rowEmu(row)) {
            rowOffset -= rowEmu(row);
            ++row;
        }
        corner.column = column;
        corner.row = row;
        corner.columnOffset = std::lround(std::max(0.0, columnOffset));
        corner.rowOffset = std::lround(std::max(0.0, rowOffset));
        return corner;
    }

    void toSheetUnits(const Corner& corner, int& column, int& dx, int& row, int& dy) const
    {
        column = static_cast<int>(std::clamp(corner.column, 0LL, static_cast<long long>(LastColumn)));
        row = static_cast<int>(std::clamp(corner.row, 0LL, static_cast<long long>(LastRow)));
        const double width = columnEmu(column);
        const double height = rowEmu(row);
        dx = width > 0 ? static_cast<int>(std::clamp(std::lround(corner.columnOffset * 1024.0 / width), 0L, 1023L)) : 0;
        dy = height > 0 ? static_cast<int>(std::clamp(std::lround(corner.rowOffset * 256.0 / height), 0L, 255L)) : 0;
    }

    model::Anchor placed() const
    {
        Corner from = anchor_.from;
        Corner to = anchor_.to;
        if (anchor_.kind == 0)
            from = walked(0, static_cast<double>(anchor_.x), 0, static_cast<double>(anchor_.y));
        if (anchor_.kind != 2)
            to = walked(from.column, static_cast<double>(from.columnOffset + anchor_.width), from.row,
                        static_cast<double>(from.rowOffset + anchor_.height));
        model::Anchor anchor;
        toSheetUnits(from, anchor.col1, anchor.dx1, anchor.row1, anchor.dy1);
        toSheetUnits(to, anchor.col2, anchor.dx2, anchor.row2, anchor.dy2);
        return anchor;
    }

    const model::Sheet& sheet_;
    layout::SheetGeometry geometry_;
    Anchor anchor_;
    Corner* corner_ = nullptr;
    bool inAnchor_ = false;
    bool inGraphic_ = false;
    QString text_;
};

} // namespace

std::vector<PlacedChart> readDrawingPart(const zip::ZipReader& package, const std::string& part, const model::Sheet& sheet)
{
    DrawingParser parser(sheet);
    readXmlPart(package, package.spelling(part), [&parser](const QXmlStreamReader& reader) { parser.token(reader); });
    return std::move(parser.charts);
}

} // namespace sheet::xlsx

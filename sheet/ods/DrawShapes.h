#pragma once

#include "sheet/model/Comment.h"
#include "sheet/model/Workbook.h"

#include <QRectF>
#include <QString>
#include <QXmlStreamWriter>

#include <map>
#include <string>
#include <vector>

namespace sheet::ods {

// Where a shape lies: its first cell, its box in points from that cell's top-left corner, and the cell
// and offset (points) its bottom-right corner lies in.
struct ShapePlace {
    QRectF area;
    QString endCell;
    double endX = 0;
    double endY = 0;
};

// A file of the package's Pictures folder.
struct PictureFile {
    std::string path; // "Pictures/image1.png"
    std::string mediaType;
    const std::vector<std::uint8_t>* bytes = nullptr;
};

// The pictures, shapes and comments of a workbook's sheets as OpenDocument draws them: a picture as a
// frame with its image (kept once in Pictures/, however many sheets show it) and its crop, a line with its
// arrowheads, a rectangle, ellipse or arc with its fill, outline and text, a text box or button as a frame
// with a text box, and a comment as an annotation. Each look is a graphic style, each font of their text a
// text style, named for the content's automatic styles.
class DrawShapes {
public:
    explicit DrawShapes(const model::Workbook& workbook);

    // Whether the object is a picture or shape that this writes (a picture needs its image).
    bool drawable(const model::DrawingObject& object) const;
    void writeStyles(QXmlStreamWriter& xml) const;
    void writeShape(QXmlStreamWriter& xml, const model::DrawingObject& object, const ShapePlace& place, int zIndex) const;
    // `box` is where the comment's box lies on the sheet, in points; empty when it has no place.
    void writeAnnotation(QXmlStreamWriter& xml, const model::Comment& comment, const QRectF& box) const;
    const std::vector<PictureFile>& files() const { return files_; }
    bool hasComments() const { return comments_; }
    bool hasArrowheads() const { return arrowheads_; }

private:
    void addText(const std::vector<model::TextRun>& runs);
    // `across`: a TextPlacement::Across.
    void writeText(QXmlStreamWriter& xml, const std::vector<model::TextRun>& runs, int across) const;
    static std::string fontKey(const model::Font& font);
    static std::string lookKey(const model::DrawingObject& object);

    const model::Workbook& workbook_;
    std::map<std::string, std::pair<QString, const model::DrawingObject*>> looks_; // graphic styles, by look
    std::map<std::string, std::pair<QString, model::Font>> textStyles_;              // by font
    std::map<int, std::string> pictures_;           // the path of each picture of the store shown
    std::vector<PictureFile> files_;
    bool comments_ = false;
    bool arrowheads_ = false;
    bool text_ = false; // a shape has text
};

} // namespace sheet::ods

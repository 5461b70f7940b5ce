#pragma once

#include <QByteArray>
#include <QPicture>
#include <QRect>
#include <QSize>

#include <utility>
#include <vector>

class QPainter;

namespace sheet::render {

// Takes a drawing as it is recorded: its size first, then each part in order, so that a long one
// can be written without being held whole.
class DrawingSink {
public:
    virtual ~DrawingSink() = default;
    virtual void begin(QSize size) = 0;
    virtual void add(const QPicture& part) = 0;
};

// A picture as recorded drawing, in parts: bands of rows, then the drawing objects over them.
// Each part's bounding rectangle says where it draws, so that showing a piece of a long sheet
// plays only the parts over that piece. Units are pixels at 96 dots per inch, from (0, 0).
struct SheetDrawing final : DrawingSink {
    QSize size;
    std::vector<QPicture> parts;

    SheetDrawing() = default;
    SheetDrawing(QSize drawn, std::vector<QPicture> recorded) : size(drawn), parts(std::move(recorded)) {}

    // Kept as it is recorded.
    void begin(QSize drawn) override { size = drawn; }
    void add(const QPicture& part) override { parts.push_back(part); }

    bool isEmpty() const { return parts.empty(); }
    // Plays the parts that draw within the area, in their order.
    void play(QPainter& painter, const QRectF& area) const;
    static bool drawsWithin(const QPicture& part, const QRectF& area);

    // The drawing as the bytes of a file of its own: "TDRW", the size and the number of parts,
    // then each part as a length and a recorded QPicture.
    QByteArray toBytes() const;
    // Such bytes back; an empty drawing when they are not such a file.
    static SheetDrawing fromBytes(const QByteArray& bytes);
    static bool looksLikeDrawing(const QByteArray& bytes);
};

}  // namespace sheet::render

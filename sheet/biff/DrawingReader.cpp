#include "sheet/biff/DrawingReader.h"

#include "sheet/biff/RecordTypes.h"
#include "sheet/io/ByteReader.h"

#include <algorithm>
#include <utility>

namespace sheet::biff {
namespace {

constexpr std::uint16_t ShapeContainer = 0xF004;
constexpr std::uint16_t ShapeRecord = 0xF00A;
constexpr std::uint16_t ClientAnchor = 0xF010;
constexpr std::uint16_t ClientData = 0xF011;
constexpr std::uint16_t Properties = 0xF00B;
constexpr std::uint16_t TertiaryProperties = 0xF122;
constexpr int MaxNesting = 16;

struct Walker {
    std::vector<ClientShape> shapes;

    void walk(std::span<const std::uint8_t> bytes, int depth, ClientShape* shape, bool* hasClientData)
    {
        io::ByteReader reader(bytes, "a drawing record");
        while (reader.remaining() >= 8) {
            const std::uint16_t versionAndInstance = reader.u16();
            const std::uint16_t type = reader.u16();
            // A record may claim more than is left: the drawing of a damaged sheet, or a container whose
            // last shape is cut short; what is there is read.
            const std::uint32_t claimed = reader.u32();
            const std::size_t length = std::min<std::size_t>(claimed, reader.remaining());
            const auto body = reader.bytes(length);
            if ((versionAndInstance & 0x0F) == 0x0F) {
                if (depth >= MaxNesting)
                    continue;
                if (type == ShapeContainer) {
                    ClientShape inner;
                    bool clientData = false;
                    walk(body, depth + 1, &inner, &clientData);
                    if (clientData)
                        shapes.push_back(inner);
                } else {
                    walk(body, depth + 1, nullptr, nullptr);
                }
            } else if (shape && type == ShapeRecord && body.size() >= 4) {
                shape->shapeType = versionAndInstance >> 4;
                io::ByteReader record(body, "a shape record");
                shape->shapeId = static_cast<int>(record.u32() & 0x7FFFFFFF);
                if (body.size() >= 8)
                    shape->flags = record.u32();
            } else if (shape && (type == Properties || type == TertiaryProperties)) {
                shape->properties.read(body, versionAndInstance >> 4);
            } else if (shape && type == ClientAnchor && body.size() >= 18) {
                io::ByteReader record(body, "a client anchor");
                record.u16();
                model::Anchor anchor;
                anchor.col1 = record.u16();
                anchor.dx1 = record.u16();
                anchor.row1 = record.u16();
                anchor.dy1 = record.u16();
                anchor.col2 = record.u16();
                anchor.dx2 = record.u16();
                anchor.row2 = record.u16();
                anchor.dy2 = record.u16();
                // A corner that lies before the other (as some writers leave a shape they shrank past its
                // start) spans the same box from the other side.
                if (std::pair(anchor.col2, anchor.dx2) < std::pair(anchor.col1, anchor.dx1)) {
                    std::swap(anchor.col1, anchor.col2);
                    std::swap(anchor.dx1, anchor.dx2);
                }
                if (std::pair(anchor.row2, anchor.dy2) < std::pair(anchor.row1, anchor.dy1)) {
                    std::swap(anchor.row1, anchor.row2);
                    std::swap(anchor.dy1, anchor.dy2);
                }
                shape->anchor = anchor;
            } else if (hasClientData && type == ClientData) {
                *hasClientData = true;
            }
        }
    }
};

} // namespace

std::vector<ClientShape> readClientShapes(std::span<const std::uint8_t> drawing)
{
    Walker walker;
    walker.walk(drawing, 0, nullptr, nullptr);
    return walker.shapes;
}

void SheetDrawingData::take(std::uint16_t type, std::span<const std::uint8_t> body)
{
    if (type == rt::MsoDrawing) {
        bytes_.insert(bytes_.end(), body.begin(), body.end());
        inDrawing_ = true;
        textCharacters_ = runBytes_ = 0;
        return;
    }
    if (type == rt::TxO) {
        // The text and its runs follow in CONTINUE records of their own: the characters, each record
        // starting with a byte that tells whether they are stored as one byte or two, then the runs.
        io::ByteReader reader(body, "a TXO record");
        if (body.size() >= 14) {
            reader.skip(10);
            textCharacters_ = reader.u16();
            runBytes_ = textCharacters_ ? reader.u16() : 0;
        }
        return;
    }
    if (type != rt::Continue) {
        inDrawing_ = type == rt::Obj && inDrawing_;
        textCharacters_ = runBytes_ = 0;
        return;
    }
    if (textCharacters_) {
        const std::size_t width = !body.empty() && (body[0] & 0x01) ? 2 : 1;
        const std::size_t characters = body.empty() ? 0 : (body.size() - 1) / width;
        // A record that brings no character would leave the text waiting for ever.
        textCharacters_ = characters ? textCharacters_ - std::min(characters, textCharacters_) : 0;
    } else if (runBytes_) {
        runBytes_ -= std::min(body.size(), runBytes_);
    } else if (inDrawing_) {
        bytes_.insert(bytes_.end(), body.begin(), body.end());
    }
}

} // namespace sheet::biff

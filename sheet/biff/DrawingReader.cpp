#include "sheet/biff/DrawingReader.h"

#include "sheet/io/ByteReader.h"

#include <algorithm>

namespace sheet::biff {
namespace {

constexpr std::uint16_t ShapeContainer = 0xF004;
constexpr std::uint16_t ShapeRecord = 0xF00A;
constexpr std::uint16_t ClientAnchor = 0xF010;
constexpr std::uint16_t ClientData = 0xF011;
constexpr int MaxNesting = 16;

struct Walker {
    std::vector<ClientShape> shapes;

    void walk(std::span<const std::uint8_t> bytes, int depth, ClientShape* shape, bool* hasClientData)
    {
        io::ByteReader reader(bytes, "a drawing record");
        while (reader.remaining() >= 8) {
            const std::uint16_t versionAndInstance = reader.u16();
            const std::uint16_t type = reader.u16();
            const std::size_t length = std::min<std::size_t>(reader.u32(), reader.remaining());
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

} // namespace sheet::biff

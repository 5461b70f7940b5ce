#include "sheet/biff/DrawingRecords.h"

#include "sheet/io/ByteWriter.h"

#include <span>
#include <utility>

namespace sheet::biff {
namespace {

constexpr std::uint16_t DggContainer = 0xF000, Dgg = 0xF006, Opt = 0xF00B, SplitMenuColors = 0xF11E,
                        DgContainer = 0xF002, Dg = 0xF008, SpgrContainer = 0xF003, SpContainer = 0xF004,
                        Spgr = 0xF009, Sp = 0xF00A, ClientAnchor = 0xF010, ClientData = 0xF011,
                        ClientTextBox = 0xF00D;
constexpr std::uint16_t HostControlShape = 201; // the shape type of an embedded chart
constexpr std::uint16_t TextBoxShape = 202;     // ... and of a comment's box
constexpr std::uint32_t ShapesPerCluster = 1024;

void header(io::ByteWriter& w, std::uint16_t version, std::uint16_t instance, std::uint16_t type, std::uint32_t length)
{
    w.u16(static_cast<std::uint16_t>(version | (instance << 4)));
    w.u16(type);
    w.u32(length);
}

// The properties of a chart's shape, as Excel gives them: locked against grouping, no fill or line of its
// own (the chart draws its own area), printed.
constexpr std::pair<std::uint16_t, std::uint32_t> ChartShapeProperties[] = {
    {0x007F, 0x01040104}, {0x00BF, 0x00080008}, {0x0181, 0x0800004E}, {0x0183, 0x0800004D}, {0x01BF, 0x00110010},
    {0x01C0, 0x0800004D}, {0x01FF, 0x00080008}, {0x023F, 0x00020000}, {0x03BF, 0x00080000}};

// ... and of a comment's box: its text, a light yellow fill and a shadow, hidden unless always shown.
constexpr std::pair<std::uint16_t, std::uint32_t> CommentShapeProperties[] = {
    {0x0080, 0x00000000}, {0x00BF, 0x00080008}, {0x0158, 0x00000000}, {0x0181, 0x08000050},
    {0x0183, 0x08000050}, {0x01BF, 0x00100010}, {0x023F, 0x00030003}, {0x03BF, 0x00020000}};

constexpr std::uint32_t GroupShapeSize = 8 + (8 + 16) + (8 + 8);

std::uint32_t propertiesSize(SheetShape::Kind kind)
{
    return 6 * static_cast<std::uint32_t>(kind == SheetShape::Kind::Chart ? std::size(ChartShapeProperties)
                                                                           : std::size(CommentShapeProperties));
}

// A shape's container, the comment's text box that follows in a record of its own included.
std::uint32_t shapeSize(SheetShape::Kind kind)
{
    return 8 + (8 + 8) + (8 + propertiesSize(kind)) + (8 + 18) + 8 + (kind == SheetShape::Kind::Comment ? 8 : 0);
}

std::uint32_t firstShapeId(int drawingId)
{
    return static_cast<std::uint32_t>(drawingId) * ShapesPerCluster;
}

} // namespace

std::vector<std::uint8_t> drawingGroupBody(const std::vector<std::size_t>& shapesPerDrawing)
{
    std::vector<std::uint8_t> body;
    io::ByteWriter w(body);
    const auto clusters = static_cast<std::uint32_t>(shapesPerDrawing.size());
    std::uint32_t shapes = 0;
    for (std::size_t count : shapesPerDrawing)
        shapes += static_cast<std::uint32_t>(count + 1);
    const std::uint32_t dggSize = 16 + 8 * clusters;
    const std::uint32_t optSize = 3 * 6;
    const std::uint32_t colourSize = 4 * 4;
    header(w, 0xF, 0, DggContainer, (8 + dggSize) + (8 + optSize) + (8 + colourSize));
    header(w, 0, 0, Dgg, dggSize);
    w.u32(firstShapeId(static_cast<int>(clusters) + 1)); // the next free shape id
    w.u32(clusters + 1);
    w.u32(shapes);
    w.u32(clusters);
    for (std::uint32_t k = 0; k < clusters; ++k) {
        w.u32(k + 1);
        w.u32(static_cast<std::uint32_t>(shapesPerDrawing[k] + 1));
    }
    header(w, 3, 3, Opt, optSize); // the default text, fill and line colours
    w.u16(0x00BF);
    w.u32(0x00080008);
    w.u16(0x0181);
    w.u32(0x08000041);
    w.u16(0x01C0);
    w.u32(0x08000040);
    header(w, 0, 4, SplitMenuColors, colourSize);
    for (std::uint32_t colour : {0x0800000Du, 0x0800000Cu, 0x08000017u, 0x100000F7u})
        w.u32(colour);
    return body;
}

std::vector<std::uint8_t> shapeBody(int drawingId, const std::vector<SheetShape>& shapes, std::size_t index)
{
    std::vector<std::uint8_t> body;
    io::ByteWriter w(body);
    const std::uint32_t first = firstShapeId(drawingId);
    const SheetShape& shape = shapes[index];
    if (index == 0) {
        std::uint32_t groupSize = GroupShapeSize;
        for (const SheetShape& each : shapes)
            groupSize += shapeSize(each.kind);
        const auto count = static_cast<std::uint32_t>(shapes.size());
        header(w, 0xF, 0, DgContainer, (8 + 8) + (8 + groupSize));
        header(w, 0, static_cast<std::uint16_t>(drawingId), Dg, 8);
        w.u32(count + 1);     // shapes
        w.u32(first + count); // the last shape id
        header(w, 0xF, 0, SpgrContainer, groupSize);
        header(w, 0xF, 0, SpContainer, GroupShapeSize - 8);
        header(w, 1, 0, Spgr, 16);
        w.zeros(16);
        header(w, 2, 0, Sp, 8);
        w.u32(first);
        w.u32(0x0005); // the group shape of the drawing
    }
    const bool chart = shape.kind == SheetShape::Kind::Chart;
    header(w, 0xF, 0, SpContainer, shapeSize(shape.kind) - 8);
    header(w, 2, chart ? HostControlShape : TextBoxShape, Sp, 8);
    w.u32(first + 1 + static_cast<std::uint32_t>(index));
    w.u32(0x0A00); // has an anchor and a shape type
    using Properties = std::span<const std::pair<std::uint16_t, std::uint32_t>>;
    const Properties properties = chart ? Properties(ChartShapeProperties) : Properties(CommentShapeProperties);
    header(w, 3, static_cast<std::uint16_t>(properties.size()), Opt, propertiesSize(shape.kind));
    for (const auto& [id, value] : properties) {
        w.u16(id);
        w.u32(id == 0x03BF && !chart && shape.hidden ? 0x00020002 : value);
    }
    header(w, 0, 0, ClientAnchor, 18);
    w.u16(chart ? 0 : 3); // a chart moves and sizes with the cells, a comment's box does neither
    const model::Anchor& a = shape.anchor;
    for (int value : {a.col1, a.dx1, a.row1, a.dy1, a.col2, a.dx2, a.row2, a.dy2})
        w.u16(static_cast<std::uint16_t>(value));
    header(w, 0, 0, ClientData, 0);
    return body;
}

std::vector<std::uint8_t> clientTextBoxBody()
{
    std::vector<std::uint8_t> body;
    io::ByteWriter w(body);
    header(w, 0, 0, ClientTextBox, 0);
    return body;
}

std::vector<std::uint8_t> objBody(SheetShape::Kind kind, int objectId)
{
    const bool chart = kind == SheetShape::Kind::Chart;
    std::vector<std::uint8_t> body;
    io::ByteWriter w(body);
    w.u16(0x0015); // the common object data
    w.u16(0x0012);
    w.u16(chart ? 0x0005 : 0x0019); // a chart or a comment
    w.u16(static_cast<std::uint16_t>(objectId));
    w.u16(chart ? 0x6011 : 0x4011); // locked, printed, automatic line (and fill)
    w.zeros(12);
    if (!chart) {
        w.u16(0x000D); // the comment's own data: an id and that it is not shared
        w.u16(0x0016);
        for (int k = 0; k < 16; ++k)
            w.u8(static_cast<std::uint8_t>(objectId * 31 + k * 7));
        w.u16(0);
        w.u32(0);
    }
    w.u32(0); // the end
    return body;
}

} // namespace sheet::biff

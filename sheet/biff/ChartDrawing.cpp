#include "sheet/biff/ChartDrawing.h"

#include "sheet/io/ByteWriter.h"

#include <utility>

namespace sheet::biff {
namespace {

constexpr std::uint16_t DggContainer = 0xF000, Dgg = 0xF006, Opt = 0xF00B, SplitMenuColors = 0xF11E,
                        DgContainer = 0xF002, Dg = 0xF008, SpgrContainer = 0xF003, SpContainer = 0xF004,
                        Spgr = 0xF009, Sp = 0xF00A, ClientAnchor = 0xF010, ClientData = 0xF011;
constexpr std::uint16_t HostControlShape = 201; // the shape type of an embedded chart
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

constexpr std::uint32_t GroupShapeSize = 8 + (8 + 16) + (8 + 8);
constexpr std::uint32_t ChartShapeSize =
    8 + (8 + 8) + (8 + 6 * std::size(ChartShapeProperties)) + (8 + 18) + 8;

std::uint32_t firstShapeId(int drawingId)
{
    return static_cast<std::uint32_t>(drawingId) * ShapesPerCluster;
}

} // namespace

std::vector<std::uint8_t> drawingGroupBody(const std::vector<std::size_t>& chartsPerDrawing)
{
    std::vector<std::uint8_t> body;
    io::ByteWriter w(body);
    const auto clusters = static_cast<std::uint32_t>(chartsPerDrawing.size());
    std::uint32_t shapes = 0;
    for (std::size_t charts : chartsPerDrawing)
        shapes += static_cast<std::uint32_t>(charts + 1);
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
        w.u32(static_cast<std::uint32_t>(chartsPerDrawing[k] + 1));
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

std::vector<std::uint8_t> chartShapeBody(int drawingId, std::size_t count, std::size_t index,
                                         const model::Anchor& anchor)
{
    std::vector<std::uint8_t> body;
    io::ByteWriter w(body);
    const std::uint32_t first = firstShapeId(drawingId);
    if (index == 0) {
        const auto charts = static_cast<std::uint32_t>(count);
        const std::uint32_t groupSize = GroupShapeSize + charts * ChartShapeSize;
        header(w, 0xF, 0, DgContainer, (8 + 8) + (8 + groupSize));
        header(w, 0, static_cast<std::uint16_t>(drawingId), Dg, 8);
        w.u32(charts + 1);     // shapes
        w.u32(first + charts); // the last shape id
        header(w, 0xF, 0, SpgrContainer, groupSize);
        header(w, 0xF, 0, SpContainer, GroupShapeSize - 8);
        header(w, 1, 0, Spgr, 16);
        w.zeros(16);
        header(w, 2, 0, Sp, 8);
        w.u32(first);
        w.u32(0x0005); // the group shape of the drawing
    }
    header(w, 0xF, 0, SpContainer, ChartShapeSize - 8);
    header(w, 2, HostControlShape, Sp, 8);
    w.u32(first + 1 + static_cast<std::uint32_t>(index));
    w.u32(0x0A00); // has an anchor and a shape type
    header(w, 3, static_cast<std::uint16_t>(std::size(ChartShapeProperties)), Opt,
           static_cast<std::uint32_t>(6 * std::size(ChartShapeProperties)));
    for (const auto& [id, value] : ChartShapeProperties) {
        w.u16(id);
        w.u32(value);
    }
    header(w, 0, 0, ClientAnchor, 18);
    w.u16(0); // moves and sizes with the cells
    for (int value : {anchor.col1, anchor.dx1, anchor.row1, anchor.dy1, anchor.col2, anchor.dx2, anchor.row2, anchor.dy2})
        w.u16(static_cast<std::uint16_t>(value));
    header(w, 0, 0, ClientData, 0);
    return body;
}

std::vector<std::uint8_t> chartObjBody(int objectId)
{
    std::vector<std::uint8_t> body;
    io::ByteWriter w(body);
    w.u16(0x0015); // the common object data
    w.u16(0x0012);
    w.u16(0x0005); // a chart
    w.u16(static_cast<std::uint16_t>(objectId));
    w.u16(0x6011); // locked, printed, automatic fill and line
    w.zeros(12);
    w.u32(0); // the end
    return body;
}

} // namespace sheet::biff

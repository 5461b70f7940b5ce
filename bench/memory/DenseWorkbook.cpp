#include "DenseWorkbook.h"

#include "sheet/container/CompoundFile.h"
#include "sheet/io/FileBytes.h"

#include <cstdint>
#include <vector>

namespace bench {

namespace {

constexpr int Columns = 256;

void put(std::vector<std::uint8_t>& out, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void record(std::vector<std::uint8_t>& out, std::uint16_t type, const std::vector<std::uint8_t>& body)
{
    put(out, type, 2);
    put(out, static_cast<std::uint32_t>(body.size()), 2);
    out.insert(out.end(), body.begin(), body.end());
}

std::vector<std::uint8_t> bof(std::uint16_t kind)
{
    std::vector<std::uint8_t> body;
    put(body, 0x0600, 2);
    put(body, kind, 2);
    body.resize(16, 0);
    return body;
}

// One row of dense cells: numbers 1 to 256 times the row as RK integers, or blanks with a format
// of their own (XF 16 and 17 by turns, so that no two neighbours share one).
std::vector<std::uint8_t> denseRow(DenseCells cells, int row)
{
    std::vector<std::uint8_t> body;
    put(body, static_cast<std::uint32_t>(row), 2);
    put(body, 0, 2);
    for (int column = 0; column < Columns; ++column) {
        if (cells == DenseCells::MulRk) {
            put(body, 15, 2);
            put(body, static_cast<std::uint32_t>((row + 1) * (column + 1)) << 2 | 0x02, 4);
        } else {
            put(body, static_cast<std::uint32_t>(16 + column % 2), 2);
        }
    }
    put(body, Columns - 1, 2);
    return body;
}

}  // namespace

void writeDenseWorkbook(DenseCells cells, const std::string& path, int rows)
{
    if (rows == 0)
        rows = cells == DenseCells::MulRk ? 20000 : 65536;
    std::vector<std::uint8_t> stream;
    record(stream, 0x0809, bof(0x0005));
    // Sixteen style XFs, then the two cell XFs the blanks use.
    std::vector<std::uint8_t> xf(20, 0);
    xf[4] = 0xF5, xf[5] = 0xFF;
    for (int k = 0; k < 16; ++k)
        record(stream, 0x00E0, xf);
    // Solid fills of two colours.
    xf[4] = 0x01, xf[5] = 0x00, xf[17] = 0x04, xf[18] = 0x2C;
    record(stream, 0x00E0, xf);
    xf[18] = 0x2B;
    record(stream, 0x00E0, xf);
    const std::size_t boundSheet = stream.size() + 4;
    record(stream, 0x0085, {0, 0, 0, 0, 0, 0, 5, 0, 'D', 'e', 'n', 's', 'e'});
    record(stream, 0x000A, {});
    const auto sheetStart = static_cast<std::uint32_t>(stream.size());
    for (int i = 0; i < 4; ++i)
        stream[boundSheet + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(sheetStart >> (8 * i));
    record(stream, 0x0809, bof(0x0010));
    std::vector<std::uint8_t> dimensions;
    put(dimensions, 0, 4);
    put(dimensions, static_cast<std::uint32_t>(rows), 4);
    put(dimensions, 0, 2);
    put(dimensions, Columns, 2);
    put(dimensions, 0, 2);
    record(stream, 0x0200, dimensions);
    for (int row = 0; row < rows; ++row)
        record(stream, cells == DenseCells::MulRk ? 0x00BD : 0x00BE, denseRow(cells, row));
    record(stream, 0x023E, {0xB6, 0x06, 0, 0, 0, 0, 0x40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    record(stream, 0x000A, {});

    sheet::container::CompoundFile file;
    file.root.type = sheet::container::Entry::Type::Root;
    file.root.children.push_back(sheet::container::Entry{u"Workbook", sheet::container::Entry::Type::Stream, {}, 0, 0, 0,
                                                        std::move(stream), {}});
    sheet::io::writeFileAtomically(path, [&file](const sheet::io::ByteSink& sink) {
        sheet::container::writeCompoundFile(file, sink);
    });
}

}  // namespace bench

#include "sheet/biff/FormulaGroups.h"

#include "sheet/Errors.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/io/ByteWriter.h"

#include <cstddef>
#include <string>

namespace sheet::biff {
namespace {

// FORMULA: the cell, its XF, its result, options, a reserved field; then the token count and tokens.
constexpr std::size_t FormulaOptions = 14;
constexpr std::size_t FormulaTokenCount = 20;
constexpr std::uint16_t SharedOption = 0x0008;
// SHRFMLA: the range, a reserved byte, a use count; then the token count and tokens.
constexpr std::size_t SharedTokenCount = 8;

constexpr std::uint8_t PtgExp = 0x01;
constexpr std::uint8_t PtgTbl = 0x02;
constexpr std::uint8_t PtgStr = 0x17;
constexpr std::uint8_t PtgAttr = 0x19;
constexpr std::uint8_t AttrChoose = 0x04;
constexpr std::uint8_t PtgRef = 0x24;
constexpr std::uint8_t PtgArea = 0x25;
constexpr std::uint8_t PtgRefN = 0x2C;
constexpr std::uint8_t PtgAreaN = 0x2D;

[[noreturn]] void unknownToken(std::uint8_t token)
{
    throw FormatError("a shared formula holds a token this program does not know (" + std::to_string(token) + ")");
}

// A token's kind without its class bits: 0x44 and 0x64 are kinds of 0x24.
int tokenKind(std::uint8_t token)
{
    return token < 0x20 ? token : (token & 0x1F) | 0x20;
}

// The bytes that follow a token's first byte in the token list (what it keeps after the list, such as
// an array's values, stays there).
std::size_t tokenSize(std::span<const std::uint8_t> tokens, std::size_t at)
{
    const std::uint8_t token = tokens[at];
    const auto need = [&](std::size_t size) {
        if (at + 1 + size > tokens.size())
            throw FormatError("damaged workbook: a shared formula is cut short");
        return size;
    };
    if (token < 0x20) {
        switch (token) {
        case PtgExp: case PtgTbl: unknownToken(token);
        case PtgStr: {
            need(2);
            return need(2 + tokens[at + 1] * ((tokens[at + 2] & 0x01) ? 2 : 1));
        }
        case PtgAttr: {
            need(3);
            const std::size_t cases = io::ByteWriter::get16(tokens.data() + at + 2);
            return need((tokens[at + 1] & AttrChoose) ? 3 + 2 * (cases + 1) : 3);
        }
        case 0x1C: case 0x1D: return need(1);
        case 0x1E: return need(2);
        case 0x1F: return need(8);
        default:
            if (token >= 0x03 && token <= 0x16)
                return 0;
            unknownToken(token);
        }
    }
    switch (tokenKind(token)) {
    case 0x20: return need(7);
    case 0x21: case 0x29: return need(2);
    case 0x22: return need(3);
    case 0x23: case 0x24: case 0x2A: case 0x2C: return need(4);
    case 0x25: case 0x2B: case 0x2D: return need(8);
    case 0x26: case 0x27: case 0x28: case 0x39: case 0x3A: case 0x3C: return need(6);
    case 0x3B: case 0x3D: return need(10);
    default: unknownToken(token);
    }
}

// A row and a column field of a relative reference, taken at `cell`.
void placeRow(std::uint8_t* row, const std::uint8_t* column, int cellRow)
{
    if (io::ByteWriter::get16(column) & 0x8000)
        io::ByteWriter::put16(row, static_cast<std::uint16_t>(cellRow + static_cast<std::int16_t>(io::ByteWriter::get16(row))));
}

void placeColumn(std::uint8_t* column, int cellColumn)
{
    const std::uint16_t field = io::ByteWriter::get16(column);
    if (field & 0x4000) {
        const int placed = (cellColumn + static_cast<std::int8_t>(field & 0xFF)) & 0xFF;
        io::ByteWriter::put16(column, static_cast<std::uint16_t>((field & 0xC000) | placed));
    }
}

} // namespace

std::optional<model::CellAddress> formulaGroupStart(const model::Record& formula)
{
    const auto& b = formula.bytes;
    if (b.size() < FormulaTokenCount + 2 + 5 || io::ByteWriter::get16(b.data() + FormulaTokenCount) != 5)
        return std::nullopt;
    const std::uint8_t token = b[FormulaTokenCount + 2];
    if (token != PtgExp && token != PtgTbl)
        return std::nullopt;
    return model::CellAddress{io::ByteWriter::get16(b.data() + FormulaTokenCount + 3),
                              io::ByteWriter::get16(b.data() + FormulaTokenCount + 5)};
}

model::CellRange formulaGroupRange(const model::Record& group)
{
    if (group.bytes.size() < 6)
        throw FormatError("damaged workbook: a formula's range record is cut short");
    const auto* b = group.bytes.data();
    return {io::ByteWriter::get16(b), b[4], io::ByteWriter::get16(b + 2), b[5]};
}

model::Record ownFormula(const model::Record& formula, const model::Record& shared)
{
    if (formula.bytes.size() < FormulaTokenCount + 2 || shared.bytes.size() < SharedTokenCount + 2)
        throw FormatError("damaged workbook: a shared formula is cut short");
    const std::size_t count = io::ByteWriter::get16(shared.bytes.data() + SharedTokenCount);
    const std::span<const std::uint8_t> after = std::span(shared.bytes).subspan(SharedTokenCount + 2);
    if (count > after.size())
        throw FormatError("damaged workbook: a shared formula is cut short");

    model::Record own{rt::Formula, {}, false};
    auto& b = own.bytes;
    b.reserve(FormulaTokenCount + shared.bytes.size() - SharedTokenCount);
    b.insert(b.end(), formula.bytes.begin(), formula.bytes.begin() + FormulaTokenCount);
    io::ByteWriter::put16(b.data() + FormulaOptions,
                          static_cast<std::uint16_t>(io::ByteWriter::get16(b.data() + FormulaOptions) & ~SharedOption));
    const int row = io::ByteWriter::get16(b.data());
    const int column = io::ByteWriter::get16(b.data() + 2);
    b.insert(b.end(), shared.bytes.begin() + SharedTokenCount, shared.bytes.end());
    const std::span<std::uint8_t> tokens(b.data() + FormulaTokenCount + 2, count);
    for (std::size_t at = 0, size = 0; at < tokens.size(); at += 1 + size) {
        size = tokenSize(tokens, at);
        std::uint8_t& token = tokens[at];
        std::uint8_t* field = &token + 1;
        if (tokenKind(token) == PtgRefN) {
            placeRow(field, field + 2, row);
            placeColumn(field + 2, column);
            token = static_cast<std::uint8_t>(token - PtgRefN + PtgRef);
        } else if (tokenKind(token) == PtgAreaN) {
            placeRow(field, field + 4, row);
            placeRow(field + 2, field + 6, row);
            placeColumn(field + 4, column);
            placeColumn(field + 6, column);
            token = static_cast<std::uint8_t>(token - PtgAreaN + PtgArea);
        }
    }
    return own;
}

} // namespace sheet::biff

#include "sheet/formula/TokenReader.h"

#include "sheet/Errors.h"
#include "sheet/formula/Functions.h"
#include "sheet/io/ByteReader.h"
#include "sheet/text/Utf16.h"

#include <cstdio>

namespace sheet::formula {
namespace {

using Kind = Token::Kind;

// The operator tokens 0x03 to 0x16, in their order in the file.
constexpr Kind Operators[] = {
    Kind::Add, Kind::Subtract, Kind::Multiply, Kind::Divide, Kind::Power, Kind::Concatenate,
    Kind::Less, Kind::LessEqual, Kind::Equal, Kind::GreaterEqual, Kind::Greater, Kind::NotEqual,
    Kind::Intersection, Kind::Union, Kind::Range, Kind::Plus, Kind::Minus, Kind::Percent,
    Kind::Parentheses, Kind::Missing,
};

constexpr std::uint8_t PtgStr = 0x17, PtgExtended = 0x18, PtgAttr = 0x19, PtgErr = 0x1C, PtgBool = 0x1D,
                       PtgInt = 0x1E, PtgNum = 0x1F;
constexpr std::uint8_t AttrSemi = 0x01, AttrIf = 0x02, AttrChoose = 0x04, AttrGoto = 0x08, AttrSum = 0x10,
                       AttrBaxcel = 0x20, AttrSpace = 0x40;
constexpr int SumFunction = 4;

std::string hex(int value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

class Reader {
public:
    Reader(std::span<const std::uint8_t> tokens, std::span<const std::uint8_t> extra, const model::CellAddress& base,
           const biff::RecordText& text)
        : in_(tokens, "a formula"), extra_(extra, "a formula's arrays"), base_(base), text_(text), biff8_(text.unicode)
    {
    }

    std::vector<Token> read()
    {
        while (!in_.atEnd())
            readToken(in_.u8());
        return std::move(tokens_);
    }

private:
    void readToken(std::uint8_t id)
    {
        if (id >= 0x03 && id <= 0x16) {
            push(Operators[id - 0x03]);
            return;
        }
        if (id < 0x20) {
            readBasic(id);
            return;
        }
        if (id >= 0x80)
            unknown(id);
        switch (id & 0x1F) { // the token without its class (reference, value, array)
        case 0x00: readArray(); break;
        case 0x01: readFunction(in_.u16(), -1); break;
        case 0x02: {
            const int count = in_.u8();
            readFunction(in_.u16() & 0x7FFF, count);
            break;
        }
        case 0x03: readName(); break;
        case 0x04: readReference(false, false); break;
        case 0x05: readArea(false, false); break;
        case 0x06: readMemoryArea(); break;
        case 0x07: case 0x08: in_.skip(6); break; // the sub-expression that follows stays
        case 0x09: in_.skip(2); break;
        case 0x0A: in_.skip(biff8_ ? 4 : 3); push(Kind::DeletedReference); break;
        case 0x0B: in_.skip(biff8_ ? 8 : 6); push(Kind::DeletedReference); break;
        case 0x0C: readReference(true, false); break;
        case 0x0D: readArea(true, false); break;
        case 0x19: readExternalName(); break;
        case 0x1A: readReference(false, true); break;
        case 0x1B: readArea(false, true); break;
        case 0x1C: case 0x1D: readDeleted3d(id & 0x1F); break;
        default: unknown(id);
        }
    }

    void readBasic(std::uint8_t id)
    {
        switch (id) {
        case PtgStr: {
            Token& token = push(Kind::Text);
            token.text = text::toUtf8(text_.read(in_, 1));
            break;
        }
        case PtgAttr: readAttribute(); break;
        case PtgErr: push(Kind::Error).error = static_cast<ErrorCode>(in_.u8()); break;
        case PtgBool: push(Kind::Logical).logical = in_.u8() != 0; break;
        case PtgInt: push(Kind::Number).number = in_.u16(); break;
        case PtgNum: push(Kind::Number).number = in_.f64(); break;
        case PtgExtended:
            // Excel 2007's references to a table and its columns (Table1[Amount]), and the natural
            // language references of Excel 97, which name cells by their labels.
            throw FormatError("a formula refers to cells through a table's or a label's name, which cannot be written yet");
        default: unknown(id);
        }
    }

    void readAttribute()
    {
        const std::uint8_t type = in_.u8();
        if (type & AttrSpace) {
            const int kind = in_.u8();
            const int count = in_.u8();
            if (kind > 5 || count == 0)
                return; // whitespace before the formula's own "=" has no place in its text
            Token& token = push(Kind::Space);
            token.spaces = count;
            token.lineBreaks = kind & 1;
            token.beforeClose = kind >= 4;
        } else if (type & AttrChoose) {
            in_.skip(2 + 2 * (static_cast<std::size_t>(in_.u16()) + 1));
        } else if (type & AttrSum) {
            in_.skip(2);
            Token& token = push(Kind::Function);
            token.function = SumFunction;
            token.arguments = 1;
        } else if (type & (AttrSemi | AttrIf | AttrGoto | AttrBaxcel)) {
            in_.skip(2);
        } else {
            unknown(PtgAttr);
        }
    }

    void readFunction(int id, int count)
    {
        const Function* function = functionById(id);
        if (count < 0) {
            if (!function || !function->fixed())
                throw FormatError("a formula calls function number " + std::to_string(id)
                                  + ", which the file format does not know");
            count = function->minArguments;
        } else if (!function && id != NamedFunctionId) {
            throw FormatError("a formula calls function number " + std::to_string(id)
                              + ", which the file format does not know");
        }
        Token& token = push(Kind::Function);
        token.function = id;
        token.arguments = count;
    }

    void readName()
    {
        const std::uint32_t index = biff8_ ? in_.u32() : in_.u16();
        if (!biff8_)
            in_.skip(12);
        if (index == 0)
            throw FormatError("damaged workbook: a formula names defined name 0");
        push(Kind::Name).index = static_cast<int>(index - 1);
    }

    void readExternalName()
    {
        if (!biff8_)
            throw FormatError("a formula of this Excel 95 workbook names a name of another workbook, "
                              "which cannot be written yet");
        const int sheet = in_.u16();
        const std::uint32_t index = in_.u32();
        if (index == 0)
            throw FormatError("damaged workbook: a formula names external name 0");
        Token& token = push(Kind::ExternalName);
        token.sheet = sheet;
        token.index = static_cast<int>(index - 1);
    }

    // The sheets of a 3-D reference: an entry of the external sheet table, or Excel 95's own sheets.
    void readSheets(Token& token)
    {
        token.hasSheet = true;
        if (biff8_) {
            token.sheet = in_.u16();
            return;
        }
        const auto book = static_cast<std::int16_t>(in_.u16());
        in_.skip(8);
        token.firstSheet = static_cast<std::int16_t>(in_.u16());
        token.lastSheet = static_cast<std::int16_t>(in_.u16());
        if (book >= 0 || token.firstSheet < 0 || token.lastSheet < token.firstSheet)
            throw FormatError("a formula of this Excel 95 workbook refers to another workbook, "
                              "which cannot be written yet");
    }

    // A row and a column: BIFF8 keeps the relative flags on the column, Excel 95 on the row. A shared
    // formula's relative coordinate is an offset from the cell that uses it.
    CellPoint readPoint(std::uint16_t row, std::uint16_t column, bool offsets) const
    {
        CellPoint point;
        const std::uint16_t flags = biff8_ ? column : row;
        point.rowRelative = flags & 0x8000;
        point.columnRelative = flags & 0x4000;
        point.row = biff8_ ? row : row & 0x3FFF;
        point.column = biff8_ ? column & 0x3FFF : column & 0xFF;
        if (offsets && point.rowRelative) {
            // BIFF8 offsets take 16 bits, Excel 95's 14.
            const int offset = biff8_ ? static_cast<std::int16_t>(row) : ((row & 0x3FFF) ^ 0x2000) - 0x2000;
            point.row = (base_.row + offset) & 0xFFFF;
        }
        if (offsets && point.columnRelative)
            point.column = (base_.column + static_cast<std::int8_t>(column & 0xFF)) & 0xFF;
        return point;
    }

    std::uint16_t column() { return biff8_ ? in_.u16() : in_.u8(); }

    void readReference(bool offsets, bool threeD)
    {
        Token token;
        token.kind = Kind::Reference;
        if (threeD)
            readSheets(token);
        const std::uint16_t row = in_.u16();
        token.first = token.last = readPoint(row, column(), offsets);
        tokens_.push_back(std::move(token));
    }

    void readArea(bool offsets, bool threeD)
    {
        Token token;
        token.kind = Kind::Area;
        if (threeD)
            readSheets(token);
        const std::uint16_t firstRow = in_.u16();
        const std::uint16_t lastRow = in_.u16();
        const std::uint16_t firstColumn = column();
        const std::uint16_t lastColumn = column();
        token.first = readPoint(firstRow, firstColumn, offsets);
        token.last = readPoint(lastRow, lastColumn, offsets);
        tokens_.push_back(std::move(token));
    }

    void readDeleted3d(int kind)
    {
        Token& token = push(Kind::DeletedReference);
        if (biff8_) {
            token.hasSheet = true;
            token.sheet = in_.u16();
        } else {
            readSheets(token);
        }
        in_.skip(kind == 0x1C ? (biff8_ ? 4 : 3) : (biff8_ ? 8 : 6));
    }

    // PtgMemArea: the areas it keeps lie after the tokens; its sub-expression follows it.
    void readMemoryArea()
    {
        in_.skip(6);
        const std::size_t areas = extra_.u16();
        extra_.skip(areas * (biff8_ ? 8 : 6));
    }

    void readArray()
    {
        in_.skip(7);
        Token token;
        token.kind = Kind::Array;
        // BIFF8 stores one less than the columns and rows; Excel 95 the columns (0 for 256) and rows.
        const int columns = extra_.u8();
        const int rows = extra_.u16();
        token.columns = biff8_ ? columns + 1 : (columns == 0 ? 256 : columns);
        token.rows = biff8_ ? rows + 1 : rows;
        const std::size_t count = static_cast<std::size_t>(token.rows) * static_cast<std::size_t>(token.columns);
        if (count > extra_.remaining())
            throw FormatError("damaged workbook: a formula's array is cut short");
        token.values.reserve(count);
        for (std::size_t k = 0; k < count; ++k) {
            switch (extra_.u8()) {
            case 0x00: extra_.skip(8); token.values.emplace_back(); break;
            case 0x01: token.values.emplace_back(extra_.f64()); break;
            case 0x02: token.values.emplace_back(text::toUtf8(text_.read(extra_, biff8_ ? 2 : 1))); break;
            case 0x04: token.values.emplace_back(extra_.u8() != 0); extra_.skip(7); break;
            case 0x10: token.values.emplace_back(static_cast<ErrorCode>(extra_.u8())); extra_.skip(7); break;
            default: throw FormatError("damaged workbook: a formula's array holds a value of an unknown kind");
            }
        }
        tokens_.push_back(std::move(token));
    }

    Token& push(Kind kind)
    {
        Token& token = tokens_.emplace_back();
        token.kind = kind;
        return token;
    }

    [[noreturn]] static void unknown(int id)
    {
        throw FormatError("a formula holds a token the file format does not know (" + hex(id) + ")");
    }

    io::ByteReader in_;
    io::ByteReader extra_;
    model::CellAddress base_;
    const biff::RecordText& text_;
    bool biff8_;
    std::vector<Token> tokens_;
};

} // namespace

std::vector<Token> readTokens(std::span<const std::uint8_t> tokens, std::span<const std::uint8_t> extra,
                              const model::CellAddress& base, const biff::RecordText& text)
{
    return Reader(tokens, extra, base, text).read();
}

} // namespace sheet::formula

#include "sheet/formula/TokenWriter.h"

#include "sheet/Errors.h"
#include "sheet/formula/Functions.h"
#include "sheet/io/ByteWriter.h"
#include "sheet/text/Utf16.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace sheet::formula {
namespace {

using Kind = Token::Kind;

// The token classes: a reference, a value, an array.
constexpr std::uint8_t ReferenceClass = 0x20, ValueClass = 0x40, ArrayClass = 0x60;
constexpr std::uint8_t PtgStr = 0x17, PtgAttr = 0x19, PtgErr = 0x1C, PtgBool = 0x1D, PtgInt = 0x1E, PtgNum = 0x1F;
constexpr std::uint8_t PtgArray = 0x00, PtgFunc = 0x01, PtgFuncVar = 0x02, PtgName = 0x03, PtgRef = 0x04,
                       PtgArea = 0x05, PtgRefErr = 0x0A, PtgNameX = 0x19, PtgRef3d = 0x1A, PtgArea3d = 0x1B,
                       PtgRefErr3d = 0x1C;
constexpr std::uint8_t AttrSum = 0x10, AttrSpace = 0x40;
constexpr int SumFunction = 4;
constexpr int IndexFunction = 29, OffsetFunction = 78, IndirectFunction = 148;

// The functions that take arrays, and which of their arguments (from 0): what is computed for these
// arguments is computed for every cell of a range, not for the one in the formula's row or column.
struct ArrayArguments {
    int function;
    int first;
    int last;
};

constexpr ArrayArguments ArrayFunctions[] = {
    {28, 1, 2},   {49, 0, 1},   {50, 0, 2},   {51, 0, 1},   {52, 0, 2},   {83, 0, 0},   {163, 0, 0},
    {164, 0, 0},  {165, 0, 1},  {228, 0, 29}, {252, 0, 1},  {303, 0, 1},  {304, 0, 1},  {305, 0, 1},
    {306, 0, 1},  {307, 0, 1},  {308, 0, 1},  {309, 1, 2},  {310, 0, 1},  {311, 0, 1},  {312, 0, 1},
    {313, 0, 1},  {314, 0, 1},  {315, 0, 1},  {316, 0, 1},  {317, 0, 1},
};

// The functions whose arguments are references (SUM, SUMIF, ROWS, ...): within them a range stays one.
constexpr int ReferenceFunctions[] = {0, 4, 5, 6, 7, 8, 9, 29, 75, 76, 77, 78, 125, 148, 169, 183, 344, 345, 346, 347};
constexpr std::size_t MostTokenBytes = 0xFFFF;

[[noreturn]] void damaged()
{
    throw FormatError("a formula's tokens do not make a formula");
}

class Writer {
public:
    explicit Writer(std::span<const Token> tokens) : tokens_(tokens), out_(encoded_.tokens), extra_(encoded_.extra) {}

    EncodedFormula write()
    {
        findParents();
        findArrays();
        for (std::size_t k = 0; k < tokens_.size(); ++k)
            write(tokens_[k], k);
        if (encoded_.tokens.size() > MostTokenBytes)
            throw FormatError("a formula is too long for the file format");
        return std::move(encoded_);
    }

private:
    // Which token takes each token's result: -1 for the formula's own.
    void findParents()
    {
        parents_.assign(tokens_.size(), -1);
        positions_.assign(tokens_.size(), 0);
        std::vector<std::size_t> stack;
        const auto take = [&](std::size_t count, std::size_t parent) {
            if (count > stack.size())
                damaged();
            const std::size_t first = stack.size() - count;
            for (std::size_t k = first; k < stack.size(); ++k) {
                parents_[stack[k]] = static_cast<int>(parent);
                positions_[stack[k]] = static_cast<int>(k - first);
            }
            stack.resize(stack.size() - count);
            stack.push_back(parent);
        };
        for (std::size_t k = 0; k < tokens_.size(); ++k) {
            const Kind kind = tokens_[k].kind;
            if (kind == Kind::Space)
                continue;
            if (kind <= Kind::Range)
                take(2, k);
            else if (kind == Kind::Plus || kind == Kind::Minus || kind == Kind::Percent || kind == Kind::Parentheses)
                take(1, k);
            else if (kind == Kind::Function)
                take(static_cast<std::size_t>(std::max(tokens_[k].arguments, 0)), k);
            else
                stack.push_back(k);
        }
        if (stack.size() != 1)
            damaged();
    }

    // Whether the result of token `at` is taken as a reference: by a range, union or intersection
    // operator, or as a function's argument.
    bool wantsReference(std::size_t at) const
    {
        int parent = parents_[at];
        while (parent >= 0 && tokens_[static_cast<std::size_t>(parent)].kind == Kind::Parentheses)
            parent = parents_[static_cast<std::size_t>(parent)];
        if (parent < 0)
            return false;
        const Kind kind = tokens_[static_cast<std::size_t>(parent)].kind;
        return kind == Kind::Range || kind == Kind::Union || kind == Kind::Intersection || kind == Kind::Function;
    }

    // Which tokens are computed for a whole range: the arguments of a function that takes arrays, and
    // what such an argument is computed from, through operators and functions of values. A taker comes
    // after what it takes, so going backwards each token's taker is known before the token.
    void findArrays()
    {
        arrays_.assign(tokens_.size(), false);
        for (std::size_t k = tokens_.size(); k-- > 0;) {
            const int parent = parents_[k];
            if (parent < 0)
                continue;
            const Token& taker = tokens_[static_cast<std::size_t>(parent)];
            bool array = arrays_[static_cast<std::size_t>(parent)];
            if (taker.kind == Kind::Function) {
                const auto found = std::find_if(std::begin(ArrayFunctions), std::end(ArrayFunctions),
                                                [&](const ArrayArguments& entry) { return entry.function == taker.function; });
                if (found != std::end(ArrayFunctions))
                    array = positions_[k] >= found->first && positions_[k] <= found->last;
                else if (taker.function == NamedFunctionId
                         || std::find(std::begin(ReferenceFunctions), std::end(ReferenceFunctions), taker.function) != std::end(ReferenceFunctions))
                    array = false;
            }
            arrays_[k] = array;
        }
    }

    bool inArray(std::size_t at) const { return arrays_[at]; }

    // The class of an operand that refers to cells: an array where it is computed for a whole range.
    std::uint8_t referenceClass(std::size_t at) const { return inArray(at) ? ArrayClass : ReferenceClass; }

    void write(const Token& token, std::size_t at)
    {
        io::ByteWriter out(out_);
        const auto kind = static_cast<std::uint8_t>(token.kind);
        if (token.kind <= Kind::Missing) { // the operators, the parentheses and a missing argument
            out.u8(static_cast<std::uint8_t>(0x03 + kind));
            return;
        }
        switch (token.kind) {
        case Kind::Number: number(token.number); break;
        case Kind::Text:
            out.u8(PtgStr);
            appendUnicodeString(out_, token.text, 1);
            break;
        case Kind::Logical: out.u8(PtgBool); out.u8(token.logical ? 1 : 0); break;
        case Kind::Error: out.u8(PtgErr); out.u8(static_cast<std::uint8_t>(token.error)); break;
        case Kind::Array: array(token); break;
        case Kind::Reference: case Kind::Area: reference(token, referenceClass(at)); break;
        case Kind::DeletedReference:
            if (token.hasSheet) {
                sheet(token, PtgRefErr3d | referenceClass(at));
            } else {
                out.u8(PtgRefErr | referenceClass(at));
            }
            out.zeros(4);
            break;
        case Kind::Name:
            out.u8(PtgName | referenceClass(at));
            out.u32(static_cast<std::uint32_t>(token.index) + 1);
            break;
        case Kind::ExternalName:
            out.u8(PtgNameX | referenceClass(at));
            out.u16(static_cast<std::uint16_t>(token.sheet));
            out.u32(static_cast<std::uint32_t>(token.index) + 1);
            break;
        case Kind::Function: function(token, at); break;
        case Kind::Space:
            if (token.spaces < 1 || token.spaces > 255)
                damaged();
            out.u8(PtgAttr);
            out.u8(AttrSpace);
            out.u8(static_cast<std::uint8_t>((token.lineBreaks ? 1 : 0) + (token.beforeClose ? 4 : 0)));
            out.u8(static_cast<std::uint8_t>(token.spaces));
            break;
        default: damaged();
        }
    }

    void number(double value)
    {
        io::ByteWriter out(out_);
        if (value >= 0 && value <= 0xFFFF && value == std::floor(value) && !std::signbit(value)) {
            out.u8(PtgInt);
            out.u16(static_cast<std::uint16_t>(value));
        } else {
            out.u8(PtgNum);
            out.f64(value);
        }
    }

    void array(const Token& token)
    {
        if (token.rows < 1 || token.rows > 65536 || token.columns < 1 || token.columns > 256
            || token.values.size() != static_cast<std::size_t>(token.rows) * static_cast<std::size_t>(token.columns))
            damaged();
        io::ByteWriter out(out_);
        out.u8(PtgArray | ArrayClass);
        out.zeros(7);
        io::ByteWriter extra(extra_);
        extra.u8(static_cast<std::uint8_t>(token.columns - 1));
        extra.u16(static_cast<std::uint16_t>(token.rows - 1));
        for (const CellValue& value : token.values) {
            if (const double* number = std::get_if<double>(&value)) {
                extra.u8(0x01);
                extra.f64(*number);
            } else if (const std::string* text = std::get_if<std::string>(&value)) {
                extra.u8(0x02);
                appendUnicodeString(extra_, *text, 2);
            } else if (const bool* logical = std::get_if<bool>(&value)) {
                extra.u8(0x04);
                extra.u8(*logical ? 1 : 0);
                extra.zeros(7);
            } else if (const ErrorCode* error = std::get_if<ErrorCode>(&value)) {
                extra.u8(0x10);
                extra.u8(static_cast<std::uint8_t>(*error));
                extra.zeros(7);
            } else {
                extra.u8(0x00);
                extra.zeros(8);
            }
        }
    }

    void sheet(const Token& token, std::uint8_t id)
    {
        if (token.sheet < 0 || token.sheet > 0xFFFF)
            throw FormatError("a formula refers to sheets of an Excel 95 workbook, which cannot be written here");
        io::ByteWriter out(out_);
        out.u8(id);
        out.u16(static_cast<std::uint16_t>(token.sheet));
    }

    void reference(const Token& token, std::uint8_t type)
    {
        const bool area = token.kind == Kind::Area;
        if (token.hasSheet)
            sheet(token, (area ? PtgArea3d : PtgRef3d) | type);
        else
            out_.push_back((area ? PtgArea : PtgRef) | type);
        io::ByteWriter out(out_);
        const auto column = [](const CellPoint& point) {
            return static_cast<std::uint16_t>((point.column & 0x3FFF) | (point.rowRelative ? 0x8000 : 0)
                                              | (point.columnRelative ? 0x4000 : 0));
        };
        for (const CellPoint& point : {token.first, token.last}) {
            if (point.row < 0 || point.row > 0xFFFF || point.column < 0 || point.column > 0xFF)
                throw FormatError("a formula refers to a cell beyond row 65,536 or column IV, which the file format cannot hold");
        }
        if (area) {
            out.u16(static_cast<std::uint16_t>(token.first.row));
            out.u16(static_cast<std::uint16_t>(token.last.row));
            out.u16(column(token.first));
            out.u16(column(token.last));
        } else {
            out.u16(static_cast<std::uint16_t>(token.first.row));
            out.u16(column(token.first));
        }
    }

    void function(const Token& token, std::size_t at)
    {
        io::ByteWriter out(out_);
        if (token.function == SumFunction && token.arguments == 1) {
            out.u8(PtgAttr);
            out.u8(AttrSum);
            out.u16(0);
            return;
        }
        const Function* function = functionById(token.function);
        if (!function && token.function != NamedFunctionId)
            throw FormatError("a formula calls function number " + std::to_string(token.function)
                              + ", which the file format does not know");
        if (token.arguments < (function ? function->minArguments : 1)
            || token.arguments > (function ? function->maxArguments : 255))
            throw FormatError("a formula gives a function a count of arguments it does not take");
        const bool reference = (token.function == IndexFunction || token.function == OffsetFunction
                                || token.function == IndirectFunction) && wantsReference(at);
        const std::uint8_t type = reference ? ReferenceClass : inArray(at) ? ArrayClass : ValueClass;
        if (function && function->fixed()) {
            out.u8(PtgFunc | type);
        } else {
            out.u8(PtgFuncVar | type);
            out.u8(static_cast<std::uint8_t>(token.arguments));
        }
        out.u16(static_cast<std::uint16_t>(token.function));
    }

    std::span<const Token> tokens_;
    EncodedFormula encoded_;
    std::vector<std::uint8_t>& out_;
    std::vector<std::uint8_t>& extra_;
    std::vector<int> parents_;
    std::vector<int> positions_; // which of its taker's operands each token is
    std::vector<bool> arrays_;
};

} // namespace

void appendUnicodeString(std::vector<std::uint8_t>& out, std::string_view text, int countBytes)
{
    const std::u16string characters = text::toUtf16(text);
    const std::size_t most = countBytes == 1 ? 0xFF : 0xFFFF;
    if (characters.size() > most)
        throw FormatError("a text of " + std::to_string(characters.size()) + " characters is longer than the "
                          + std::to_string(most) + " the file format holds in its place");
    io::ByteWriter writer(out);
    if (countBytes == 1)
        writer.u8(static_cast<std::uint8_t>(characters.size()));
    else
        writer.u16(static_cast<std::uint16_t>(characters.size()));
    const bool wide = std::any_of(characters.begin(), characters.end(), [](char16_t c) { return c > 0xFF; });
    writer.u8(wide ? 0x01 : 0x00);
    for (char16_t c : characters) {
        if (wide)
            writer.u16(c);
        else
            writer.u8(static_cast<std::uint8_t>(c));
    }
}

EncodedFormula encodeTokens(std::span<const Token> tokens)
{
    return Writer(tokens).write();
}

} // namespace sheet::formula

#pragma once

#include "sheet/model/CellValue.h"

#include <compare>
#include <cstring>
#include <cstdint>
#include <optional>

namespace sheet::model {

// The position of a cell, 0-based; ordered row by row.
struct CellAddress {
    int row = 0;
    int column = 0;
    friend auto operator<=>(const CellAddress&, const CellAddress&) = default;
};

// The index of the XF that a cell without a record of its own uses.
inline constexpr int DefaultCellXf = 15;

// A cell of a worksheet, in 12 bytes: a sheet of millions of cells must not take many times its file's
// size. A text is kept by the workbook, as an entry of its string table or as a text written since, and
// is read through Workbook::value. A formula cell's records are kept by its sheet (Sheet::formulas);
// the cell holds the result stored with them.
class Cell {
public:
    enum class Kind : std::uint8_t { Empty, Number, Logical, Error, SharedText, Text };

    Kind kind() const { return kind_; }
    bool isEmpty() const { return kind_ == Kind::Empty; }
    bool isText() const { return kind_ == Kind::SharedText || kind_ == Kind::Text; }
    std::optional<double> number() const
    {
        if (kind_ != Kind::Number)
            return std::nullopt;
        double number;
        std::memcpy(&number, value_, sizeof number);
        return number;
    }
    bool logical() const { return kind_ == Kind::Logical && value_[0] != 0; }
    ErrorCode error() const { return static_cast<ErrorCode>(value_[0]); }
    // The string table entry or the written text that a text cell shows.
    std::uint32_t textIndex() const { return value_[0]; }
    bool hasFormula() const { return flags_ & Formula; }
    // Whether the number came as an RK value, which the file can hold again in four bytes.
    bool storedAsRk() const { return flags_ & Rk; }

    void setEmpty() { set(Kind::Empty); }
    void setNumber(double number) { set(Kind::Number); std::memcpy(value_, &number, sizeof number); }
    void setRkNumber(double number) { setNumber(number); flags_ |= Rk; }
    void setLogical(bool value) { set(Kind::Logical); value_[0] = value ? 1 : 0; }
    void setError(ErrorCode code) { set(Kind::Error); value_[0] = static_cast<std::uint8_t>(code); }
    void setSharedText(std::uint32_t entry) { set(Kind::SharedText); value_[0] = entry; }
    void setText(std::uint32_t text) { set(Kind::Text); value_[0] = text; }
    void setHasFormula(bool formula) { flags_ = static_cast<std::uint8_t>(formula ? flags_ | Formula : flags_ & ~Formula); }

    // Whether the cell belongs to the sheet's used range: it holds a value or a formula, or a
    // format other than the default.
    bool isUsed() const { return kind_ != Kind::Empty || hasFormula() || xf != DefaultCellXf; }

    std::uint16_t xf = DefaultCellXf;

private:
    friend class CellStore;
    static constexpr std::uint8_t Formula = 0x01, Rk = 0x02;

    void set(Kind kind)
    {
        kind_ = kind;
        flags_ = static_cast<std::uint8_t>(flags_ & ~Rk);
        value_[0] = value_[1] = 0;
    }

    Kind kind_ = Kind::Empty;
    std::uint8_t flags_ = 0;
    // A number's eight bytes, or a text's index or a code in the first word; words, not a double,
    // so that the cell needs no more than four-byte alignment.
    std::uint32_t value_[2] = {0, 0};
};

static_assert(sizeof(Cell) == 12);

} // namespace sheet::model

#pragma once

#include "sheet/model/CellValue.h"

#include <compare>
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

// A cell of a worksheet, in 16 bytes: a sheet of millions of cells must not take many times its file's
// size. A text is kept by the workbook, as an entry of its string table or as a text written since, and
// is read through Workbook::value. A formula cell's records are kept by its sheet (Sheet::formulas);
// the cell holds the result stored with them.
class Cell {
public:
    enum class Kind : std::uint8_t { Empty, Number, Logical, Error, SharedText, Text };

    int xf = DefaultCellXf;

    Kind kind() const { return kind_; }
    bool isEmpty() const { return kind_ == Kind::Empty; }
    bool isText() const { return kind_ == Kind::SharedText || kind_ == Kind::Text; }
    std::optional<double> number() const
    {
        return kind_ == Kind::Number ? std::optional<double>(number_) : std::nullopt;
    }
    bool logical() const { return kind_ == Kind::Logical && code_ != 0; }
    ErrorCode error() const { return static_cast<ErrorCode>(code_); }
    // The string table entry or the written text that a text cell shows.
    std::uint32_t textIndex() const { return index_; }
    bool hasFormula() const { return formula_; }

    void setEmpty() { set(Kind::Empty); }
    void setNumber(double number) { set(Kind::Number); number_ = number; }
    void setLogical(bool value) { set(Kind::Logical); code_ = value ? 1 : 0; }
    void setError(ErrorCode code) { set(Kind::Error); code_ = static_cast<std::uint8_t>(code); }
    void setSharedText(std::uint32_t entry) { set(Kind::SharedText); index_ = entry; }
    void setText(std::uint32_t text) { set(Kind::Text); index_ = text; }
    void setHasFormula(bool formula) { formula_ = formula; }

    // Whether the cell belongs to the sheet's used range: it holds a value or a formula, or a
    // format other than the default.
    bool isUsed() const { return kind_ != Kind::Empty || formula_ || xf != DefaultCellXf; }

private:
    void set(Kind kind)
    {
        kind_ = kind;
        number_ = 0;
    }

    Kind kind_ = Kind::Empty;
    bool formula_ = false;
    union {
        double number_ = 0;
        std::uint32_t index_;
        std::uint8_t code_;
    };
};

static_assert(sizeof(Cell) == 16);

} // namespace sheet::model

#pragma once

#include "sheet/model/CellValue.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sheet::formula {

// A cell of a reference: where it is and which of its coordinates move when the formula is copied.
struct CellPoint {
    int row = 0;
    int column = 0;
    bool rowRelative = false;
    bool columnRelative = false;
    friend bool operator==(const CellPoint&, const CellPoint&) = default;
};

// One token of a formula in the order the file keeps them: operands, then what they are given to
// (reverse Polish notation). Only the fields of its kind count.
struct Token {
    enum class Kind : std::uint8_t {
        // binary operators
        Add, Subtract, Multiply, Divide, Power, Concatenate,
        Less, LessEqual, Equal, GreaterEqual, Greater, NotEqual,
        Intersection, Union, Range,
        // unary operators and parentheses
        Plus, Minus, Percent, Parentheses,
        // operands
        Missing,   // an argument left out
        Number,    // `number`
        Text,      // `text`
        Logical,   // `logical`
        Error,     // `error`
        Array,     // `rows` x `columns` of `values`, row by row
        Reference, // `first`, on `sheet` when `hasSheet`
        Area,      // `first`:`last`, on `sheet` when `hasSheet`
        DeletedReference, // a cell or area that no longer exists, on `sheet` when `hasSheet`
        Name,      // the workbook's defined name `index` (from 0)
        ExternalName, // name `index` (from 0) of the book of `sheet`
        // a call of function `function` with `arguments` arguments; for NamedFunctionId the first
        // argument names the function
        Function,
        // whitespace: `spaces` spaces or line breaks (`lineBreaks`) before the next token, or before
        // its closing parenthesis (`beforeClose`)
        Space,
    };

    Kind kind = Kind::Missing;
    double number = 0;
    std::string text;
    bool logical = false;
    ErrorCode error = ErrorCode::Reference;
    int rows = 0;
    int columns = 0;
    std::vector<CellValue> values;
    CellPoint first;
    CellPoint last;
    bool hasSheet = false;
    // An entry of the workbook's external sheet table; or, when -1, the sheets firstSheet to lastSheet
    // of the workbook itself, as an Excel 95 workbook names them.
    int sheet = -1;
    int firstSheet = 0;
    int lastSheet = 0;
    int index = 0;
    int function = 0;
    int arguments = 0;
    int spaces = 0;
    bool lineBreaks = false;
    bool beforeClose = false;
};

} // namespace sheet::formula

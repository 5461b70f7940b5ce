#pragma once

#include "sheet/model/Workbook.h"

#include <QXmlStreamWriter>

#include <functional>

#include <vector>

namespace sheet::ods {

// How the cells of each cell format carry their values: a number under a date or time format is a
// date or a time, as readers type it, any other number a float; an error, and a number that is not
// finite (written as "#NUM!"), is written as LibreOffice writes an error: a formula giving the error,
// typed as an error for its reader.
class CellValues {
public:
    explicit CellValues(const model::Workbook& workbook);

    // The value attributes and paragraph of a cell of format `xf` holding a number, a logical value or an
    // error, after its style. Texts are the table's: they are paragraphs with the spaces kept.
    // `formulaWritten`: the cell's own table:formula is written already, so an error is not written as one.
    // `beforeText` writes what the cell holds before its paragraph (its comment), after the attributes.
    void write(QXmlStreamWriter& xml, const CellValue& value, int xf, bool formulaWritten = false,
               const std::function<void()>& beforeText = {}) const;

private:
    enum class Kind : std::uint8_t { Float, Date, Time };

    Kind kindOf(int xf) const;
    void writeNumber(QXmlStreamWriter& xml, double number, Kind kind) const;

    std::vector<Kind> kinds_; // by cell format
};

// The attributes and paragraph of an error value: table:formula "of:=#N/A" and so on, typed as an
// error. A cell with a formula of its own gives the formula instead.
void writeErrorValue(QXmlStreamWriter& xml, model::ErrorCode code, bool formulaWritten = false,
                     const std::function<void()>& beforeText = {});

} // namespace sheet::ods

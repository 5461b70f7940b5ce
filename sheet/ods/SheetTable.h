#pragma once

#include "sheet/formula/CellFormulas.h"
#include "sheet/biff/SheetLinks.h"
#include "sheet/model/Workbook.h"
#include "sheet/ods/CellStyles.h"
#include "sheet/ods/CellValues.h"
#include "sheet/ods/ConditionalFormats.h"
#include "sheet/ods/ContentValidations.h"
#include "sheet/ods/ChartObject.h"
#include "sheet/ods/DrawShapes.h"

#include <QRectF>
#include <QString>
#include <QXmlStreamWriter>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace sheet::ods {

// A worksheet as an OpenDocument table: its 256 columns with their widths, its rows with their heights
// and hidden ones collapsed, its cells with values and styles (a formula with its last result as the
// value), its own defined names, its embedded charts, pictures and shapes over the same cells, and its
// comments in their cells. Columns are as wide as spreadsheet programs read the .xls's widths (see
// columnPoints), rows in points. Anything else drawn on the sheet, and a chart of a type the engine does
// not know, is a FormatError naming it: nothing is left out unsaid.
class SheetTable {
public:
    // `charts` counts the charts of the workbook written so far; the sheet's own are added. `names` are
    // the names the sheets are written under, as `links` also writes them.
    SheetTable(const model::Workbook& workbook, const SheetNames& names, int sheetIndex, const CellStyles& styles,
               const CellValues& values, const ConditionalFormats& conditional, const ContentValidations& validations,
               int& charts, const formula::WorkbookLinks& links, const DrawShapes& shapes);

    // The sizes the sheet's columns (1/256 of a character) and rows (twips) take, for their styles.
    void addSizes(std::set<int>& columnWidths, std::set<int>& rowTwips) const;
    void write(QXmlStreamWriter& xml) const;

    const std::vector<ChartObject>& chartObjects() const { return objects_; }

    static QString columnStyle(int width) { return QStringLiteral("co") + QString::number(width); }
    static QString rowStyle(int twips) { return QStringLiteral("ro") + QString::number(twips); }
    static QString tableStyle(std::size_t sheet) { return QStringLiteral("ta") + QString::number(sheet + 1); }
    static constexpr int Columns = 256;

private:
    struct Frame {
        int row = 0;
        int column = 0;
        QRectF area;      // points, from the top-left corner of the first cell
        std::string endCell;
        double endX = 0;  // points into the end cell
        double endY = 0;
        std::size_t object = 0;
        const model::DrawingObject* shape = nullptr; // a picture or shape, rather than a chart
        int zIndex = 0;
    };

    int columnWidth(int column) const; // 1/256 of a character
    void writeColumns(QXmlStreamWriter& xml) const;
    void writeRow(QXmlStreamWriter& xml, int row, model::CellStore::const_iterator& cell, std::size_t& frame) const;
    // `formulaWritten`: the cell's own table:formula is already written.
    void writeCell(QXmlStreamWriter& xml, const model::CellAddress& at, const model::Cell& cell, bool formulaWritten) const;
    // Cells of a row without a cell record, from column `from` to before `to`, with their validations.
    void writeBlankCells(QXmlStreamWriter& xml, int row, int from, int to) const;
    void writeValidation(QXmlStreamWriter& xml, int row, int column) const;
    // A cell under a hyperlink: its value, and what it shows as the link's text.
    void writeLinkedCell(QXmlStreamWriter& xml, const model::CellAddress& at, const model::Cell& cell,
                         const biff::Hyperlink& link, bool formulaWritten) const;
    const biff::Hyperlink* linkAt(const model::CellAddress& at) const;
    void writeFrame(QXmlStreamWriter& xml, const Frame& frame) const;
    // The comment on a cell, if it has one, as its annotation.
    void writeNote(QXmlStreamWriter& xml, const model::CellAddress& at) const;
    bool hasNote(int row, int column) const { return notes_.contains({row, column}); }

    const model::Workbook& workbook_;
    const model::Sheet& sheet_;
    const std::string& name_;
    std::size_t index_;
    const CellStyles& styles_;
    formula::SheetFormulas formulas_;
    const CellValues& values_;
    const ConditionalFormats& conditional_;
    const ContentValidations& validations_;
    int digitWidth_;
    int rows_ = 0;                   // rows written: every cell, frame and row of its own size lies above
    std::vector<Frame> frames_;      // in row and column order
    std::vector<ChartObject> objects_;
    std::vector<biff::Hyperlink> links_;
    std::map<model::CellAddress, std::size_t> linked_; // the cells under a link, by link
    const DrawShapes& shapes_;
    std::map<model::CellAddress, const model::Comment*> notes_;
};

} // namespace sheet::ods

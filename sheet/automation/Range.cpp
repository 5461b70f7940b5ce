#include "sheet/automation/Range.h"

#include "sheet/Errors.h"
#include "sheet/automation/Document.h"
#include "sheet/automation/InstanceState.h"
#include "sheet/biff/SliceColours.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/model/A1Notation.h"
#include "sheet/render/RangePicture.h"
#include "sheet/render/SheetArea.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

namespace sheet {

Range::Range(std::shared_ptr<Document> document, int sheetIndex, int firstRow, int firstColumn, int lastRow,
             int lastColumn, Kind kind)
    : firstRow(firstRow), firstColumn(firstColumn), lastRow(lastRow), lastColumn(lastColumn),
      document_(std::move(document)), sheetIndex_(sheetIndex), kind_(kind)
{
}

std::string Range::address() const
{
    return model::rangeAddress({firstRow - 1, firstColumn - 1, lastRow - 1, lastColumn - 1});
}

void Range::CopyPicture()
{
    model::Workbook& workbook = document_->model();
    biff::colourAddedSlices(workbook);
    const model::Sheet& sheet = edit::worksheet(workbook, sheetIndex_);
    const model::CellRange cells{firstRow - 1, firstColumn - 1, lastRow - 1, lastColumn - 1};
    const render::SheetDrawing drawing
        = render::recordRange(workbook, sheetIndex_, kind_ == Kind::UsedRange ? render::pictureArea(workbook, sheet, cells) : cells,
                              render::PictureOptions{1.0, true});
    const InstanceState& instance = document_->instance();
    if (instance.pictureSink) {
        instance.pictureSink(drawing);
        return;
    }
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw StateError("the picture cannot be copied: there is no clipboard without a graphical session");
    QGuiApplication::clipboard()->setImage(render::previewBitmap(drawing));
}

} // namespace sheet

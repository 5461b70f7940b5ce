#include "sheet/automation/Range.h"

#include "sheet/Errors.h"
#include "sheet/automation/Document.h"
#include "sheet/automation/InstanceState.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/render/RangePicture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

namespace sheet {
namespace {

std::string columnName(int column)
{
    std::string name;
    for (int n = column; n > 0; n = (n - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
    return name;
}

} // namespace

Range::Range(std::shared_ptr<Document> document, int sheetIndex, int firstRow, int firstColumn, int lastRow,
             int lastColumn)
    : firstRow(firstRow), firstColumn(firstColumn), lastRow(lastRow), lastColumn(lastColumn),
      document_(std::move(document)), sheetIndex_(sheetIndex)
{
}

std::string Range::address() const
{
    const std::string first = columnName(firstColumn) + std::to_string(firstRow);
    if (firstRow == lastRow && firstColumn == lastColumn)
        return first;
    return first + ":" + columnName(lastColumn) + std::to_string(lastRow);
}

void Range::CopyPicture()
{
    model::Workbook& workbook = document_->model();
    edit::worksheet(workbook, sheetIndex_);
    const QImage picture = render::drawRange(
        workbook, sheetIndex_, model::CellRange{firstRow - 1, firstColumn - 1, lastRow - 1, lastColumn - 1});
    const InstanceState& instance = document_->instance();
    if (instance.pictureSink) {
        instance.pictureSink(picture);
        return;
    }
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw StateError("the picture cannot be copied: there is no clipboard without a graphical session");
    QGuiApplication::clipboard()->setImage(picture);
}

} // namespace sheet

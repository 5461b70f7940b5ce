#include "sheet/automation/Cell.h"

#include "sheet/automation/Document.h"
#include "sheet/automation/InstanceState.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/input/TypedInput.h"

namespace sheet {

Cell::Cell(std::shared_ptr<Document> document, int sheetIndex, int row, int column)
    : document_(std::move(document)), sheetIndex_(sheetIndex), row_(row), column_(column)
{
}

void Cell::setValue(std::string_view utf8)
{
    const InstanceState& instance = document_->instance();
    const NumberLocale& locale =
        instance.fallbackLocale ? readingLocale(utf8, instance.locale, *instance.fallbackLocale) : instance.locale;
    edit::writeCellText(document_->model(), sheetIndex_, row_, column_, utf8, locale);
}

CellValue Cell::Value() const
{
    const model::Workbook& workbook = document_->model();
    const model::Cell* cell = edit::worksheet(document_->model(), sheetIndex_).cell(row_, column_);
    return cell ? workbook.value(*cell) : CellValue{};
}

void Cell::setNumberFormat(std::string_view code)
{
    edit::setCellNumberFormat(document_->model(), sheetIndex_, row_, column_, code);
}

std::string Cell::NumberFormat() const
{
    model::Workbook& workbook = document_->model();
    return workbook.formatCode(edit::cellXf(edit::worksheet(workbook, sheetIndex_), row_, column_));
}

} // namespace sheet

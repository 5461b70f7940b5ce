#include "sheet/automation/Workbook.h"

#include "sheet/Errors.h"
#include "sheet/automation/Document.h"
#include "sheet/biff/PackageLimits.h"
#include "sheet/biff/SliceColours.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/ods/OdsFile.h"
#include "sheet/xlsx/XlsxFile.h"

#include <algorithm>

namespace sheet {
namespace {

constexpr int Excel8Format = 56;
constexpr int NormalWorkbookFormat = -4143;
constexpr int OpenXmlWorkbookFormat = 51;
constexpr int OpenXmlMacroWorkbookFormat = 52;
constexpr int OpenDocumentFormat = 60;
constexpr std::uint16_t TemplateRecord = 0x0060;

} // namespace

Workbook::Workbook(std::shared_ptr<Document> document) : document_(std::move(document)) {}

Workbook::~Workbook() = default;

Worksheet& Workbook::ActiveSheet()
{
    model::Workbook& workbook = document_->model();
    const int index = workbook.activeWorksheet();
    if (index < 0)
        throw ArgumentError("the workbook has no worksheet: its active sheet \"" +
                            workbook.sheets.at(static_cast<std::size_t>(workbook.activeSheet)).name +
                            "\" has no cells");
    for (const auto& sheet : sheets_)
        if (sheet->index() == index)
            return *sheet;
    sheets_.push_back(std::make_unique<Worksheet>(document_, index));
    return *sheets_.back();
}

void Workbook::SaveAs(const std::string& path, int fileFormat, biff::SaveTarget target)
{
    WorkbookSource& source = document_->source();
    biff::WorkbookFile* excel97 = source.excel97();
    if (fileFormat == OpenXmlWorkbookFormat || fileFormat == OpenXmlMacroWorkbookFormat ||
        fileFormat == OpenDocumentFormat) {
        if (excel97) {
            // Neither package is written encrypted: a workbook that a password of its own protects stays .xls.
            if (excel97->encryption && !excel97->encryption->fromDefaultPassword())
                throw FormatError("the workbook is encrypted with a password, and an .xlsx or .ods copy would not "
                                  "be: save it as an Excel 97-2003 workbook to keep it protected");
            biff::refuseWhatPackagesCannotHold(*excel97);
            // The .xls writer colours a fill's new slices itself; the packages are written from the model.
            biff::colourAddedSlices(excel97->workbook);
        }
        source.save(path, fileFormat == OpenDocumentFormat ? WorkbookFormat::OpenDocument : WorkbookFormat::OfficeOpenXml,
                    target);
        document_->path = path;
        return;
    }
    if (fileFormat != Excel8Format && fileFormat != NormalWorkbookFormat)
        throw ArgumentError("unknown file format " + std::to_string(fileFormat) +
                            ": only 56 and -4143 (the Excel 97-2003 workbook), 51 (the Excel workbook, .xlsx), "
                            "52 (the Excel macro-enabled workbook, .xlsm) and 60 (the OpenDocument spreadsheet, "
                            ".ods) can be written");
    if (!excel97) {
        source.save(path, WorkbookFormat::Excel97, target);
        document_->path = path;
        return;
    }
    biff::WorkbookFile& file = *excel97;
    auto& globals = file.workbook.globalRecords;
    const auto templates = std::remove_if(globals.begin(), globals.end(),
                                          [](const model::Record& record) { return record.type == TemplateRecord; });
    if (templates != globals.end()) {
        globals.erase(templates, globals.end());
        file.workbook.modified = true;
    }
    biff::saveWorkbookFile(file, path, target);
    document_->path = path;
}

void Workbook::Close()
{
    document_->checkOpen();
    document_->close();
}

void Workbook::release()
{
    document_->close();
}

bool Workbook::isOpen() const
{
    return document_->isOpen();
}

const std::string& Workbook::path() const
{
    return document_->path;
}

model::Workbook& Workbook::model()
{
    return document_->model();
}

} // namespace sheet

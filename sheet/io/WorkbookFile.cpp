#include "sheet/io/WorkbookFile.h"

#include "sheet/Errors.h"
#include "sheet/biff/WorkbookReader.h"
#include "sheet/biff/WorkbookWriter.h"
#include "sheet/io/FileBytes.h"

namespace sheet::io {
namespace {

container::Entry& workbookStream(container::CompoundFile& file)
{
    container::Entry* stream = file.root.child(u"Workbook");
    if (!stream || stream->isStorage()) {
        if (file.root.child(u"Book"))
            throw FormatError("not a workbook in the Excel 97-2003 format: it is an older (BIFF5) workbook");
        throw FormatError("not a workbook: the file has no Workbook stream");
    }
    return *stream;
}

} // namespace

WorkbookFile readWorkbookFile(std::span<const std::uint8_t> bytes)
{
    WorkbookFile file;
    file.container = container::readCompoundFile(bytes);
    file.workbook = biff::readWorkbook(workbookStream(file.container).data);
    return file;
}

WorkbookFile openWorkbookFile(const std::string& path)
{
    const std::vector<std::uint8_t> bytes = readFileBytes(path);
    try {
        return readWorkbookFile(bytes);
    } catch (const FormatError& error) {
        throw FormatError(path + ": " + error.what());
    }
}

std::vector<std::uint8_t> workbookFileBytes(WorkbookFile& file)
{
    workbookStream(file.container).data = biff::writeWorkbook(file.workbook);
    return container::writeCompoundFile(file.container);
}

void saveWorkbookFile(WorkbookFile& file, const std::string& path)
{
    writeFileAtomically(path, workbookFileBytes(file));
}

} // namespace sheet::io

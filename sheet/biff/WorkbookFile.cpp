#include "sheet/biff/WorkbookFile.h"

#include "sheet/Errors.h"
#include "sheet/biff/WorkbookEncryption.h"
#include "sheet/biff/WorkbookReader.h"
#include "sheet/biff/WorkbookWriter.h"
#include "sheet/io/FileBytes.h"

namespace sheet::biff {
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

// The workbook stream's bytes leave the container while they are read: saving writes the stream
// afresh from the model, so the file never holds a workbook twice.
void readWorkbookStream(WorkbookFile& file, std::string_view password)
{
    std::vector<std::uint8_t> stream = std::move(workbookStream(file.container).data);
    file.encryption = decryptWorkbookStream(stream, password);
    file.workbook = readWorkbook(stream);
}

// The workbook's stream written from the model, encrypted again when it was read encrypted.
std::vector<std::uint8_t> writeWorkbookStream(WorkbookFile& file)
{
    std::vector<std::uint8_t> stream = writeWorkbook(file.workbook);
    if (file.encryption)
        encryptWorkbookStream(stream, *file.encryption);
    return stream;
}

} // namespace

WorkbookFile readWorkbookFile(std::span<const std::uint8_t> bytes, std::string_view password)
{
    WorkbookFile file;
    file.container = container::readCompoundFile(bytes);
    readWorkbookStream(file, password);
    return file;
}

WorkbookFile openWorkbookFile(const std::string& path, std::string_view password)
{
    WorkbookFile file;
    try {
        file.container = container::readCompoundFile(io::readFileBytes(path));
        readWorkbookStream(file, password);
    } catch (const PasswordError& error) {
        throw PasswordError(path + ": " + error.what());
    } catch (const FormatError& error) {
        throw FormatError(path + ": " + error.what());
    }
    return file;
}

std::vector<std::uint8_t> workbookFileBytes(WorkbookFile& file)
{
    workbookStream(file.container).data = writeWorkbookStream(file);
    return container::writeCompoundFile(file.container);
}

// The file goes out piece by piece as the container writes it, so its bytes are never held beside the
// stream written for it; that stream leaves the container again afterwards, as after reading.
void saveWorkbookFile(WorkbookFile& file, const std::string& path, SaveTarget target)
{
    container::Entry& stream = workbookStream(file.container);
    stream.data = writeWorkbookStream(file);
    const struct Release {
        std::vector<std::uint8_t>& data;
        ~Release() { std::vector<std::uint8_t>().swap(data); }
    } release{stream.data};
    const io::FileContent content = [&file](const io::ByteSink& sink) {
        container::writeCompoundFile(file.container, sink);
    };
    if (target == SaveTarget::ChosenFile)
        io::writeChosenFile(path, content);
    else
        io::writeFileAtomically(path, content);
}

} // namespace sheet::biff

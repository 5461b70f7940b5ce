#include "sheet/biff/WorkbookFile.h"

#include "sheet/Errors.h"
#include "sheet/biff/FormatVersion.h"
#include "sheet/biff/WorkbookEncryption.h"
#include "sheet/biff/WorkbookReader.h"
#include "sheet/biff/WorkbookWriter.h"
#include "sheet/io/FileBytes.h"

#include <algorithm>

namespace sheet::biff {
namespace {

container::Entry* streamNamed(container::CompoundFile& file, std::u16string_view name)
{
    container::Entry* stream = file.root.child(name);
    return stream && !stream->isStorage() ? stream : nullptr;
}

// The stream that holds the workbook: a BIFF8 one first, whatever its name, then an older one.
container::Entry& workbookStream(container::CompoundFile& file)
{
    container::Entry* workbook = streamNamed(file, u"Workbook");
    container::Entry* book = streamNamed(file, u"Book");
    for (container::Entry* stream : {workbook, book})
        if (stream && streamVersion(stream->data) == Biff8Version)
            return *stream;
    if (workbook)
        return *workbook;
    if (book)
        return *book;
    throw FormatError("not a workbook: the file has no Workbook stream");
}

// The workbook stream's bytes leave the container while they are read: saving writes the stream
// afresh from the model, so the file never holds a workbook twice.
// A BIFF8 workbook is saved as "Workbook". An Excel 95 copy beside it, which Excel 97 can write for
// older programs, would still hold the data as it was before the save: it goes.
// The workbook is read straight into the file, which never holds an empty one first.
WorkbookFile readWorkbookStream(container::CompoundFile container, std::string_view password)
{
    container::Entry& chosen = workbookStream(container);
    std::vector<std::uint8_t> data = std::move(chosen.data);
    std::optional<StreamKey> encryption = decryptWorkbookStream(data, password);
    model::Workbook workbook = readWorkbook(std::move(data));
    workbook.hasMacros = std::any_of(container.root.children.begin(), container.root.children.end(),
                                     [](const container::Entry& entry) {
                                         return entry.name == u"_VBA_PROJECT_CUR" || entry.name == u"_VBA_PROJECT";
                                     });
    std::u16string streamName = chosen.name;
    if (workbook.biff == 8) {
        std::vector<const container::Entry*> stale;
        const container::Entry* named[] = {streamNamed(container, u"Workbook"), streamNamed(container, u"Book")};
        for (const container::Entry* other : named)
            if (other && other != &chosen)
                stale.push_back(other);
        chosen.name = streamName = u"Workbook";
        std::erase_if(container.root.children, [&stale](const container::Entry& entry) {
            return std::find(stale.begin(), stale.end(), &entry) != stale.end();
        });
    }
    return WorkbookFile{std::move(container), std::move(workbook), std::move(streamName), std::move(encryption)};
}

container::CompoundFile readContainer(std::span<const std::uint8_t> bytes)
{
    if (const std::optional<std::string> older = olderFormatName(bytes))
        throw FormatError("not a workbook that can be read: the file is " + *older +
                          ", older than Excel 95; save it as an Excel 97-2003 workbook first");
    return container::readCompoundFile(bytes);
}

// The stream that saving writes; Excel 95 workbooks are read only.
container::Entry& streamToWrite(WorkbookFile& file)
{
    if (file.workbook.biff != 8)
        throw FormatError("Excel 95 workbooks can be read but not written: save it as an Excel 97-2003 workbook "
                          "in a spreadsheet program first");
    container::Entry* stream = streamNamed(file.container, file.streamName);
    if (!stream && file.container.root.children.empty()) {
        // A workbook that no compound file held gets one of its own.
        std::optional<StreamKey> encryption = std::move(file.encryption);
        file = newWorkbookFile(std::move(file.workbook));
        file.encryption = std::move(encryption);
        stream = streamNamed(file.container, file.streamName);
    }
    if (!stream)
        throw FormatError("not a workbook: the file has no Workbook stream");
    return *stream;
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
    return readWorkbookStream(readContainer(bytes), password);
}

WorkbookFile openWorkbookFile(const std::string& path, std::string_view password)
{
    try {
        return readWorkbookStream(readContainer(io::readFileBytes(path)), password);
    } catch (const PasswordError& error) {
        throw PasswordError(path + ": " + error.what());
    } catch (const FormatError& error) {
        throw FormatError(path + ": " + error.what());
    }
}

WorkbookFile newWorkbookFile(model::Workbook workbook)
{
    WorkbookFile file;
    file.container.root.name = u"Root Entry";
    file.container.root.type = container::Entry::Type::Root;
    container::Entry stream;
    stream.name = u"Workbook";
    file.container.root.children.push_back(std::move(stream));
    file.workbook = std::move(workbook);
    file.workbook.biff = 8;
    return file;
}

std::vector<std::uint8_t> workbookFileBytes(WorkbookFile& file)
{
    streamToWrite(file).data = writeWorkbookStream(file);
    return container::writeCompoundFile(file.container);
}

// The file goes out piece by piece as the container writes it, so its bytes are never held beside the
// stream written for it; that stream leaves the container again afterwards, as after reading.
void saveWorkbookFile(WorkbookFile& file, const std::string& path, SaveTarget target)
{
    container::Entry& stream = streamToWrite(file);
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

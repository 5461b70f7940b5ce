#pragma once

#include "sheet/biff/StreamKey.h"
#include "sheet/container/CompoundFile.h"
#include "sheet/model/Workbook.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sheet::biff {

// A workbook with the compound file that holds it, so that saving keeps every other stream, and the
// key of an encrypted workbook, so that saving encrypts it again with the same password.
struct WorkbookFile {
    container::CompoundFile container;
    model::Workbook workbook;
    std::u16string streamName = u"Workbook"; // the workbook's stream in the container
    std::optional<StreamKey> encryption;
};

// Reads a workbook from bytes or from a file; any damage gives a FormatError, never a crash. The workbook
// is the stream named "Workbook" or "Book" (in any case) whose BOF record says BIFF8, else the one that
// holds an Excel 95 workbook (BIFF5 or BIFF7), which is read but cannot be saved. A BIFF8 workbook is
// saved as "Workbook", the name every reader looks for, without the Excel 95 copy that may lie beside it.
// An encrypted workbook opens with the built-in default password or with `password` (UTF-8); when
// neither opens it, the error is a PasswordError.
WorkbookFile readWorkbookFile(std::span<const std::uint8_t> bytes, std::string_view password = {});
WorkbookFile openWorkbookFile(const std::string& path, std::string_view password = {});

// A workbook that no compound file held (one read from another format) in a compound file of its own,
// whose only stream is the workbook's. Saving a WorkbookFile whose container is empty does the same.
WorkbookFile newWorkbookFile(model::Workbook workbook);

// The compound file bytes with the workbook's stream rebuilt and every other stream as it was.
std::vector<std::uint8_t> workbookFileBytes(WorkbookFile& file);

// Where a workbook is saved: a scratch file in a shared folder, where a symbolic link at the path is
// replaced and never followed, or a file that a person named, where it is followed (see io/FileBytes.h).
enum class SaveTarget { SharedFolder, ChosenFile };
void saveWorkbookFile(WorkbookFile& file, const std::string& path, SaveTarget target = SaveTarget::SharedFolder);

} // namespace sheet::biff

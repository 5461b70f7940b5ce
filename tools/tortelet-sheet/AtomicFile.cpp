#include "AtomicFile.h"

#include "Command.h"

#include "sheet/Errors.h"
#include "sheet/io/FileBytes.h"

#include <cstdint>

namespace tools {

void writeFileAtomically(const std::string& path, std::string_view bytes)
{
    writeFileAtomically(path, [bytes](const sheet::io::ByteSink& sink) {
        sink({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    });
}

void writeFileAtomically(const std::string& path, const sheet::io::FileContent& content)
{
    try {
        sheet::io::writeChosenFile(path, content);
    } catch (const sheet::Error& failure) {
        throw FileFailure(path, failure.what());
    }
}

}  // namespace tools

// Feeds arbitrary bytes to the OpenDocument reader, and writes back what it read as a fill would: any
// failure must be one of the engine's typed errors.
#include "sheet/Errors.h"
#include "sheet/ods/OdsPackage.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const sheet::ods::OdsPackage package = sheet::ods::readOdsPackage(std::vector<std::uint8_t>(data, data + size));
        (void)sheet::ods::changedOdsBytes(package, package.workbook);
    } catch (const sheet::Error&) {
    }
    return 0;
}

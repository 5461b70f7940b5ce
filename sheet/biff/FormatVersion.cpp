#include "sheet/biff/FormatVersion.h"

#include "sheet/biff/RecordTypes.h"
#include "sheet/io/ByteWriter.h"

namespace sheet::biff {

std::uint16_t streamVersion(std::span<const std::uint8_t> stream)
{
    const bool bof = stream.size() >= 6 && io::ByteWriter::get16(stream.data()) == rt::Bof &&
                     io::ByteWriter::get16(stream.data() + 2) >= 2;
    if (!bof)
        return 0;
    return io::ByteWriter::get16(stream.data() + 4);
}

std::optional<std::string> olderFormatName(std::span<const std::uint8_t> file)
{
    if (file.size() < 8)
        return std::nullopt;
    const std::uint16_t type = io::ByteWriter::get16(file.data());
    const std::uint16_t length = io::ByteWriter::get16(file.data() + 2);
    const std::uint16_t kind = io::ByteWriter::get16(file.data() + 6);
    const char* version = nullptr;
    const char* biff = nullptr;
    switch (type) {
    case 0x0009: version = "Excel 2.1"; biff = "BIFF2"; break;
    case 0x0209: version = "Excel 3.0"; biff = "BIFF3"; break;
    case 0x0409: version = "Excel 4.0"; biff = "BIFF4"; break;
    default: return std::nullopt;
    }
    if (length < 4 || length > 16)
        return std::nullopt;
    switch (kind) {
    case 0x0010: return std::string("an ") + version + " worksheet (" + biff + ")";
    case 0x0020: return std::string("an ") + version + " chart (" + biff + ")";
    case 0x0040: return std::string("an ") + version + " macro sheet (" + biff + ")";
    case 0x0100: return std::string("an ") + version + " workbook (" + biff + "W)";
    default: return std::string("an ") + version + " file (" + biff + ")";
    }
}

} // namespace sheet::biff

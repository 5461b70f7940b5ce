#include "sheet/biff/RecordText.h"

#include "sheet/biff/UnicodeText.h"
#include "sheet/text/Codepage.h"

namespace sheet::biff {

std::u16string RecordText::read(io::ByteReader& reader, int countBytes) const
{
    if (unicode)
        return readUnicodeString(reader, countBytes);
    const std::size_t count = countBytes == 1 ? reader.u8() : reader.u16();
    return text::decodeCodepage(reader.bytes(count), codepage);
}

} // namespace sheet::biff

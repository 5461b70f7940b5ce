#include "sheet/text/Codepage.h"

#include <QByteArrayView>
#include <QStringDecoder>

namespace sheet::text {
namespace {

// The name under which the system's converters know a code page; 1252 for one they do not know.
const char* codecName(int codepage)
{
    switch (codepage) {
    case 367: return "US-ASCII";
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 852: return "IBM852";
    case 866: return "IBM866";
    case 874: return "windows-874";
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 1250: return "windows-1250";
    case 1251: return "windows-1251";
    case 1253: return "windows-1253";
    case 1254: return "windows-1254";
    case 1255: return "windows-1255";
    case 1256: return "windows-1256";
    case 1257: return "windows-1257";
    case 1258: return "windows-1258";
    case 10000: case 32768: return "macintosh";
    default: return "windows-1252";
    }
}

} // namespace

std::u16string decodeCodepage(std::span<const std::uint8_t> bytes, int codepage)
{
    QStringDecoder decoder(codecName(codepage));
    if (!decoder.isValid()) // a system without the converters of the code pages reads Latin-1
        decoder = QStringDecoder(QStringDecoder::Latin1);
    const QString text = decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

} // namespace sheet::text

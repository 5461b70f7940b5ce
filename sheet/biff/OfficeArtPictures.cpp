#include "sheet/biff/OfficeArtPictures.h"

#include "sheet/biff/RecordTypes.h"
#include "sheet/io/ByteReader.h"
#include "sheet/io/ByteWriter.h"

#include <QByteArray>

#include <algorithm>
#include <span>

namespace sheet::biff {
namespace {

constexpr std::uint16_t DrawingGroupContainer = 0xF000;
constexpr std::uint16_t StoreContainer = 0xF001;
constexpr std::uint16_t StoreEntry = 0xF007;
constexpr std::uint16_t FirstBlip = 0xF018;
constexpr std::uint16_t LastBlip = 0xF117;
constexpr std::uint16_t EmfBlip = 0xF01A, WmfBlip = 0xF01B, PictBlip = 0xF01C, JpegBlip = 0xF01D, PngBlip = 0xF01E,
                        DibBlip = 0xF01F, TiffBlip = 0xF029, CmykJpegBlip = 0xF02A;
constexpr std::size_t UidSize = 16;
constexpr std::size_t MetafileHeaderSize = 34;
constexpr std::size_t StoreEntryHeaderSize = 36;
constexpr std::uint8_t Deflated = 0x00;
// The largest picture taken out of its compression: a metafile that claims more is damaged.
constexpr std::uint32_t MaxPictureBytes = 256u << 20;

struct RecordHeader {
    std::uint16_t instance = 0;
    std::uint16_t type = 0;
    std::span<const std::uint8_t> body;
};

// The records one after another in `bytes`; a record that claims more than is left has what is there.
std::vector<RecordHeader> records(std::span<const std::uint8_t> bytes)
{
    std::vector<RecordHeader> found;
    io::ByteReader reader(bytes, "a drawing group record");
    while (reader.remaining() >= 8) {
        RecordHeader header;
        header.instance = reader.u16() >> 4;
        header.type = reader.u16();
        header.body = reader.bytes(std::min<std::size_t>(reader.u32(), reader.remaining()));
        found.push_back(header);
    }
    return found;
}

std::span<const std::uint8_t> childOf(std::span<const std::uint8_t> bytes, std::uint16_t type)
{
    for (const RecordHeader& header : records(bytes))
        if (header.type == type)
            return header.body;
    return {};
}

// A blip's image bytes: after one unique id, or two when the instance says so (it is the first instance
// of its kind plus one), and after a metafile's header or a bitmap's tag byte.
std::span<const std::uint8_t> imageOf(const RecordHeader& blip, std::uint16_t firstInstance, std::size_t headerSize)
{
    const std::size_t skip = UidSize * (blip.instance == firstInstance + 1 ? 2 : 1) + headerSize;
    return blip.body.size() > skip ? blip.body.subspan(skip) : std::span<const std::uint8_t>();
}

// A metafile of the store: its header gives its size and whether it is deflated.
std::vector<std::uint8_t> metafileBytes(const RecordHeader& blip, std::uint16_t firstInstance, std::int32_t bounds[4],
                                        std::int32_t size[2])
{
    const std::size_t uids = UidSize * (blip.instance == firstInstance + 1 ? 2 : 1);
    if (blip.body.size() < uids + MetafileHeaderSize)
        return {};
    io::ByteReader header(blip.body.subspan(uids, MetafileHeaderSize), "a metafile header");
    const std::uint32_t uncompressed = header.u32();
    for (int k = 0; k < 4; ++k)
        bounds[k] = static_cast<std::int32_t>(header.u32());
    size[0] = static_cast<std::int32_t>(header.u32());
    size[1] = static_cast<std::int32_t>(header.u32());
    const std::uint32_t saved = header.u32();
    const std::uint8_t compression = header.u8();
    auto data = blip.body.subspan(uids + MetafileHeaderSize);
    data = data.first(std::min<std::size_t>(saved, data.size()));
    if (compression != Deflated)
        return {data.begin(), data.end()};
    if (uncompressed == 0 || uncompressed > MaxPictureBytes)
        return {};
    // Qt's zlib stream wants the size it opens to, big-endian, in front.
    QByteArray framed;
    framed.reserve(static_cast<qsizetype>(data.size() + 4));
    for (int shift = 24; shift >= 0; shift -= 8)
        framed.append(static_cast<char>((uncompressed >> shift) & 0xFF));
    framed.append(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
    const QByteArray opened = qUncompress(framed);
    return {opened.begin(), opened.end()};
}

// A Windows metafile is stored without the placeable header that files of its kind start with; the
// header gives its bounds and how many of its units make an inch, from its size in EMU.
std::vector<std::uint8_t> placeableMetafile(std::vector<std::uint8_t> metafile, const std::int32_t bounds[4],
                                            const std::int32_t size[2])
{
    if (metafile.size() >= 4 && io::ByteWriter::get32(metafile.data()) == 0x9AC6CDD7u)
        return metafile;
    constexpr double EmuPerInch = 914400;
    const double width = bounds[2] - bounds[0];
    const int inch = size[0] > 0 && width > 0 ? static_cast<int>(std::clamp(width * EmuPerInch / size[0], 1.0, 32767.0)) : 1440;
    std::vector<std::uint8_t> file;
    io::ByteWriter writer(file);
    writer.u32(0x9AC6CDD7u);
    writer.u16(0);
    for (int k = 0; k < 4; ++k)
        writer.u16(static_cast<std::uint16_t>(std::clamp(bounds[k], -32768, 32767)));
    writer.u16(static_cast<std::uint16_t>(inch));
    writer.u32(0);
    std::uint16_t checksum = 0;
    for (std::size_t at = 0; at < 20; at += 2)
        checksum ^= io::ByteWriter::get16(file.data() + at);
    writer.u16(checksum);
    file.insert(file.end(), metafile.begin(), metafile.end());
    return file;
}

// A device-independent bitmap with the file header of a .bmp in front: the pixels start after the
// bitmap's header, its colour masks and its colour table.
std::vector<std::uint8_t> bitmapFile(std::span<const std::uint8_t> dib)
{
    if (dib.size() < 40)
        return {};
    const std::uint32_t headerSize = io::ByteWriter::get32(dib.data());
    if (headerSize < 12 || headerSize > dib.size())
        return {};
    std::uint32_t palette = 0;
    if (headerSize >= 40) {
        const std::uint16_t bits = io::ByteWriter::get16(dib.data() + 14);
        const std::uint32_t compression = io::ByteWriter::get32(dib.data() + 16);
        const std::uint32_t used = io::ByteWriter::get32(dib.data() + 32);
        const std::uint32_t colours = used ? std::min<std::uint32_t>(used, 256) : bits <= 8 ? 1u << bits : 0;
        palette = colours * 4 + (headerSize == 40 && compression == 3 ? 12 : 0);
    } else {
        const std::uint16_t bits = io::ByteWriter::get16(dib.data() + 10);
        palette = bits <= 8 ? (1u << bits) * 3 : 0;
    }
    std::vector<std::uint8_t> file;
    io::ByteWriter writer(file);
    writer.u8('B');
    writer.u8('M');
    writer.u32(static_cast<std::uint32_t>(14 + dib.size()));
    writer.u32(0);
    writer.u32(14 + headerSize + palette);
    file.insert(file.end(), dib.begin(), dib.end());
    return file;
}

model::Picture pictureOf(const RecordHeader& blip)
{
    model::Picture picture;
    std::int32_t bounds[4] = {0, 0, 0, 0};
    std::int32_t size[2] = {0, 0};
    const auto assign = [&](const char* extension, const char* type, std::span<const std::uint8_t> bytes) {
        picture.extension = extension;
        picture.mediaType = type;
        picture.bytes.assign(bytes.begin(), bytes.end());
    };
    switch (blip.type) {
    case PngBlip: assign("png", "image/png", imageOf(blip, 0x6E0, 1)); break;
    case JpegBlip: assign("jpeg", "image/jpeg", imageOf(blip, blip.instance >= 0x6E2 ? 0x6E2 : 0x46A, 1)); break;
    case CmykJpegBlip: assign("jpeg", "image/jpeg", imageOf(blip, 0x6E2, 1)); break;
    case TiffBlip: assign("tiff", "image/tiff", imageOf(blip, 0x6E4, 1)); break;
    case DibBlip: {
        const std::vector<std::uint8_t> file = bitmapFile(imageOf(blip, 0x7A8, 1));
        assign("bmp", "image/bmp", file);
        break;
    }
    case EmfBlip: {
        const std::vector<std::uint8_t> file = metafileBytes(blip, 0x3D4, bounds, size);
        assign("emf", "image/x-emf", file);
        break;
    }
    case WmfBlip: {
        std::vector<std::uint8_t> file = metafileBytes(blip, 0x216, bounds, size);
        if (!file.empty())
            file = placeableMetafile(std::move(file), bounds, size);
        assign("wmf", "image/x-wmf", file);
        break;
    }
    case PictBlip: {
        // A PICT file begins with 512 bytes that its readers skip.
        std::vector<std::uint8_t> file = metafileBytes(blip, 0x542, bounds, size);
        if (!file.empty())
            file.insert(file.begin(), 512, 0);
        assign("pct", "image/pict", file);
        break;
    }
    default:
        break;
    }
    if (picture.bytes.empty())
        return {};
    return picture;
}

} // namespace

std::vector<model::Picture> readPictureStore(const std::vector<model::Record>& globals)
{
    std::vector<std::uint8_t> group;
    bool inGroup = false;
    for (const model::Record& record : globals) {
        if (record.type == rt::MsoDrawingGroup || (inGroup && record.type == rt::Continue)) {
            group.insert(group.end(), record.bytes.begin(), record.bytes.end());
            inGroup = true;
        } else {
            inGroup = false;
        }
    }
    std::vector<model::Picture> pictures;
    const auto store = childOf(childOf(group, DrawingGroupContainer), StoreContainer);
    for (const RecordHeader& entry : records(store)) {
        if (entry.type != StoreEntry) {
            pictures.emplace_back();
            continue;
        }
        // The entry's header, its name, then the blip itself (kept in the drawing group, never in a
        // stream of its own in a workbook).
        const std::size_t nameLength = entry.body.size() > 33 ? entry.body[33] : 0;
        const std::size_t at = StoreEntryHeaderSize + nameLength;
        model::Picture picture;
        if (entry.body.size() > at) {
            const std::vector<RecordHeader> blips = records(entry.body.subspan(at));
            if (!blips.empty() && blips.front().type >= FirstBlip && blips.front().type <= LastBlip)
                picture = pictureOf(blips.front());
        }
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

} // namespace sheet::biff

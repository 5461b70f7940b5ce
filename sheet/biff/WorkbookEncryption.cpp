#include "sheet/biff/WorkbookEncryption.h"

#include "sheet/Errors.h"
#include "sheet/biff/FilePass.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/io/ByteWriter.h"
#include "sheet/text/Utf16.h"

#include <nettle/arcfour.h>

#include <algorithm>
#include <array>
#include <span>

namespace sheet::biff {
namespace {

constexpr std::uint16_t InterfaceHdr = 0x00E1;
constexpr std::uint16_t RrdHead = 0x0138;
constexpr std::uint16_t UsrExcl = 0x0194;
constexpr std::uint16_t FileLock = 0x0195;
constexpr std::uint16_t RrdInfo = 0x0196;
constexpr std::size_t BoundSheetPosition = 4; // the sheet's stream position, kept in the clear

// How many bytes at the start of a record's body stay in the clear.
std::size_t clearBytes(std::uint16_t type, std::size_t length)
{
    switch (type) {
    case rt::Bof:
    case rt::FilePass:
    case InterfaceHdr:
    case RrdHead:
    case UsrExcl:
    case FileLock:
    case RrdInfo:
        return length;
    case rt::BoundSheet:
        return std::min(length, BoundSheetPosition);
    default:
        return 0;
    }
}

// The RC4 keystream over the stream's positions: rekeyed at each block of 1024 bytes, and run on past
// the bytes in the clear, which take their place in it all the same.
class Keystream {
public:
    explicit Keystream(const StreamKey& key) : key_(key) {}

    void apply(std::span<std::uint8_t> bytes, std::size_t position)
    {
        while (!bytes.empty()) {
            const std::size_t block = position / StreamKey::BlockSize;
            const std::size_t offset = position % StreamKey::BlockSize;
            if (!started_ || block != block_ || offset < offset_)
                start(block);
            skipTo(offset);
            const std::size_t count = std::min(bytes.size(), StreamKey::BlockSize - offset);
            arcfour_crypt(&state_, count, bytes.data(), bytes.data());
            offset_ += count;
            position += count;
            bytes = bytes.subspan(count);
        }
    }

private:
    void start(std::size_t block)
    {
        const std::vector<std::uint8_t> key = key_.blockKey(static_cast<std::uint32_t>(block));
        arcfour_set_key(&state_, key.size(), key.data());
        started_ = true;
        block_ = block;
        offset_ = 0;
    }

    void skipTo(std::size_t offset)
    {
        if (offset == offset_)
            return;
        arcfour_crypt(&state_, offset - offset_, discarded_.data(), discarded_.data());
        offset_ = offset;
    }

    const StreamKey& key_;
    arcfour_ctx state_{};
    bool started_ = false;
    std::size_t block_ = 0;
    std::size_t offset_ = 0; // where the keystream stands in its block
    std::array<std::uint8_t, StreamKey::BlockSize> discarded_{};
};

// Where the body of the globals' FILEPASS record begins and ends, if the globals hold one.
struct FilePassAt {
    std::size_t body = 0;
    std::size_t end = 0;
};

std::optional<FilePassAt> findFilePass(std::span<const std::uint8_t> stream)
{
    std::size_t at = 0;
    while (stream.size() - at >= 4) {
        const std::uint16_t type = io::ByteWriter::get16(stream.data() + at);
        const std::size_t length = io::ByteWriter::get16(stream.data() + at + 2);
        if ((at == 0 && type != rt::Bof) || type == rt::Eof || length > stream.size() - at - 4)
            return std::nullopt;
        if (type == rt::FilePass)
            return FilePassAt{at + 4, at + 4 + length};
        at += 4 + length;
    }
    return std::nullopt;
}

// Runs the keystream over the bodies of the records after FILEPASS; a record cut off by the stream's
// end is taken as far as it goes.
void applyKeystream(std::span<std::uint8_t> stream, const StreamKey& key, std::size_t from)
{
    Keystream keystream(key);
    std::size_t at = from;
    while (stream.size() - at >= 4) {
        const std::uint16_t type = io::ByteWriter::get16(stream.data() + at);
        const std::size_t length = io::ByteWriter::get16(stream.data() + at + 2);
        const std::size_t body = at + 4;
        const std::size_t end = body + std::min(length, stream.size() - body);
        const std::size_t first = body + clearBytes(type, length);
        if (first < end)
            keystream.apply(stream.subspan(first, end - first), first);
        at = end;
    }
}

} // namespace

std::optional<StreamKey> decryptWorkbookStream(std::vector<std::uint8_t>& stream, std::string_view password)
{
    const std::optional<FilePassAt> at = findFilePass(stream);
    if (!at)
        return std::nullopt;
    const std::uint16_t biffVersion = stream.size() >= 6 ? io::ByteWriter::get16(stream.data() + 4) : 0;
    const FilePass pass =
        readFilePass(std::span<const std::uint8_t>(stream).subspan(at->body, at->end - at->body), biffVersion);
    std::optional<StreamKey> key = StreamKey::forPassword(pass, DefaultPassword);
    if (key)
        key->setFromDefaultPassword();
    if (!key && !password.empty())
        key = StreamKey::forPassword(pass, text::toUtf16(password));
    if (!key) {
        if (password.empty())
            throw PasswordError("the workbook is encrypted with a password, and no password was given");
        throw PasswordError("the password is wrong: it does not open this encrypted workbook");
    }
    applyKeystream(stream, *key, at->end);
    return key;
}

void encryptWorkbookStream(std::vector<std::uint8_t>& stream, const StreamKey& key)
{
    const std::optional<FilePassAt> at = findFilePass(stream);
    if (!at)
        throw FormatError("the workbook was encrypted but its encryption header (FILEPASS) is gone; it is not "
                          "saved unprotected");
    applyKeystream(stream, key, at->end);
}

} // namespace sheet::biff

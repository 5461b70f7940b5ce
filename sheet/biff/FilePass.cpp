#include "sheet/biff/FilePass.h"

#include "sheet/Errors.h"
#include "sheet/io/ByteReader.h"

#include <algorithm>
#include <string>

namespace sheet::biff {
namespace {

constexpr std::uint16_t Biff8 = 0x0600;
constexpr std::uint16_t XorObfuscation = 0x0000;
constexpr std::uint16_t Rc4Encryption = 0x0001;
constexpr std::uint32_t Rc4Algorithm = 0x6801;
constexpr std::uint32_t Sha1Algorithm = 0x8004;
constexpr std::uint32_t SaltSize = 16;
constexpr std::uint32_t Sha1Size = 20;
constexpr std::uint32_t HeaderFixedSize = 32; // the encryption header's fields before the provider name

[[noreturn]] void refuse(const std::string& why)
{
    throw FormatError("damaged workbook: the encryption header (FILEPASS) " + why);
}

template <std::size_t N>
void copyInto(std::array<std::uint8_t, N>& to, std::span<const std::uint8_t> from)
{
    std::copy(from.begin(), from.end(), to.begin());
}

// The header and verifier of the CryptoAPI method, after the version.
void readCryptoApi(io::ByteReader& reader, FilePass& pass)
{
    reader.u32(); // the header's flags, repeated
    const std::uint32_t headerSize = reader.u32();
    if (headerSize < HeaderFixedSize || headerSize > reader.remaining())
        refuse("gives a header size of " + std::to_string(headerSize) + " bytes");
    io::ByteReader header(reader.bytes(headerSize), "the encryption header (FILEPASS)");
    header.skip(8); // flags, size of extra data
    const std::uint32_t algorithm = header.u32();
    const std::uint32_t hash = header.u32();
    const std::uint32_t keyBits = header.u32();
    if (algorithm != Rc4Algorithm && algorithm != 0)
        refuse("names the cipher " + std::to_string(algorithm) + " where RC4 was expected");
    if (hash != Sha1Algorithm && hash != 0)
        refuse("names the hash " + std::to_string(hash) + " where SHA-1 was expected");
    const std::uint32_t bits = keyBits == 0 ? 40 : keyBits;
    if (bits < 40 || bits > 128 || bits % 8 != 0)
        refuse("gives an RC4 key of " + std::to_string(keyBits) + " bits");
    pass.keyBytes = static_cast<int>(bits / 8);

    if (reader.u32() != SaltSize)
        refuse("gives a salt that is not 16 bytes long");
    copyInto(pass.salt, reader.bytes(SaltSize));
    copyInto(pass.encryptedVerifier, reader.bytes(pass.encryptedVerifier.size()));
    if (reader.u32() != Sha1Size)
        refuse("gives a verifier hash that is not 20 bytes long");
    const auto verifierHash = reader.bytes(Sha1Size);
    pass.encryptedVerifierHash.assign(verifierHash.begin(), verifierHash.end());
}

} // namespace

FilePass readFilePass(std::span<const std::uint8_t> body, std::uint16_t biffVersion)
{
    io::ByteReader reader(body, "the encryption header (FILEPASS)");
    const std::uint16_t type = biffVersion < Biff8 ? XorObfuscation : reader.u16();
    if (type == XorObfuscation)
        throw FormatError("the workbook is protected with XOR obfuscation, an old kind of password protection that "
                          "cannot be read; save it with RC4 encryption or without a password");
    if (type != Rc4Encryption)
        refuse("names the unknown encryption type " + std::to_string(type));
    const std::uint16_t major = reader.u16();
    const std::uint16_t minor = reader.u16();
    FilePass pass;
    if (major == 1 && minor == 1) {
        pass.method = FilePass::Method::Rc4;
        copyInto(pass.salt, reader.bytes(SaltSize));
        copyInto(pass.encryptedVerifier, reader.bytes(pass.encryptedVerifier.size()));
        const auto verifierHash = reader.bytes(16);
        pass.encryptedVerifierHash.assign(verifierHash.begin(), verifierHash.end());
    } else if (major >= 2 && major <= 4 && minor == 2) {
        pass.method = FilePass::Method::Rc4CryptoApi;
        readCryptoApi(reader, pass);
    } else {
        refuse("names the unknown RC4 version " + std::to_string(major) + "." + std::to_string(minor));
    }
    return pass;
}

} // namespace sheet::biff

#include "sheet/biff/StreamKey.h"

#include <nettle/arcfour.h>
#include <nettle/nettle-meta.h>

#include <algorithm>
#include <array>

namespace sheet::biff {
namespace {

// The password as the hashes take it: UTF-16 code units, little-endian.
std::vector<std::uint8_t> passwordBytes(std::u16string_view password)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(password.size() * 2);
    for (char16_t unit : password) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

std::array<std::uint8_t, 4> littleEndian(std::uint32_t value)
{
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

// A hash of bytes added piece by piece, by one of Nettle's hashes (MD5 or SHA-1).
class Digest {
public:
    explicit Digest(const nettle_hash& hash) : hash_(hash), context_(hash.context_size) { hash_.init(context_.data()); }
    Digest& add(std::span<const std::uint8_t> bytes)
    {
        hash_.update(context_.data(), bytes.size(), bytes.data());
        return *this;
    }
    std::vector<std::uint8_t> digest()
    {
        std::vector<std::uint8_t> result(hash_.digest_size);
        hash_.digest(context_.data(), result.size(), result.data());
        return result;
    }

private:
    const nettle_hash& hash_;
    std::vector<std::uint8_t> context_;
};

Digest Md5() { return Digest(nettle_md5); }
Digest Sha1() { return Digest(nettle_sha1); }

// Plain RC4: the MD5 of the password, cut to 40 bits, is hashed sixteen times over with the salt, and
// that hash, cut to 40 bits again, is what the block keys come from.
std::vector<std::uint8_t> rc4Base(const FilePass& pass, std::u16string_view password)
{
    std::vector<std::uint8_t> passwordHash = Md5().add(passwordBytes(password)).digest();
    passwordHash.resize(5);
    Digest salted = Md5();
    for (int i = 0; i < 16; ++i)
        salted.add(passwordHash).add(pass.salt);
    std::vector<std::uint8_t> base = salted.digest();
    base.resize(5);
    return base;
}

std::vector<std::uint8_t> cryptoApiBase(const FilePass& pass, std::u16string_view password)
{
    return Sha1().add(pass.salt).add(passwordBytes(password)).digest();
}

} // namespace

StreamKey::StreamKey(FilePass::Method method, std::vector<std::uint8_t> base, std::size_t keyBytes)
    : method_(method), base_(std::move(base)), keyBytes_(keyBytes)
{
}

std::optional<StreamKey> StreamKey::forPassword(const FilePass& pass, std::u16string_view password)
{
    const bool cryptoApi = pass.method == FilePass::Method::Rc4CryptoApi;
    StreamKey key(pass.method, cryptoApi ? cryptoApiBase(pass, password) : rc4Base(pass, password),
                  static_cast<std::size_t>(pass.keyBytes));

    // The verifier and its hash are encrypted one after the other with the key of block 0.
    const std::vector<std::uint8_t> rc4Key = key.blockKey(0);
    arcfour_ctx cipher{};
    arcfour_set_key(&cipher, rc4Key.size(), rc4Key.data());
    std::array<std::uint8_t, 16> verifier{};
    arcfour_crypt(&cipher, verifier.size(), verifier.data(), pass.encryptedVerifier.data());
    std::vector<std::uint8_t> verifierHash(pass.encryptedVerifierHash.size());
    arcfour_crypt(&cipher, verifierHash.size(), verifierHash.data(), pass.encryptedVerifierHash.data());
    const std::vector<std::uint8_t> expected = cryptoApi ? Sha1().add(verifier).digest() : Md5().add(verifier).digest();
    if (expected != verifierHash)
        return std::nullopt;
    return key;
}

std::vector<std::uint8_t> StreamKey::blockKey(std::uint32_t block) const
{
    if (method_ == FilePass::Method::Rc4)
        return Md5().add(base_).add(littleEndian(block)).digest();
    std::vector<std::uint8_t> key = Sha1().add(base_).add(littleEndian(block)).digest();
    key.resize(keyBytes_);
    // A 40-bit key is used as 128 bits, the rest zero.
    if (keyBytes_ == 5)
        key.resize(16, 0);
    return key;
}

} // namespace sheet::biff

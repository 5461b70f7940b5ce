#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace sheet::biff {

// What the FILEPASS record of an encrypted workbook says: the RC4 method, the salt and the password
// verifier. The key comes from the password and the salt, with MD5 for plain RC4 and SHA-1 for the
// CryptoAPI method, whose header also gives the key's length.
struct FilePass {
    enum class Method { Rc4, Rc4CryptoApi };

    Method method = Method::Rc4;
    std::array<std::uint8_t, 16> salt{};
    std::array<std::uint8_t, 16> encryptedVerifier{};
    std::vector<std::uint8_t> encryptedVerifierHash; // 16 bytes (MD5) or 20 (SHA-1)
    int keyBytes = 16;                               // the RC4 key's length; the CryptoAPI method may use 5 to 16
};

// Reads the body of a FILEPASS record of a workbook whose BOF gives `biffVersion` (0x0600 for BIFF8;
// before it, the record could only hold XOR obfuscation). Throws a FormatError for XOR obfuscation
// (not supported), for an unknown method and for a record that is cut short or out of range.
FilePass readFilePass(std::span<const std::uint8_t> body, std::uint16_t biffVersion);

} // namespace sheet::biff

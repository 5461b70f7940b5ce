#pragma once

#include "sheet/biff/FilePass.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace sheet::biff {

// The key of an encrypted Workbook stream: what the password and the salt of the FILEPASS record give,
// from which each block of 1024 bytes gets an RC4 key of its own. It is kept instead of the password.
class StreamKey {
public:
    static constexpr std::size_t BlockSize = 1024;

    // The key that `password` (UTF-16, without a terminator) gives, or nothing when the record's
    // verifier shows that the password is not the one.
    static std::optional<StreamKey> forPassword(const FilePass& pass, std::u16string_view password);

    // The RC4 key of a block.
    std::vector<std::uint8_t> blockKey(std::uint32_t block) const;

    // Whether the key comes from the built-in default password, which opens the workbook without asking.
    bool fromDefaultPassword() const { return fromDefaultPassword_; }
    void setFromDefaultPassword() { fromDefaultPassword_ = true; }

private:
    StreamKey(FilePass::Method method, std::vector<std::uint8_t> base, std::size_t keyBytes);

    FilePass::Method method_;
    std::vector<std::uint8_t> base_; // hashed with the block number into the block's key
    std::size_t keyBytes_;
    bool fromDefaultPassword_ = false;
};

} // namespace sheet::biff

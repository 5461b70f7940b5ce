#pragma once

#include "sheet/biff/StreamKey.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace sheet::biff {

// The password that spreadsheet programs try before they ask for one; a workbook encrypted with it
// opens without a question.
inline constexpr std::u16string_view DefaultPassword = u"VelvetSweatshop";

// Decrypts a Workbook stream in place when its globals hold a FILEPASS record, and returns its key;
// returns nothing and leaves the stream alone when there is none. The default password is tried first,
// then `password` (UTF-8; empty when none was given). The record headers, the BOF, FILEPASS and
// INTERFACEHDR records (and the others the format leaves in the clear) and each BOUNDSHEET's stream
// position are not encrypted. Throws a PasswordError when no password opens the stream and a
// FormatError for a damaged FILEPASS record or a kind of encryption that cannot be read.
std::optional<StreamKey> decryptWorkbookStream(std::vector<std::uint8_t>& stream, std::string_view password);

// Encrypts a written Workbook stream in place with the key it was read with, below the FILEPASS
// record that it keeps from the file it was read from. Throws a FormatError when that record is
// missing: the stream is never written unprotected.
void encryptWorkbookStream(std::vector<std::uint8_t>& stream, const StreamKey& key);

} // namespace sheet::biff

#include "sheet/Errors.h"
#include "sheet/TestFiles.h"
#include "sheet/biff/FilePass.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/biff/WorkbookFile.h"
#include "sheet/edit/CellEditing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>

namespace sheet {
namespace {

using test::dataPath;

constexpr const char* LibreOfficePassword = "Brötchen-7";

std::string valueText(const model::Workbook& workbook, const model::Cell& cell)
{
    return std::visit(
        [](const auto& value) -> std::string {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, std::string>)
                return value;
            else if constexpr (std::is_same_v<T, double>)
                return std::to_string(value);
            else
                return "?";
        },
        workbook.value(cell));
}

// Every cell of every sheet, one "sheet!row,column=value" a line.
std::vector<std::string> listing(const model::Workbook& workbook)
{
    std::vector<std::string> lines;
    for (const model::Sheet& sheet : workbook.sheets)
        for (const auto& [at, cell] : sheet.cells)
            lines.push_back(sheet.name + "!" + std::to_string(at.row) + "," + std::to_string(at.column) + "=" +
                            valueText(workbook, cell));
    return lines;
}

std::vector<std::uint8_t> streamOfFile(const std::vector<std::uint8_t>& bytes)
{
    return container::readCompoundFile(bytes).root.child(u"Workbook")->data;
}

std::vector<std::uint8_t> withStream(const std::string& path, std::vector<std::uint8_t> stream)
{
    container::CompoundFile file = container::readCompoundFile(test::fileBytes(path));
    file.root.child(u"Workbook")->data = std::move(stream);
    return container::writeCompoundFile(file);
}

bool contains(const std::vector<std::uint8_t>& bytes, std::string_view text)
{
    return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

std::vector<std::uint8_t> fromHex(std::string_view hex)
{
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    return bytes;
}

// FILEPASS records of the CryptoAPI method for LibreOfficePassword, with a 128-bit and a 40-bit key,
// made from the published key derivation with Python's hashlib apart from the engine; LibreOffice
// opens the workbooks encrypted under them.
constexpr std::string_view CryptoApi128 =
    "010004000200040000007e00000004000000000000000168000004800000800000000100000000000000000000004d006900630072"
    "006f0073006f0066007400200045006e00680061006e006300650064002000430072007900700074006f006700720061007000680069"
    "0063002000500072006f00760069006400650072002000760031002e003000000010000000101112131415161718191a1b1c1d1e1f17"
    "11f83c15906e72069a6c8fdd358f4814000000a668579d8bb475919de57854764fc6d6691df321";
constexpr std::string_view CryptoApi40 =
    "010004000200040000007600000004000000000000000168000004800000280000000100000000000000000000004d006900630072"
    "006f0073006f0066007400200042006100730065002000430072007900700074006f0067007200610070006800690063002000500072"
    "006f00760069006400650072002000760031002e003000000010000000101112131415161718191a1b1c1d1e1fd2162dde2c9ee15f72"
    "b3e9c4beffb28c14000000eda744981e769bae848a42747afacd60251b4aa4";

// The body of the workbook's FILEPASS record.
std::vector<std::uint8_t>& filePassOf(std::vector<model::Record>& globals)
{
    const auto found = std::find_if(globals.begin(), globals.end(),
                                    [](const model::Record& record) { return record.type == biff::rt::FilePass; });
    if (found == globals.end())
        throw std::logic_error("no FILEPASS record");
    return found->bytes;
}

// The LibreOffice workbook, its RC4 encryption exchanged for the CryptoAPI method under `filePass`.
biff::WorkbookFile underCryptoApi(std::string_view filePass)
{
    biff::WorkbookFile file = biff::openWorkbookFile(dataPath("libreoffice-password.xls"), LibreOfficePassword);
    const std::vector<std::uint8_t> body = fromHex(filePass);
    filePassOf(file.workbook.globalRecords) = body;
    file.workbook.modified = true;
    file.encryption = biff::StreamKey::forPassword(biff::readFilePass(body, 0x0600), u"Brötchen-7");
    return file;
}

TEST(EncryptedWorkbook, OpensWithTheDefaultPasswordOrTheOneGiven)
{
    const biff::WorkbookFile poi = biff::openWorkbookFile(dataPath("default-password-encrypted.xls"));
    EXPECT_THAT(listing(poi.workbook), ::testing::ElementsAre("Sheet1!0,0=test cell value"));
    EXPECT_EQ(poi.workbook.sheets.size(), 3u);

    const biff::WorkbookFile office = biff::openWorkbookFile(dataPath("libreoffice-password.xls"), LibreOfficePassword);
    const std::vector<std::string> cells = listing(office.workbook);
    ASSERT_EQ(cells.size(), 2u * 7 + 2 * 400 + 1);
    EXPECT_EQ(cells[2], "Assets!3,0=Savings");
    EXPECT_EQ(cells[cells.size() - 2], "Assets!410,1=" + std::to_string(205.5));
    EXPECT_EQ(cells.back(), "Notes!0,0=kept under lock");
}

TEST(EncryptedWorkbook, AWrongOrMissingPasswordIsRefusedClearly)
{
    const std::string path = dataPath("libreoffice-password.xls");
    try {
        biff::openWorkbookFile(path, "Brotchen-7");
        ADD_FAILURE() << "opened with a wrong password";
    } catch (const PasswordError& error) {
        EXPECT_THAT(error.what(), ::testing::HasSubstr("the password is wrong"));
    }
    try {
        biff::openWorkbookFile(path);
        ADD_FAILURE() << "opened without its password";
    } catch (const PasswordError& error) {
        EXPECT_THAT(error.what(), ::testing::HasSubstr("no password was given"));
    }
}

// An encrypted workbook, the password it opens with, and the key that the FILEPASS record gives.
struct Encrypted {
    const char* name;
    std::function<biff::WorkbookFile()> open;
    const char* password;
};

void PrintTo(const Encrypted& encrypted, std::ostream* out)
{
    *out << encrypted.name;
}

class SavedEncryptedWorkbook : public ::testing::TestWithParam<Encrypted> {};

TEST_P(SavedEncryptedWorkbook, StaysEncryptedWithTheSamePasswordAndKeepsItsCells)
{
    biff::WorkbookFile file = GetParam().open();
    ASSERT_TRUE(file.encryption) << "the FILEPASS record does not take the password";
    const std::vector<std::uint8_t> filePass = filePassOf(file.workbook.globalRecords);
    std::vector<std::string> expected = listing(file.workbook);

    edit::writeCellText(file.workbook, 0, 5, 0, "Gondola fund", NumberLocale{});
    edit::writeCellText(file.workbook, 0, 5, 1, "3200", NumberLocale{});
    const std::vector<std::uint8_t> bytes = biff::workbookFileBytes(file);

    const std::vector<std::uint8_t> stream = streamOfFile(bytes);
    EXPECT_FALSE(contains(stream, "Gondola fund")) << "the new text is in the clear";
    EXPECT_FALSE(contains(stream, "kept under")) << "an old text is in the clear";
    if (std::string_view(GetParam().password) != "VelvetSweatshop") {
        EXPECT_THROW(biff::readWorkbookFile(bytes), PasswordError);
    }

    biff::WorkbookFile again = biff::readWorkbookFile(bytes, GetParam().password);
    EXPECT_EQ(filePassOf(again.workbook.globalRecords), filePass);
    const std::vector<std::string> cells = listing(again.workbook);
    const std::string sheet = again.workbook.sheets[0].name;
    EXPECT_THAT(cells, ::testing::Contains(sheet + "!5,0=Gondola fund"));
    EXPECT_THAT(cells, ::testing::Contains(sheet + "!5,1=" + std::to_string(3200.0)));
    std::erase_if(expected, [&](const std::string& line) { return line.starts_with(sheet + "!5,"); });
    for (const std::string& line : expected)
        EXPECT_THAT(cells, ::testing::Contains(line));
}

INSTANTIATE_TEST_SUITE_P(
    Methods, SavedEncryptedWorkbook,
    ::testing::Values(
        Encrypted{"Rc4DefaultPassword", [] { return biff::openWorkbookFile(dataPath("default-password-encrypted.xls")); },
                  "VelvetSweatshop"},
        Encrypted{"Rc4",
                  [] { return biff::openWorkbookFile(dataPath("libreoffice-password.xls"), LibreOfficePassword); },
                  LibreOfficePassword},
        Encrypted{"CryptoApi128Bits", [] { return underCryptoApi(CryptoApi128); }, LibreOfficePassword},
        Encrypted{"CryptoApi40Bits", [] { return underCryptoApi(CryptoApi40); }, LibreOfficePassword}),
    [](const ::testing::TestParamInfo<Encrypted>& info) { return std::string(info.param.name); });

TEST(EncryptedWorkbook, AnUnchangedCopyHasTheSameStreamByteForByte)
{
    for (const char* name : {"default-password-encrypted.xls", "libreoffice-password.xls"}) {
        biff::WorkbookFile file = biff::openWorkbookFile(dataPath(name), LibreOfficePassword);
        EXPECT_EQ(streamOfFile(biff::workbookFileBytes(file)), streamOfFile(test::fileBytes(dataPath(name)))) << name;
    }
}

// The LibreOffice workbook's stream with one damage, and what the refusal says.
struct Damage {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> apply;
    const char* message;
};

void PrintTo(const Damage& damage, std::ostream* out)
{
    *out << damage.name;
}

// Where the body of the FILEPASS record begins: it follows the BOF record.
constexpr std::size_t FilePassBody = 4 + 16 + 4;

void setFilePass(std::vector<std::uint8_t>& stream, const std::vector<std::uint8_t>& body)
{
    const std::size_t oldLength = stream[FilePassBody - 2] | (stream[FilePassBody - 1] << 8);
    stream.erase(stream.begin() + FilePassBody, stream.begin() + static_cast<std::ptrdiff_t>(FilePassBody + oldLength));
    stream.insert(stream.begin() + FilePassBody, body.begin(), body.end());
    stream[FilePassBody - 2] = static_cast<std::uint8_t>(body.size());
    stream[FilePassBody - 1] = static_cast<std::uint8_t>(body.size() >> 8);
}

class DamagedEncryptedWorkbook : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedEncryptedWorkbook, IsRefusedWithATypedError)
{
    const std::string path = dataPath("libreoffice-password.xls");
    std::vector<std::uint8_t> stream = streamOfFile(test::fileBytes(path));
    GetParam().apply(stream);
    try {
        biff::readWorkbookFile(withStream(path, stream), LibreOfficePassword);
        ADD_FAILURE() << "opened without complaint";
    } catch (const FormatError& error) {
        EXPECT_THAT(error.what(), ::testing::HasSubstr(GetParam().message));
    }
}

std::vector<std::uint8_t> cryptoApiWith(std::size_t at, std::vector<std::uint8_t> bytes)
{
    std::vector<std::uint8_t> body = fromHex(CryptoApi128);
    std::copy(bytes.begin(), bytes.end(), body.begin() + static_cast<std::ptrdiff_t>(at));
    return body;
}

INSTANTIATE_TEST_SUITE_P(
    Damages, DamagedEncryptedWorkbook,
    ::testing::Values(
        Damage{"FilePassCutShort", [](auto& stream) { setFilePass(stream, fromHex("01000100010002a3")); },
               "encryption header (FILEPASS) is cut short"},
        Damage{"XorObfuscation", [](auto& stream) { setFilePass(stream, fromHex("00000102a3b4")); }, "XOR obfuscation"},
        Damage{"OlderThanBiff8", [](auto& stream) { stream[5] = 0x05; }, "XOR obfuscation"},
        Damage{"UnknownRc4Version", [](auto& stream) { setFilePass(stream, fromHex("010005000200")); },
               "unknown RC4 version 5.2"},
        Damage{"ShortSalt", [](auto& stream) { setFilePass(stream, cryptoApiWith(140, {8, 0, 0, 0})); },
               "salt that is not 16 bytes"},
        Damage{"HeaderLongerThanTheRecord",
               [](auto& stream) { setFilePass(stream, cryptoApiWith(10, {0xFF, 0xFF, 0, 0})); }, "header size"},
        Damage{"NotRc4", [](auto& stream) { setFilePass(stream, cryptoApiWith(22, {0x10, 0x66, 0, 0})); },
               "where RC4 was expected"},
        Damage{"StreamCutInsideARecord", [](auto& stream) { stream.resize(stream.size() - 700); },
               "runs past the end of the Workbook stream"},
        Damage{"VerifierChanged", [](auto& stream) { stream[FilePassBody + 6 + 16] ^= 0x01; }, "password is wrong"}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

} // namespace
} // namespace sheet

#include "Command.h"
#include "Commands.h"

#include "resources/ChartTemplate.h"
#include "sheet/biff/WorkbookFile.h"
#include "sheet/io/FileBytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class FillCommand : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(folder_); }
    void TearDown() override { fs::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }
    std::string write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }
    // The failure's text, which begins with the file it blames.
    std::string failure(const tools::Arguments& arguments) const
    {
        std::ostringstream output;
        try {
            tools::fillCommand().run(arguments, output);
        } catch (const tools::FileFailure& failure) {
            return failure.what();
        }
        return "no failure";
    }

    fs::path folder_ = fs::temp_directory_path() / ("tortelet-fill-" + std::to_string(::getpid()));
};

TEST_F(FillCommand, NamesTheTemplateForItsDamageAndTheEntriesForTheirs)
{
    const QByteArray builtIn = resources::chartTemplate();
    sheet::biff::WorkbookFile file =
        sheet::biff::readWorkbookFile({reinterpret_cast<const std::uint8_t*>(builtIn.constData()),
                                     static_cast<std::size_t>(builtIn.size())});
    file.workbook.sheets[0].cells[{3, 1}].xf = 4000;  // B4's cell format does not exist
    file.workbook.sheets[0].modified = true;
    const std::vector<std::uint8_t> damagedBytes = sheet::biff::workbookFileBytes(file);
    const std::string damaged = write("damaged.xlt", std::string(damagedBytes.begin(), damagedBytes.end()));
    const std::string entries = write("entries.txt", "Gold\t100\n");
    const std::string out = path("out.xls");
    EXPECT_EQ(failure({damaged, out, entries}).rfind(damaged + ": ", 0), 0u);

    const std::string good = write("good.xlt", builtIn.toStdString());
    const std::string tooLong = write("long.txt", "Gold\t100\n" + std::string(40000, 'x') + "\t1\n");
    EXPECT_EQ(failure({good, out, tooLong}).rfind(tooLong + ": entry 2: ", 0), 0u);
    EXPECT_FALSE(fs::exists(out));

    // Labels written into merged cells would hide under the merge: the template is refused by the range.
    const std::string merged = TORTELET_TEST_DATA "/merged-entry-rows.xls";
    EXPECT_EQ(failure({merged, out, entries}),
              merged + ": the entry rows A4:B9 meet the merged cells A4:A8, which would hide entries");
    EXPECT_FALSE(fs::exists(out));
}

}  // namespace

#include "WorkbookPassword.h"

#include "sheet/Errors.h"
#include "sheet/automation/Workbook.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string_view>

namespace tools {

namespace {

constexpr const char* PasswordOption = "--password-file";
constexpr const char* PasswordVariable = "TORTELET_PASSWORD";
constexpr std::size_t LongestLine = 4096;
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// The first line, read no further than one character past the longest a password may be: the file may
// be endless (/dev/zero) or a single line of many megabytes. A byte order mark before it is no part of it.
std::string readPasswordFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw FileFailure(path, "the password file cannot be read");
    std::string line;
    char c = 0;
    while (line.size() <= LongestLine + ByteOrderMark.size() && file.get(c) && c != '\n')
        line += c;
    if (!file && !file.eof())
        throw FileFailure(path, "the password file cannot be read");
    if (line.starts_with(ByteOrderMark))
        line.erase(0, ByteOrderMark.size());
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (line.size() > LongestLine)
        throw FileFailure(path, "the first line is too long to be a password");
    return line;
}

}  // namespace

std::string takePassword(Arguments& arguments)
{
    const auto option = std::find(arguments.begin(), arguments.end(), PasswordOption);
    if (option != arguments.end()) {
        if (option + 1 == arguments.end())
            throw UsageError(std::string(PasswordOption) + " takes the file that holds the password");
        const std::string path = *(option + 1);
        arguments.erase(option, option + 2);
        return readPasswordFile(path);
    }
    const char* variable = std::getenv(PasswordVariable);
    return variable ? variable : std::string();
}

sheet::Workbook& openWorkbook(sheet::Workbooks& workbooks, const std::string& path, const std::string& password)
{
    try {
        return workbooks.Open(path, password);
    } catch (const sheet::PasswordError& error) {
        throw FileFailure(path, std::string(error.what()) + " (give it with " + PasswordOption + " FILE or in " +
                                    PasswordVariable + ")");
    }
}

}  // namespace tools

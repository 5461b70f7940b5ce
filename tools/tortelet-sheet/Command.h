#pragma once

#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

namespace tools {

using Arguments = std::vector<std::string>;

// One command of tortelet-sheet: its name, its synopsis for the usage text, a longer
// description for --help, and what it does with the arguments after its name.
struct Command {
    const char* name;
    const char* synopsis;
    const char* description;
    int (*run)(const Arguments& arguments, std::ostream& output);
};

// The command line does not fit the command; ends the program with code 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file named on the command line cannot be read, is not what it should be, or cannot be
// written; ends the program with code 1 and one line naming the file.
class FileFailure : public std::runtime_error {
public:
    FileFailure(const std::string& path, const std::string& reason)
        : std::runtime_error(path + ": " + withoutPath(path, reason))
    {
    }

private:
    // Engine descriptions often begin with the path already.
    static std::string withoutPath(const std::string& path, const std::string& reason)
    {
        const std::string prefix = path + ": ";
        return reason.starts_with(prefix) ? reason.substr(prefix.size()) : reason;
    }
};

}  // namespace tools

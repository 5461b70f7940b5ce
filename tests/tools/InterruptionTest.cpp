#include "Interruption.h"

#include "sheet/io/FileBytes.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A signal that arrives in the middle of a write ends the program as it would by default, and the
// temporary file of the write is gone: whichever signal it is.
class Interruption : public ::testing::TestWithParam<int> {};

TEST_P(Interruption, InTheMiddleOfAWriteLeavesNothingBehind)
{
    const fs::path folder = fs::temp_directory_path() / ("tortelet-interrupted-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const int signal = GetParam();

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        tools::removeUnfinishedFilesWhenInterrupted();
        sheet::io::writeChosenFile((folder / "out.xls").string(), [signal](const sheet::io::ByteSink& sink) {
            const std::uint8_t half[4096] = {};
            sink(half);
            ::raise(signal);
            sink(half);
        });
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    EXPECT_TRUE(fs::is_empty(folder));
    fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(EveryEndingSignal, Interruption,
                         ::testing::Values(SIGQUIT, SIGPIPE, SIGXFSZ, SIGALRM, SIGUSR1, SIGTERM, SIGABRT, SIGRTMIN + 1));

}  // namespace

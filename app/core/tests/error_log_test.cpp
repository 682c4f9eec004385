#include "core/error_log.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/model_state.hpp"
#include "test_support.hpp"

namespace zelo::core {
namespace {

using test_support::ReadAll;
using test_support::TemporaryFolder;
using test_support::WriteAll;

// One program start: open the log for the mode, write a line, end.
void RunOnce(int mode, const std::string& path, const std::string& line) {
    ErrorLog log;
    EXPECT_EQ(OpenErrorLog(log, mode, path), "");
    log.Append(line);
    log.Close();
}

TEST(ErrorLog, AppendModeKeepsEarlierStartsAndNewModeStartsEmpty) {
    TemporaryFolder dir;
    const std::string path = dir.File("ERR_LOG.TXT");
    RunOnce(kErrorLogAppend, path, "first\r\n");  // creates the missing file
    RunOnce(kErrorLogAppend, path, "second\r\n");
    EXPECT_EQ(ReadAll(path), "first\r\nsecond\r\n");
    RunOnce(kErrorLogNew, path, "third\r\n");
    EXPECT_EQ(ReadAll(path), "third\r\n");
    RunOnce(kErrorLogNew, path, "fourth\r\n");
    EXPECT_EQ(ReadAll(path), "fourth\r\n");
}

TEST(ErrorLog, OffModeTouchesNoFile) {
    TemporaryFolder dir;
    const std::string path = dir.File("ERR_LOG.TXT");
    WriteAll(path, "old\r\n");
    RunOnce(kErrorLogOff, path, "ignored\r\n");
    EXPECT_EQ(ReadAll(path), "old\r\n");
}

TEST(ErrorLog, OpenFailureIsToldOnceAndTurnsLoggingOff) {
    TemporaryFolder dir;
    const std::string path = dir.File("no such folder/ERR_LOG.TXT");
    std::vector<std::string> boxes;
    for (int mode : {int{kErrorLogAppend}, int{kErrorLogNew}}) {
        ErrorLog log;
        boxes.push_back(OpenErrorLog(log, mode, path));
        EXPECT_EQ(mode, kErrorLogOff);
        log.Append("lost\r\n");  // harmless
        log.Close();
        log.Close();
        // The same log opens later once the settings name a usable file.
        EXPECT_TRUE(log.OpenNew(dir.File("ERR_LOG.TXT")));
        log.Append("kept\r\n");
        log.Close();
        EXPECT_EQ(ReadAll(dir.File("ERR_LOG.TXT")), "kept\r\n");
    }
    EXPECT_EQ(boxes, (std::vector<std::string>{"Error log file open error !",
                                               "Error log file open error!"}));
}

}  // namespace
}  // namespace zelo::core

// The system's platform layer on real files, the same cases on POSIX and,
// under Wine, on Windows: what the configuration's save, the upload folders
// and the polled-data file rely on.
#include "platform/platform.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "crash_simulating_platform.hpp"
#include "file_bytes.hpp"
#include "temporary_folder.hpp"

namespace zelo::platform {
namespace {

namespace fs = std::filesystem;

using test_support::ReadAll;
using test_support::WriteAll;

class SystemPlatformTest : public ::testing::Test {
protected:
    std::string At(const std::string& name) const { return scratch_.File(name); }

    SystemPlatform system_;
    test_support::TemporaryFolder scratch_{"zelo-platform"};
    const fs::path& folder_ = scratch_.Path();
};

TEST_F(SystemPlatformTest, ReadsAWholeFileByteForByteAndTellsMissingFromFailed) {
    const std::string bytes("[Communication]\r\nPort=1\n\x1a\0end", 29);
    WriteAll(At("Zelocom.ini"), bytes);
    std::string contents;
    EXPECT_EQ(system_.ReadFile(At("Zelocom.ini"), 1024, contents), ReadResult::kRead);
    EXPECT_EQ(contents, bytes);

    EXPECT_EQ(system_.ReadFile(At("none.ini"), 1024, contents), ReadResult::kMissing);
    // A file exactly as large as the bound is read; one byte more is not.
    EXPECT_EQ(system_.ReadFile(At("Zelocom.ini"), bytes.size(), contents), ReadResult::kRead);
    EXPECT_EQ(system_.ReadFile(At("Zelocom.ini"), bytes.size() - 1, contents), ReadResult::kFailed);
    // Too large for the bound: nothing half-read is handed back.
    EXPECT_EQ(system_.ReadFile(At("Zelocom.ini"), 10, contents), ReadResult::kFailed);
    EXPECT_TRUE(contents.empty());
    // A folder is not a file to read.
    EXPECT_EQ(system_.ReadFile(folder_.string(), 1024, contents), ReadResult::kFailed);
}

TEST_F(SystemPlatformTest, AtomicWriteCreatesThenReplacesAndLeavesNoTemporary) {
    const std::string path = At("Zelocom.ini");
    ASSERT_TRUE(WriteFileAtomically(system_, path, "first\r\n"));
    EXPECT_EQ(ReadAll(path), "first\r\n");
    ASSERT_TRUE(WriteFileAtomically(system_, path, "second, longer\r\n"));
    EXPECT_EQ(ReadAll(path), "second, longer\r\n");
    EXPECT_FALSE(fs::exists(path + ".tmp"));
}

TEST_F(SystemPlatformTest, AtomicWriteIntoAMissingFolderFailsAndKeepsNothing) {
    const std::string path = At("missing/Zelocom.ini");
    EXPECT_FALSE(WriteFileAtomically(system_, path, "text"));
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(SystemPlatformTest, FoldersAreMadeOnceAndAFileIsNoFolder) {
    const std::string folder = folder_.string() + system_.PathSeparator() + "ADDR_A";
    EXPECT_TRUE(system_.EnsureDirectory(folder));
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(system_.EnsureDirectory(folder));  // already there
    WriteAll(At("ADDR_B"), "a file in the way");
    EXPECT_FALSE(system_.EnsureDirectory(At("ADDR_B")));
    EXPECT_FALSE(system_.FileSize(folder).has_value());
    EXPECT_FALSE(system_.FileSize(At("none")).has_value());
    EXPECT_EQ(system_.FileSize(At("ADDR_B")), 17);
}

TEST_F(SystemPlatformTest, AppendKeepsWhatIsThereAndCreateEmptyTruncates) {
    const std::string path = At("POLL.DAT");
    WriteAll(path, "A old\r\n");
    {
        auto file = system_.OpenForAppend(path);
        ASSERT_NE(file, nullptr);
        // Readable by others while open: the record is there before close.
        EXPECT_TRUE(file->Write("A new\r\n"));
        EXPECT_TRUE(file->Flush());
        EXPECT_EQ(ReadAll(path), "A old\r\nA new\r\n");
    }
    {
        auto file = system_.OpenForAppend(At("NEW.DAT"));
        ASSERT_NE(file, nullptr);
        EXPECT_TRUE(file->Write("B 1\r\n"));
    }
    EXPECT_EQ(ReadAll(At("NEW.DAT")), "B 1\r\n");
    {
        auto file = system_.CreateEmpty(path);
        ASSERT_NE(file, nullptr);
        EXPECT_TRUE(file->Write("C\r\n"));
    }
    EXPECT_EQ(ReadAll(path), "C\r\n");
    EXPECT_EQ(system_.OpenForAppend(At("missing/POLL.DAT")), nullptr);
}

// The crash-simulating files other tests rely on: only what was synced
// survives, a file never synced is gone, and a dead process changes nothing.
TEST_F(SystemPlatformTest, ACrashKeepsOnlyWhatWasSynced) {
    testing::CrashSimulatingPlatform disk;
    WriteAll(At("old.dat"), "before\n");
    auto old = disk.OpenForAppend(At("old.dat"));
    ASSERT_TRUE(old && old->Write("synced\n") && old->Flush() && old->Write("lost\n"));
    auto fresh = disk.CreateEmpty(At("fresh.dat"));
    ASSERT_TRUE(fresh && fresh->Write("never synced"));
    ASSERT_TRUE(WriteFileAtomically(disk, At("state"), "1"));
    disk.CrashAtChange(disk.Changes() + 2);
    EXPECT_TRUE(old->Write("one more\n"));
    EXPECT_FALSE(old->Flush());
    EXPECT_TRUE(disk.Dead());
    EXPECT_FALSE(WriteFileAtomically(disk, At("state"), "2"));

    // The process's handles go with it (Windows removes no file still open).
    old.reset();
    fresh.reset();
    disk.Crash();
    EXPECT_EQ(ReadAll(At("old.dat")), "before\nsynced\n");
    EXPECT_FALSE(fs::exists(At("fresh.dat")));
    EXPECT_EQ(ReadAll(At("state")), "1");
}

TEST_F(SystemPlatformTest, TheWorkingDirectoryAndTheClockAreTheSystems) {
    const fs::path before = fs::current_path();
    fs::current_path(folder_);
    const std::string here = system_.CurrentDirectory();
    fs::current_path(before);
    EXPECT_TRUE(fs::equivalent(here, folder_)) << here;

    const LocalTime now = system_.Now();
    EXPECT_GE(now.year, 2024);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12);
    EXPECT_TRUE(now.day >= 1 && now.day <= 31);
    EXPECT_TRUE(now.weekday >= 0 && now.weekday <= 6);
    EXPECT_TRUE(now.hour >= 0 && now.hour <= 23);
    const std::int64_t start = system_.Seconds();
    system_.Sleep(20);
    EXPECT_GE(system_.Seconds(), start);
}

}  // namespace
}  // namespace zelo::platform

#include "core/profile_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.hpp"

namespace zelo::core {
namespace {

using test_support::ReadAll;
using test_support::TemporaryFolder;
using test_support::WriteAll;

// A disk that fills up half-way through writing the new file.
class DiskFullPlatform : public SystemPlatform {
public:
    bool WriteNewFile(const std::string& path, std::string_view contents) override {
        SystemPlatform::WriteNewFile(path, contents.substr(0, contents.size() / 2));
        return false;
    }
};

// A rename that fails (the target locked by another program).
class RenameFailsPlatform : public SystemPlatform {
public:
    bool ReplaceFile(const std::string&, const std::string&) override { return false; }
};

TEST(ProfileFile, CreatesAMissingFile) {
    TemporaryFolder dir;
    SystemPlatform platform;
    ProfileFile file(platform, dir.File("Zelocom.ini"));
    file.Load();
    EXPECT_EQ(file.Text().Read("Communication", "Port", "1", 10), "1");
    file.Text().Write("Communication", "Port", "2");
    ASSERT_TRUE(file.Save());
    EXPECT_EQ(ReadAll(dir.File("Zelocom.ini")), "[Communication]\r\nPort=2\r\n");
}

TEST(ProfileFile, FailedWriteOrRenameLeavesTheOldFileIntact) {
    TemporaryFolder dir;
    const std::string path = dir.File("Zelocom.ini");
    const std::string old = "[Communication]\r\nPort=3\r\n";
    DiskFullPlatform diskFull;
    RenameFailsPlatform renameFails;
    for (Platform* platform :
         {static_cast<Platform*>(&diskFull), static_cast<Platform*>(&renameFails)}) {
        WriteAll(path, old);
        ProfileFile file(*platform, path);
        file.Load();
        file.Text().Write("Communication", "Port", "4");
        file.Text().Write("Modem", "Modem_Initial_command", std::string(500, 'x'));
        EXPECT_FALSE(file.Save());
        EXPECT_EQ(ReadAll(path), old);
        EXPECT_FALSE(std::filesystem::exists(path + ".tmp")) << "no temporary file is left";
    }
}

TEST(ProfileFile, FileTooLargeToReadIsNeverOverwritten) {
    TemporaryFolder dir;
    const std::string path = dir.File("Zelocom.ini");
    const std::string huge = "[Communication]\nPort=5\n" + std::string(ProfileFile::kMaxBytes, ';');
    WriteAll(path, huge);
    SystemPlatform platform;
    ProfileFile file(platform, path);
    file.Load();
    EXPECT_EQ(file.Text().Read("Communication", "Port", "1", 10), "1") << "read as defaults";
    file.Text().Write("Communication", "Port", "2");
    EXPECT_FALSE(file.Save());
    EXPECT_EQ(ReadAll(path).size(), huge.size());
}

}  // namespace
}  // namespace zelo::core

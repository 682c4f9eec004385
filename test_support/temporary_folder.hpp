// A fresh, empty folder for one test, removed with all it holds when the
// test is done. Every level's tests (link layer, library, simulator,
// program) take their scratch folders from here.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace test_support {

class TemporaryFolder {
public:
    // A new folder under the system's temporary folder, named
    // `<prefix>-<random>`; throws std::runtime_error when none can be made,
    // so a test never runs in a folder that is not its own.
    explicit TemporaryFolder(std::string_view prefix = "zelo-test");
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The folder's path as text, for interfaces that take a string.
    std::string Text() const { return path_.string(); }
    // The path of `name` inside the folder.
    std::string File(std::string_view name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

}  // namespace test_support

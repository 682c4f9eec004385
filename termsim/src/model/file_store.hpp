// One drive of a terminal (RAM disk, flash ROM or EMS), kept as a folder on
// the host. Names are matched without regard to case, as the terminals do,
// and every name is checked before use, so no request reaches a file
// outside the folder. Only regular files count: links and subfolders in the
// folder are neither listed nor opened.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace termsim {

class FileStore {
public:
    explicit FileStore(std::filesystem::path folder);

    const std::filesystem::path& folder() const { return folder_; }

    // Creates the folder when it is missing. False when that fails.
    bool ensureFolder() const;

    // Names of the files the drive holds, sorted.
    std::vector<std::string> list() const;

    // The stored name of the file called `name` (case aside), if any.
    std::optional<std::string> find(std::string_view name) const;

    // A program named with or without its extension: an exact match first,
    // else the first file whose name up to its full stop is `name`.
    std::optional<std::string> findProgram(std::string_view name) const;

    std::optional<std::uint64_t> sizeOf(std::string_view name) const;

    // The file's bytes; nullopt when it is missing, unsafe, or larger than
    // `limit` bytes.
    std::optional<std::string> read(std::string_view name, std::uint64_t limit) const;

    // Writes the whole file through a temporary file in the same folder, so a
    // reader never sees half a file. An existing file of that name (case
    // aside) is replaced under its stored name.
    bool write(std::string_view name, std::string_view bytes) const;

    bool remove(std::string_view name) const;

    std::uint64_t usedBytes() const;

private:
    std::optional<std::filesystem::path> pathOf(std::string_view storedName) const;

    std::filesystem::path folder_;
};

}  // namespace termsim

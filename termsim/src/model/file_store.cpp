#include "file_store.hpp"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "file_names.hpp"

namespace termsim {

namespace fs = std::filesystem;

FileStore::FileStore(fs::path folder) : folder_(std::move(folder)) {}

bool FileStore::ensureFolder() const {
    std::error_code error;
    fs::create_directories(folder_, error);
    return fs::is_directory(folder_, error);
}

std::vector<std::string> FileStore::list() const {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!isSafeFileName(name)) continue;
        // symlink_status: a link is never followed out of the folder.
        std::error_code statusError;
        if (!fs::is_regular_file(fs::symlink_status(it->path(), statusError))) continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> FileStore::find(std::string_view name) const {
    if (!isSafeFileName(name)) return std::nullopt;
    for (const auto& stored : list()) {
        if (equalsIgnoringCase(stored, name)) return stored;
    }
    return std::nullopt;
}

std::optional<std::string> FileStore::findProgram(std::string_view name) const {
    if (auto exact = find(name)) return exact;
    if (!isSafeFileName(name)) return std::nullopt;
    for (const auto& stored : list()) {
        if (equalsIgnoringCase(stemOf(stored), name)) return stored;
    }
    return std::nullopt;
}

std::optional<fs::path> FileStore::pathOf(std::string_view storedName) const {
    if (!isSafeFileName(storedName)) return std::nullopt;
    return folder_ / fs::path(std::string(storedName));
}

std::optional<std::uint64_t> FileStore::sizeOf(std::string_view name) const {
    const auto stored = find(name);
    if (!stored) return std::nullopt;
    std::error_code error;
    const auto size = fs::file_size(*pathOf(*stored), error);
    if (error) return std::nullopt;
    return size;
}

std::optional<std::string> FileStore::read(std::string_view name, std::uint64_t limit) const {
    const auto size = sizeOf(name);
    if (!size || *size > limit) return std::nullopt;
    std::ifstream in(*pathOf(*find(name)), std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(*size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<std::uint64_t>(in.gcount()) != *size) return std::nullopt;
    return bytes;
}

bool FileStore::write(std::string_view name, std::string_view bytes) const {
    if (!isSafeFileName(name) || !ensureFolder()) return false;
    const std::string stored = find(name).value_or(std::string(name));
    // The leading full stop keeps the temporary file out of every listing.
    const fs::path temporary = folder_ / ".termsim-download.tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) return false;
    }
    std::error_code error;
    // rename replaces a link of that name rather than writing through it.
    fs::rename(temporary, *pathOf(stored), error);
    if (!error) return true;
    fs::remove(temporary, error);
    return false;
}

bool FileStore::remove(std::string_view name) const {
    const auto stored = find(name);
    if (!stored) return false;
    std::error_code error;
    return fs::remove(*pathOf(*stored), error) && !error;
}

std::uint64_t FileStore::usedBytes() const {
    std::uint64_t total = 0;
    for (const auto& name : list()) {
        std::error_code error;
        const auto size = fs::file_size(*pathOf(name), error);
        if (!error) total += size;
    }
    return total;
}

}  // namespace termsim

#include "temporary_folder.hpp"

#include <random>
#include <stdexcept>
#include <system_error>

namespace test_support {

TemporaryFolder::TemporaryFolder(std::string_view prefix) {
    // mkdtemp is POSIX only: a random name that create_directory finds
    // free does the same on Windows.
    std::random_device seed;
    std::mt19937_64 random(seed());
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / (std::string(prefix) + "-" + std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            path_ = std::move(candidate);
            return;
        }
        if (error) throw std::runtime_error("cannot make a temporary folder: " + error.message());
    }
    throw std::runtime_error("no free name for a temporary folder under " + base.string());
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace test_support

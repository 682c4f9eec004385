// Whole files as bytes, for tests that prepare inputs and check outputs.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace test_support {

// The file's bytes; a file that is missing or cannot be read reads as empty.
std::string ReadAll(const std::filesystem::path& path);

// Replaces the file with `bytes`, making its folder first where needed;
// throws std::runtime_error when the bytes cannot all be written, so a test
// never goes on with an input that is not there.
void WriteAll(const std::filesystem::path& path, std::string_view bytes);

}  // namespace test_support

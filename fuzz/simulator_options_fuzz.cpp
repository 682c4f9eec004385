// zelo-termsim's options and configuration text from any bytes: a mistake
// is a ConfigError with a message, never a crash or another exception.
// The input is a configuration text, then (after a NUL byte) options, one
// per line. Options that read or write files are left out: the target
// must not touch the disk.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "program/command_line.hpp"
#include "simulator_config.hpp"

namespace {

bool touchesFiles(std::string_view option) {
    for (std::string_view name :
         {"-c", "--config", "-s", "--dump-state", "-d", "--device", "-l", "--link"}) {
        if (option.substr(0, name.size()) == name) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string_view configText = input.substr(0, nul);

    try {
        termsim::SimulatorConfig config;
        termsim::readConfigText(configText, "/nonexistent-fuzz-folder", "fuzz.ini", config);
    } catch (const termsim::ConfigError&) {
    }

    if (nul == std::string_view::npos) return 0;
    std::vector<std::string> arguments;
    std::string_view rest = input.substr(nul + 1);
    while (!rest.empty() && arguments.size() < 64) {
        const std::size_t end = rest.find('\n');
        const std::string_view argument = rest.substr(0, end);
        if (!touchesFiles(argument)) arguments.emplace_back(argument);
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    // A file name as the value of an option before it ("-c" "FILE") is
    // left out above with its option, so the value stands alone here.
    try {
        (void)termsim::parseCommandLine(arguments);
    } catch (const termsim::ConfigError&) {
    }
    return 0;
}

// The simulator's configuration: the line (device, speed, fault injection),
// the modem, and the terminals. It comes from a small INI-like file and from
// command-line options that use the same keys; docs/simulator.md describes
// both. Every value is checked; a mistake is reported with where it was.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "hayes_modem.hpp"
#include "simulated_terminal.hpp"

namespace termsim {

// What the line side needs: where to play the line and how badly.
struct LineSetup {
    std::string device;    // a serial device; empty: create a pseudo-terminal
    std::string linkPath;  // a symbolic link made to the pseudo-terminal, if set
    unsigned baud = 9600;
    std::uint64_t seed = 1;
    // Fractions (0 to 1) of frames to treat so; drawn from `seed`.
    double corrupt = 0;
    double drop = 0;
    double nak = 0;
    double late = 0;
    double silent = 0;
    std::string logPath;  // every request and reply in words, appended; empty: none
    // The terminals hear the host only while it sends at `baud`; on a
    // pseudo-terminal the host's speed is read from the line's settings.
    bool fixedSpeed = false;
    unsigned delayMs = 0;   // one-way delay on top of the line time
    unsigned thinkMs = 0;   // a terminal's time over each request
    unsigned protocol = 3;  // highest wire protocol version the terminals speak
    // A test aid: the byte at this offset of every streamed download is
    // stored altered, so the check at the download's end must refuse it.
    std::optional<std::uint64_t> flipDownloadByte;
    // A test aid: the byte at this offset of every streamed upload is sent
    // altered, so the check at the upload's end must refuse it.
    std::optional<std::uint64_t> flipUploadByte;
};

struct SimulatorConfig {
    LineSetup line;
    std::optional<ModemConfig> modem;
    std::vector<TerminalConfig> terminals;
    std::filesystem::path stateDump;  // empty: none kept
};

class ConfigError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::uintmax_t kMaxConfigFileSize = 1u << 20;

// Reads a configuration file into `config`. Relative paths in it are taken
// from the file's folder. Throws ConfigError ("FILE:LINE: what is wrong").
void readConfigFile(const std::filesystem::path& file, SimulatorConfig& config);

// The same from text; `source` names it in messages.
void readConfigText(std::string_view text, const std::filesystem::path& baseFolder,
                    const std::string& source, SimulatorConfig& config);

// One terminal from "A:model=Brisa,ram=DIR,...": its address, a colon, then
// key=value pairs separated by commas. Keys already set for that address
// (by the file or an earlier option) are overridden.
void applyTerminalOption(std::string_view definition, const std::filesystem::path& baseFolder,
                         SimulatorConfig& config);

// Single settings by key, as in the file's [line] and [modem] sections.
// Throw ConfigError with the reason.
void setLineOption(LineSetup& line, std::string_view key, std::string_view value);
void setModemOption(ModemConfig& modem, std::string_view key, std::string_view value);

// Gives terminals without folders their default ones under `baseFolder`
// (termsim-<address>/ram, /flash, /ems) and checks that there is at least
// one terminal.
void completeConfig(SimulatorConfig& config, const std::filesystem::path& baseFolder);

}  // namespace termsim

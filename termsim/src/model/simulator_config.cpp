#include "simulator_config.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <sstream>

#include "file_names.hpp"
#include "simulated_line.hpp"

namespace termsim {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxLineLength = 4096;

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kSpace = " \t\r";
    const auto first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

// A '#' or ';' after a blank starts a comment to the end of the line, so
// that "baud = 9600   # the default" reads as 9600; inside double quotes it
// is part of the value.
std::string_view withoutComment(std::string_view line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') quoted = !quoted;
        if (!quoted && (c == '#' || c == ';') && i > 0 &&
            (line[i - 1] == ' ' || line[i - 1] == '\t')) {
            return line.substr(0, i);
        }
    }
    return line;
}

// Surrounding double quotes let a value be empty or keep its blanks.
std::string_view unquoted(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

[[noreturn]] void fail(const std::string& message) { throw ConfigError(message); }

template <typename Number>
Number wholeNumber(std::string_view key, std::string_view value, Number low, Number high) {
    Number number{};
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || number < low ||
        number > high) {
        fail(std::string(key) + " must be a whole number from " + std::to_string(low) + " to " +
             std::to_string(high) + ", not \"" + std::string(value) + "\"");
    }
    return number;
}

double fraction(std::string_view key, std::string_view value) {
    // from_chars for double is not in every standard library we build with.
    std::istringstream in{std::string(value)};
    double number = -1;
    in >> number;
    if (!in || !in.eof() || !(number >= 0 && number <= 1)) {
        fail(std::string(key) + " must be a fraction from 0 to 1, not \"" + std::string(value) +
             "\"");
    }
    return number;
}

bool yesOrNo(std::string_view key, std::string_view value) {
    if (value == "yes" || value == "true" || value == "1" || value == "on") return true;
    if (value == "no" || value == "false" || value == "0" || value == "off") return false;
    fail(std::string(key) + " must be yes or no, not \"" + std::string(value) + "\"");
}

fs::path pathValue(std::string_view key, std::string_view value, const fs::path& baseFolder) {
    if (value.empty()) fail(std::string(key) + " needs a path");
    const fs::path path{std::string(value)};
    return path.is_absolute() ? path : baseFolder / path;
}

std::string shortText(std::string_view key, std::string_view value) {
    if (value.size() > 125) fail(std::string(key) + " is longer than 125 characters");
    return std::string(value);
}

std::string programName(std::string_view key, std::string_view value) {
    if (!value.empty() && !isSafeFileName(value)) {
        fail(std::string(key) + " must be a plain file name, not \"" + std::string(value) + "\"");
    }
    return std::string(value);
}

void setTerminalOption(TerminalConfig& terminal, std::string_view key, std::string_view value,
                       const fs::path& baseFolder) {
    if (key == "model") {
        const auto model = parseModel(value);
        if (!model)
            fail("model must be 0 to 6 or a model name, not \"" + std::string(value) + "\"");
        terminal.model = *model;
    } else if (key == "ram") {
        terminal.ramFolder = pathValue(key, value, baseFolder);
    } else if (key == "flash") {
        terminal.flashFolder = pathValue(key, value, baseFolder);
    } else if (key == "ems") {
        terminal.emsFolder = pathValue(key, value, baseFolder);
    } else if (key == "records") {
        terminal.recordsFile = pathValue(key, value, baseFolder);
    } else if (key == "generate_records") {
        terminal.generatedRecords = wholeNumber<int>(key, value, 0, 1000000);
    } else if (key == "keep_records") {
        if (value != "yes" && value != "no") fail("keep_records must be yes or no");
        terminal.keepRecords = value == "yes";
    } else if (key == "record_end") {
        if (value != "crlf" && value != "none") fail("record_end must be crlf or none");
        terminal.recordEnd = value == "crlf" ? RecordEnd::CrLf : RecordEnd::None;
    } else if (key == "record_length") {
        terminal.recordLength =
            wholeNumber<std::size_t>(key, value, 3, PollRecords::kLongestRecord);
    } else if (key == "id") {
        terminal.idText = shortText(key, value);
    } else if (key == "version") {
        terminal.versionText = shortText(key, value);
    } else if (key == "ram_kb") {
        terminal.ramKb = wholeNumber<unsigned>(key, value, 0, 99999);
    } else if (key == "flash_kb") {
        terminal.flashKb = wholeNumber<unsigned>(key, value, 0, 99999);
    } else if (key == "ems_kb") {
        terminal.emsKb = wholeNumber<unsigned>(key, value, 0, 99999);
    } else if (key == "program_area_kb") {
        terminal.programAreaKb = wholeNumber<unsigned>(key, value, 0, 999);
    } else if (key == "silent") {
        terminal.silent = yesOrNo(key, value);
    } else if (key == "running") {
        terminal.runningProgram = programName(key, value);
    } else if (key == "autoboot") {
        terminal.autoBootProgram = programName(key, value);
    } else {
        fail("unknown terminal key \"" + std::string(key) + "\"");
    }
}

char addressFrom(std::string_view text) {
    if (text.size() != 1 || !isTerminalAddress(text[0])) {
        fail("a terminal address is one of A to Y or 0 to 6, not \"" + std::string(text) + "\"");
    }
    return text[0];
}

TerminalConfig& terminalAt(SimulatorConfig& config, char address) {
    for (auto& terminal : config.terminals) {
        if (terminal.address == address) return terminal;
    }
    TerminalConfig terminal;
    terminal.address = address;
    return config.terminals.emplace_back(std::move(terminal));
}

// The part of a file being read: which section, and for a terminal section
// which terminal.
struct Section {
    enum Kind { Top, Line, Modem, Terminal } kind = Top;
    char address = 0;
};

Section sectionFrom(std::string_view header, SimulatorConfig& config) {
    const std::string_view name = trimmed(header);
    if (name == "line") return {Section::Line};
    if (name == "modem") {
        if (!config.modem) config.modem.emplace();
        return {Section::Modem};
    }
    constexpr std::string_view kTerminal = "terminal ";
    if (name.substr(0, kTerminal.size()) == kTerminal) {
        const char address = addressFrom(trimmed(name.substr(kTerminal.size())));
        const bool known = std::any_of(config.terminals.begin(), config.terminals.end(),
                                       [&](const auto& t) { return t.address == address; });
        if (known) fail(std::string("terminal ") + address + " is configured twice");
        terminalAt(config, address);
        return {Section::Terminal, address};
    }
    fail("unknown section [" + std::string(name) + "]");
}

}  // namespace

void setLineOption(LineSetup& line, std::string_view key, std::string_view value) {
    static constexpr std::array<unsigned, 10> kSpeeds{110,  300,  600,   1200,  2400,
                                                      4800, 9600, 19200, 38400, 57600};
    if (key == "device") {
        line.device = std::string(value);
    } else if (key == "baud") {
        const auto baud = wholeNumber<unsigned>(key, value, 110, 57600);
        if (std::find(kSpeeds.begin(), kSpeeds.end(), baud) == kSpeeds.end()) {
            fail("baud must be one of 110 300 600 1200 2400 4800 9600 19200 38400 57600");
        }
        line.baud = baud;
    } else if (key == "seed") {
        line.seed = wholeNumber<std::uint64_t>(key, value, 0, UINT64_MAX);
    } else if (key == "corrupt") {
        line.corrupt = fraction(key, value);
    } else if (key == "drop") {
        line.drop = fraction(key, value);
    } else if (key == "nak") {
        line.nak = fraction(key, value);
    } else if (key == "late") {
        line.late = fraction(key, value);
    } else if (key == "silent") {
        line.silent = fraction(key, value);
    } else if (key == "log") {
        if (value.empty()) fail("log needs a file name");
        line.logPath = std::string(value);
    } else if (key == "fixed_speed") {
        line.fixedSpeed = yesOrNo(key, value);
    } else if (key == "delay_ms") {
        line.delayMs = wholeNumber<unsigned>(key, value, 0, 10000);
    } else if (key == "think_ms") {
        line.thinkMs = wholeNumber<unsigned>(key, value, 0, 10000);
    } else if (key == "protocol") {
        line.protocol = wholeNumber<unsigned>(key, value, 1, 3);
    } else if (key == "flip_download_byte") {
        line.flipDownloadByte = wholeNumber<std::uint64_t>(key, value, 0, kMaxTransferSize - 1);
    } else if (key == "flip_upload_byte") {
        line.flipUploadByte = wholeNumber<std::uint64_t>(key, value, 0, kMaxTransferSize - 1);
    } else {
        fail("unknown line key \"" + std::string(key) + "\"");
    }
}

void setModemOption(ModemConfig& modem, std::string_view key, std::string_view value) {
    if (key == "dial") {
        modem.dialResults.clear();
        std::string_view rest = value;
        while (!rest.empty() || modem.dialResults.empty()) {
            const auto comma = rest.find(',');
            const std::string_view result = trimmed(rest.substr(0, comma));
            if (!isDialResult(result)) {
                fail(
                    "dial results are CONNECT, BUSY, NO CARRIER, NO DIALTONE, NO ANSWER or "
                    "ERROR, not \"" +
                    std::string(result) + "\"");
            }
            modem.dialResults.emplace_back(result);
            if (modem.dialResults.size() > 100) fail("dial lists at most 100 results");
            rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
        }
    } else if (key == "speed") {
        modem.connectSpeed = wholeNumber<unsigned>(key, value, 110, 115200);
    } else if (key == "echo") {
        modem.echo = yesOrNo(key, value);
    } else {
        fail("unknown modem key \"" + std::string(key) + "\"");
    }
}

void readConfigText(std::string_view text, const fs::path& baseFolder, const std::string& source,
                    SimulatorConfig& config) {
    Section section;
    int lineNumber = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view rawLine = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNumber;
        try {
            if (rawLine.size() > kMaxLineLength) fail("line longer than 4096 characters");
            const std::string_view whole = trimmed(rawLine);
            if (whole.empty() || whole.front() == '#' || whole.front() == ';') continue;
            const std::string_view line = trimmed(withoutComment(whole));
            if (line.front() == '[') {
                if (line.back() != ']') fail("a section header ends with ]");
                section = sectionFrom(line.substr(1, line.size() - 2), config);
                continue;
            }
            const auto equals = line.find('=');
            if (equals == std::string_view::npos) fail("expected key = value");
            const std::string_view key = trimmed(line.substr(0, equals));
            const std::string_view value = unquoted(trimmed(line.substr(equals + 1)));
            switch (section.kind) {
                case Section::Top:
                    if (key != "state_dump") fail("unknown key \"" + std::string(key) + "\"");
                    config.stateDump = pathValue(key, value, baseFolder);
                    break;
                case Section::Line: setLineOption(config.line, key, value); break;
                case Section::Modem: setModemOption(*config.modem, key, value); break;
                case Section::Terminal:
                    setTerminalOption(terminalAt(config, section.address), key, value, baseFolder);
                    break;
            }
        } catch (const ConfigError& error) {
            throw ConfigError(source + ":" + std::to_string(lineNumber) + ": " + error.what());
        }
    }
}

void readConfigFile(const fs::path& file, SimulatorConfig& config) {
    std::error_code error;
    const auto size = fs::file_size(file, error);
    if (error) throw ConfigError(file.string() + ": cannot read: " + error.message());
    if (size > kMaxConfigFileSize) throw ConfigError(file.string() + ": larger than 1 MB");
    std::ifstream in(file, std::ios::binary);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!in.read(text.data(), static_cast<std::streamsize>(text.size()))) {
        throw ConfigError(file.string() + ": cannot read");
    }
    readConfigText(text, file.parent_path().empty() ? fs::path(".") : file.parent_path(),
                   file.string(), config);
}

void applyTerminalOption(std::string_view definition, const fs::path& baseFolder,
                         SimulatorConfig& config) {
    try {
        if (definition.size() > kMaxLineLength) fail("longer than 4096 characters");
        const auto colon = definition.find(':');
        TerminalConfig& terminal = terminalAt(config, addressFrom(definition.substr(0, colon)));
        std::string_view rest =
            colon == std::string_view::npos ? std::string_view{} : definition.substr(colon + 1);
        while (!rest.empty()) {
            const auto comma = rest.find(',');
            const std::string_view pair = rest.substr(0, comma);
            rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
            const auto equals = pair.find('=');
            if (equals == std::string_view::npos) {
                fail("expected key=value, not \"" + std::string(pair) + "\"");
            }
            setTerminalOption(terminal, trimmed(pair.substr(0, equals)),
                              unquoted(trimmed(pair.substr(equals + 1))), baseFolder);
        }
    } catch (const ConfigError& error) {
        throw ConfigError("--terminal " + std::string(definition.substr(0, 80)) + ": " +
                          error.what());
    }
}

void completeConfig(SimulatorConfig& config, const fs::path& baseFolder) {
    if (config.terminals.empty()) {
        throw ConfigError("no terminal configured: give --terminal or a [terminal X] section");
    }
    for (auto& terminal : config.terminals) {
        const fs::path home = baseFolder / (std::string("termsim-") + terminal.address);
        if (terminal.ramFolder.empty()) terminal.ramFolder = home / "ram";
        if (terminal.flashFolder.empty()) terminal.flashFolder = home / "flash";
        if (terminal.emsFolder.empty()) terminal.emsFolder = home / "ems";
    }
}

}  // namespace termsim

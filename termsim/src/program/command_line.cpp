#include "command_line.hpp"

#include <filesystem>
#include <optional>

namespace termsim {

namespace {

// An option and its value, whether written "--name value", "--name=value"
// or "-n value".
struct Option {
    std::string name;
    std::optional<std::string> value;
};

const std::vector<std::pair<std::string, std::string>> kShortNames{
    {"-c", "--config"}, {"-t", "--terminal"}, {"-d", "--device"},     {"-b", "--baud"},
    {"-l", "--link"},   {"-m", "--modem"},    {"-s", "--dump-state"}, {"-h", "--help"},
};

bool takesValue(const std::string& name) {
    return name != "--modem" && name != "--modem-echo" && name != "--help" && name != "--version" &&
           name != "--print-state" && name != "--fixed-speed";
}

std::vector<Option> splitOptions(const std::vector<std::string>& arguments) {
    std::vector<Option> options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        for (const auto& [shortName, longName] : kShortNames) {
            if (name == shortName) name = longName;
        }
        if (name.rfind("--", 0) != 0) throw ConfigError("unexpected argument \"" + name + "\"");
        if (const auto equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.erase(equals);
        }
        if (takesValue(name) && !value) {
            if (i + 1 == arguments.size()) throw ConfigError(name + " needs a value");
            value = arguments[++i];
        } else if (!takesValue(name) && value) {
            throw ConfigError(name + " takes no value");
        }
        options.push_back({name, value});
    }
    return options;
}

ModemConfig& modemOf(SimulatorConfig& config) {
    if (!config.modem) config.modem.emplace();
    return *config.modem;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine result;
    SimulatorConfig& config = result.config;
    const std::vector<Option> options = splitOptions(arguments);
    for (const auto& option : options) {
        if (option.name == "--config") readConfigFile(*option.value, config);
    }
    const std::filesystem::path here = std::filesystem::current_path();
    for (const auto& [name, value] : options) {
        if (name == "--config") continue;
        if (name == "--help") {
            result.action = CommandLine::Action::Help;
            return result;
        }
        if (name == "--version") {
            result.action = CommandLine::Action::Version;
            return result;
        }
        if (name == "--print-state") {
            result.action = CommandLine::Action::PrintState;
        } else if (name == "--terminal") {
            applyTerminalOption(*value, here, config);
        } else if (name == "--device" || name == "--baud" || name == "--seed" ||
                   name == "--corrupt" || name == "--drop" || name == "--nak" || name == "--late" ||
                   name == "--silent" || name == "--log") {
            try {
                setLineOption(config.line, name.substr(2), *value);
            } catch (const ConfigError& error) {
                throw ConfigError("--" + std::string(error.what()));
            }
        } else if (name == "--delay-ms" || name == "--think-ms" || name == "--protocol" ||
                   name == "--flip-download-byte" || name == "--flip-upload-byte") {
            try {
                setLineOption(config.line,
                              name == "--delay-ms"           ? "delay_ms"
                              : name == "--think-ms"         ? "think_ms"
                              : name == "--protocol"         ? "protocol"
                              : name == "--flip-upload-byte" ? "flip_upload_byte"
                                                             : "flip_download_byte",
                              *value);
            } catch (const ConfigError& error) {
                throw ConfigError(name + ": " + error.what());
            }
        } else if (name == "--modem") {
            modemOf(config);
        } else if (name == "--modem-dial" || name == "--modem-speed") {
            try {
                setModemOption(modemOf(config), name == "--modem-dial" ? "dial" : "speed", *value);
            } catch (const ConfigError& error) {
                throw ConfigError(name + ": " + error.what());
            }
        } else if (name == "--fixed-speed") {
            config.line.fixedSpeed = true;
        } else if (name == "--modem-echo") {
            modemOf(config).echo = true;
        } else if (name == "--link") {
            if (value->empty()) throw ConfigError("--link needs a path");
            config.line.linkPath = *value;
        } else if (name == "--dump-state") {
            if (value->empty()) throw ConfigError("--dump-state needs a file name");
            config.stateDump = *value;
        } else {
            throw ConfigError("unknown option " + name);
        }
    }
    completeConfig(config, here);
    return result;
}

std::string usageText() {
    return R"(Usage: zelo-termsim [OPTION]...
Plays a line of simulated Zelo data-collection terminals on a new
pseudo-terminal (its path is printed) or on a serial device.

Terminals:
  -c, --config FILE        read the line, modem and terminals from FILE
  -t, --terminal DEF       add or change a terminal: ADDRESS[:KEY=VALUE,...]
                           e.g. A:model=Brisa,ram=simA/ram,records=polls.txt
                           keys: model ram flash ems records generate_records
                           record_end id version ram_kb flash_kb ems_kb
                           program_area_kb silent running autoboot
                           keep_records (yes: numbering and records not yet
                           taken kept in RAMFOLDER.poll-records across restarts)
                           (a drive not given is the folder termsim-ADDRESS/
                           ram, flash or ems in the current folder, made and
                           kept, so files stay across runs)
Line:
  -d, --device PATH        use this serial device (default: a pseudo-terminal)
  -l, --link PATH          make PATH a symbolic link to the pseudo-terminal, so
                           that the host can be pointed at a fixed name
  -b, --baud N             line speed, 110 to 57600 (default 9600)
      --seed N             seed of the fault injection (default 1)
      --corrupt F          fraction of frames to corrupt (0 to 1)
      --drop F             fraction of frames to drop
      --nak F              fraction of requests to answer with NAK
                           (group download frames: each terminal draws these
                           three on its own, and misses the frame when struck)
      --late F             fraction of replies to send late
      --silent F           fraction of requests to leave unanswered
      --log FILE           append every request and reply, in words, to FILE
      --fixed-speed        the terminals hear only frames sent at --baud: on a
                           pseudo-terminal, while the host has set another
                           speed, what it sends is lost (as on a real line)
      --delay-ms N         one-way delay of the line, 0 to 10000 ms
      --think-ms N         a terminal's time over each request, 0 to 10000 ms
      --protocol N         highest wire protocol version spoken, 1, 2 or 3
                           (default 3; 3 packs transfers with deflate and
                           takes group downloads)
      --flip-download-byte N
                           test aid: store byte N of every streamed download
                           altered, so the check at the download's end refuses it
      --flip-upload-byte N test aid: send byte N of every streamed upload altered,
                           so the check at the upload's end refuses it
Modem:
  -m, --modem              put a Hayes-like modem in front of the line
      --modem-dial LIST    answers to successive dials, comma-separated:
                           CONNECT BUSY "NO CARRIER" "NO DIALTONE"
                           "NO ANSWER" ERROR (default CONNECT)
      --modem-speed N      speed in the CONNECT answer (default 9600)
      --modem-echo         echo command lines, as ATE1
State:
  -s, --dump-state FILE    keep the terminals' state in FILE as JSON, rewritten
                           after every change; SIGUSR1 rewrites it too
      --print-state        print the state as JSON and exit
  -h, --help               show this help and exit
      --version            show the version and exit

Options override the configuration file; see docs/simulator.md.
Exit status: 0 done, 1 the line or a terminal folder failed,
2 wrong options or configuration, 3 built without the line side.
SIGINT and SIGTERM end the line cleanly.
)";
}

}  // namespace termsim

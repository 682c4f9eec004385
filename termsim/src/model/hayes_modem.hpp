// A Hayes-like modem in front of the line: it answers AT command lines until
// a dial connects, and goes back to command mode on an escape and hang-up.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "terminal_line.hpp"

namespace termsim {

struct ModemConfig {
    // What successive dials answer: "CONNECT" (with the speed), "BUSY",
    // "NO CARRIER", "NO DIALTONE", "NO ANSWER" or "ERROR". Once the list is
    // used up its last entry answers every further dial.
    std::vector<std::string> dialResults{"CONNECT"};
    unsigned connectSpeed = 9600;
    // Echo of each command line before its answer, as ATE1 would have it.
    // Off by default: the host reads the first line of an answer as the
    // result, and an echoed command would read as no result at all.
    bool echo = false;
};

// The answers a dial may be configured to give.
bool isDialResult(std::string_view result);

class HayesModem {
public:
    explicit HayesModem(ModemConfig config) : config_(std::move(config)) {}

    ModemAnswer command(std::string_view line);

    // Whether a call stands (it may be in command mode after "+++").
    bool connected() const { return connected_; }
    int dials() const { return dials_; }
    const std::string& lastNumber() const { return lastNumber_; }
    bool echo() const { return echo_; }

private:
    ModemAnswer dial(std::string_view number, ModemAnswer answer);
    bool applySettings(std::string_view commands, ModemAnswer& answer,
                       std::optional<std::string_view>& dialString, bool& backOnLine);
    std::string connectLine() const;

    ModemConfig config_;
    bool echo_ = config_.echo;
    bool connected_ = false;
    int dials_ = 0;
    std::string lastNumber_;
};

}  // namespace termsim

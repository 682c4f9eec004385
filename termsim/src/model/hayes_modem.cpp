#include "hayes_modem.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

namespace termsim {

namespace {

constexpr std::array<std::string_view, 6> kDialResults{"CONNECT",     "BUSY",      "NO CARRIER",
                                                       "NO DIALTONE", "NO ANSWER", "ERROR"};

std::string upperTrimmed(std::string_view line) {
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.front()))) {
        line.remove_prefix(1);
    }
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) {
        line.remove_suffix(1);
    }
    std::string upper(line);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t skipDigits(std::string_view text, std::size_t at) {
    while (at < text.size() && isDigit(text[at])) ++at;
    return at;
}

}  // namespace

bool isDialResult(std::string_view result) {
    return std::find(kDialResults.begin(), kDialResults.end(), result) != kDialResults.end();
}

ModemAnswer HayesModem::command(std::string_view rawLine) {
    // A command line reaches the modem only in command mode; the line
    // carries frames again only after a dial connects or ATO goes back on
    // line while the call still stands.
    ModemAnswer answer;
    if (echo_) answer.lines.emplace_back(rawLine);
    std::string line = upperTrimmed(rawLine);
    // "+++" returns to command mode; what follows it is an ordinary command.
    if (line.rfind("+++", 0) == 0) {
        line.erase(0, 3);
        if (line.empty()) {
            answer.lines.emplace_back("OK");
            return answer;
        }
    }
    if (line.size() < 2 || line.compare(0, 2, "AT") != 0) {
        answer.lines.emplace_back("ERROR");
        return answer;
    }
    std::optional<std::string_view> dialString;
    bool backOnLine = false;
    if (!applySettings(std::string_view(line).substr(2), answer, dialString, backOnLine)) {
        answer.lines.emplace_back("ERROR");
        return answer;
    }
    if (dialString) return dial(*dialString, answer);
    if (backOnLine) {
        answer.lines.push_back(connected_ ? connectLine() : "NO CARRIER");
        answer.connected = connected_;
        return answer;
    }
    answer.lines.emplace_back("OK");
    return answer;
}

// Single-letter commands with an optional number, "&" and "\" extended ones,
// S-registers ("S0=1", "S7?"), and D, which takes the rest of the line as
// the number to dial. H hangs up, E sets the echo; the others are accepted
// and change nothing here.
bool HayesModem::applySettings(std::string_view commands, ModemAnswer& answer,
                               std::optional<std::string_view>& dialString, bool& backOnLine) {
    constexpr std::string_view kBasic = "ABCEHILMNOPQTVWXYZ";
    std::size_t at = 0;
    while (at < commands.size()) {
        const char letter = commands[at++];
        if (letter == ' ') continue;
        if (letter == '&' || letter == '\\') {
            if (at == commands.size() || !std::isalpha(static_cast<unsigned char>(commands[at]))) {
                return false;
            }
            at = skipDigits(commands, at + 1);
            continue;
        }
        if (letter == 'S') {
            const std::size_t afterRegister = skipDigits(commands, at);
            if (afterRegister == at || afterRegister == commands.size()) return false;
            if (commands[afterRegister] == '?') {
                at = afterRegister + 1;
            } else if (commands[afterRegister] == '=') {
                at = skipDigits(commands, afterRegister + 1);
            } else {
                return false;
            }
            continue;
        }
        if (letter == 'D') {
            dialString = commands.substr(at);
            return true;
        }
        if (kBasic.find(letter) == std::string_view::npos) return false;
        const std::size_t afterNumber = skipDigits(commands, at);
        const std::string_view number = commands.substr(at, afterNumber - at);
        at = afterNumber;
        if (letter == 'H' && (number.empty() || number == "0")) {
            answer.hungUp = true;
            connected_ = false;
        } else if (letter == 'O') {
            backOnLine = true;
        } else if (letter == 'E') {
            echo_ = number == "1";
        } else if (letter == 'Z') {
            echo_ = config_.echo;
        }
    }
    return true;
}

std::string HayesModem::connectLine() const {
    return "CONNECT " + std::to_string(config_.connectSpeed);
}

ModemAnswer HayesModem::dial(std::string_view number, ModemAnswer answer) {
    if (!number.empty() && (number.front() == 'T' || number.front() == 'P')) {
        number.remove_prefix(1);
    }
    constexpr std::string_view kDialChars = "0123456789*#,-() W";
    const bool valid = std::any_of(number.begin(), number.end(), isDigit) &&
                       std::all_of(number.begin(), number.end(), [&](char c) {
                           return kDialChars.find(c) != std::string_view::npos;
                       });
    if (!valid) {
        answer.lines.emplace_back("ERROR");
        return answer;
    }
    lastNumber_ = std::string(number);
    const auto& results = config_.dialResults;
    const std::string result = results.empty() ? "CONNECT"
                               : static_cast<std::size_t>(dials_) < results.size()
                                   ? results[static_cast<std::size_t>(dials_)]
                                   : results.back();
    ++dials_;
    if (result == "CONNECT") {
        answer.lines.push_back(connectLine());
        answer.connected = connected_ = true;
    } else {
        answer.lines.push_back(result);
        connected_ = false;
    }
    return answer;
}

}  // namespace termsim

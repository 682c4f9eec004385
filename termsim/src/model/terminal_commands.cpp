// Request texts and the control and settings commands: each changes one
// setting that the state dump shows afterwards.
#include <algorithm>

#include "escaped_decoding.hpp"
#include "reply_status.hpp"
#include "simulated_terminal.hpp"

namespace termsim {

using pendra::wire::Reply;

namespace {

constexpr std::size_t kMaxSettingText = 64;

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int number(std::string_view digits) {
    int value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    return value;
}

bool isValidClock(std::string_view text) {
    if (text.size() != 14 || !allDigits(text)) return false;
    const int month = number(text.substr(4, 2));
    const int day = number(text.substr(6, 2));
    return month >= 1 && month <= 12 && day >= 1 && day <= 31 && number(text.substr(8, 2)) < 24 &&
           number(text.substr(10, 2)) < 60 && number(text.substr(12, 2)) < 60;
}

// The first four characters of a communication table: speed, stop bits,
// data bits and parity.
bool isValidCommTable(std::string_view text) {
    constexpr std::string_view kSpeeds = "023456789A";
    return text.size() >= 8 && text.size() <= 10 && kSpeeds.find(text[0]) != kSpeeds.npos &&
           (text[1] == '1' || text[1] == '2') && (text[2] == '7' || text[2] == '8') &&
           std::string_view("NOE").find(text[3]) != std::string_view::npos;
}

}  // namespace

void rememberLatest(std::vector<std::string>& list, std::string text) {
    if (list.size() == kRememberedTexts) list.erase(list.begin());
    list.push_back(std::move(text));
}

Reply SimulatedTerminal::textRequest(std::string_view text) {
    if (text == "7" || text == "8") {
        settings_.powerSaving = text == "8";
        return statusReply(status::kAccepted);
    }
    if (text == "G") return memorySizes();
    if (text == "G/ROM") return flashSizes();
    if (text == "D/ROM") return flashListing();
    if (text == "v") return firmwareVersion();
    if (text == "Q") {
        settings_.uploadMode = true;
        return textReply("0");
    }
    if (text == "k") {
        settings_.kermitMode = true;
        return statusReply(status::kAccepted);
    }
    if (text == "F") {
        settings_.upsOff = true;
        return statusReply(status::kAccepted);
    }
    if (text == "y") return cancelUpload();
    if (text == "z") return cancelDownload();
    if (text == "Z") return downloadEnd();
    if (!text.empty()) {
        const std::string_view rest = text.substr(1);
        switch (text[0]) {
            case 'F': return setProgramArea(rest);
            case 'L': return downloadAnnounce(rest);
            case 'Y': return downloadPacket(rest);
            case '9': return sendBack(rest);
            case 'T':
            case 'C':
            case 'V':
            case 'B':
            case 'P': return tableRequest(text[0], rest);
            case 'M': return setClock(rest);
            case 'f': return systemFont(rest);
            case 'O':
                if (rest.size() > 4 && equalsIgnoringCase(rest.substr(rest.size() - 4), "/ROM")) {
                    return autoBoot(rest.substr(0, rest.size() - 4), true);
                }
                break;
            default: break;
        }
    }
    ++settings_.illegalRequests;
    return statusReply(status::kIllegal);
}

Reply SimulatedTerminal::tableRequest(char kind, std::string_view text) {
    if (text.size() > kMaxSettingText) return statusReply(status::kRefused);
    if (kind == 'P') {
        settings_.password = std::string(text);
        return statusReply(status::kAccepted);
    }
    if (text.empty()) return statusReply(status::kRefused);
    switch (kind) {
        case 'T': settings_.terminalTable = text; break;
        case 'C':
            if (!isValidCommTable(text)) return statusReply(status::kRefused);
            settings_.commTable = text;
            break;
        case 'V': settings_.deviceTable = text; break;
        case 'B': settings_.barcodeTable = text; break;
        default: return statusReply(status::kRefused);
    }
    return statusReply(status::kAccepted);
}

Reply SimulatedTerminal::setClock(std::string_view text) {
    if (!isValidClock(text)) return statusReply(status::kRefused);
    settings_.clock = text;
    return statusReply(status::kAccepted);
}

// The reply's first character: '0' done, '1' no such font.
Reply SimulatedTerminal::systemFont(std::string_view kind) {
    if (kind != "0" && kind != "1" && kind != "2") return textReply("1");
    settings_.systemFont = kind;
    return textReply("0");
}

// The terminal answers with the characters it was sent.
Reply SimulatedTerminal::sendBack(std::string_view text) {
    rememberLatest(settings_.sendBackReceived, std::string(text));
    return textReply(std::string(text));
}

Reply SimulatedTerminal::sendData(std::string_view escaped) {
    // Data cut inside an escape pair would be stored wrong, so it is refused.
    auto data = pendra::wire::unescaped(escaped);
    if (!data) return statusReply(status::kRefused);
    rememberLatest(settings_.dataReceived, std::move(*data));
    return statusReply(status::kAccepted);
}

Reply SimulatedTerminal::keypad(int code) {
    if (code != '0' && code != '1' && code != '2' && code != 'A') {
        return statusReply(status::kRefused);
    }
    settings_.keypad = std::string(1, static_cast<char>(code));
    return statusReply(status::kAccepted);
}

Reply SimulatedTerminal::buzzer(int digit) {
    if (digit < '0' || digit > '9') return statusReply(status::kRefused);
    settings_.buzzerVolume = std::string(1, static_cast<char>(digit));
    return statusReply(status::kAccepted);
}

Reply SimulatedTerminal::autoBoot(std::string_view name, bool fromFlash) {
    auto file = parseTerminalFileName(name, !fromFlash);
    if (!file) return statusReply(status::kRefused);
    if (fromFlash) file->drive = Drive::Flash;
    const FileStore* store = storeFor(file->drive);
    const auto program = store ? store->findProgram(file->name) : std::nullopt;
    if (!program) return statusReply(status::kRefused);
    settings_.autoBootProgram = *program;
    settings_.autoBootFromFlash = file->drive == Drive::Flash;
    return statusReply(status::kDone);
}

Reply SimulatedTerminal::execute(std::string_view name) {
    const auto file = parseTerminalFileName(name, true);
    const FileStore* store = file ? storeFor(file->drive) : nullptr;
    const auto program = store ? store->findProgram(file->name) : std::nullopt;
    if (!program) return statusReply(status::kRefused);
    settings_.runningProgram = *program;
    rememberLatest(settings_.programsStarted, std::string(name));
    return statusReply(status::kDone);
}

Reply SimulatedTerminal::deleteFile(std::string_view name) {
    const auto file = parseTerminalFileName(name, false);
    const FileStore* store = file ? storeFor(file->drive) : nullptr;
    if (!store || !store->remove(file->name)) return statusReply(status::kRefused);
    rememberLatest(settings_.filesDeleted, std::string(name));
    return statusReply(status::kDone);
}

// A restart ends any transfer and leaves the auto-boot program running.
Reply SimulatedTerminal::restart(bool cold) {
    ++(cold ? settings_.coldStarts : settings_.warmStarts);
    upload_.reset();
    download_.reset();
    awaiting_ = Awaiting::Nothing;
    settings_.uploadMode = false;
    settings_.kermitMode = false;
    settings_.runningProgram = settings_.autoBootProgram;
    return statusReply(status::kAccepted);
}

}  // namespace termsim

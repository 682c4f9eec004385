#include "request_log.hpp"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace termsim {
namespace {

using pendra::wire::Command;

constexpr std::size_t kShownText = 64;

// Printable text in quotes with escapes; bulk bytes only counted.
std::string shown(const std::string& bytes) {
    std::size_t printable = 0;
    for (unsigned char c : bytes) printable += (c >= 0x20 && c < 0x7F) ? 1 : 0;
    if (bytes.size() > kShownText || printable + 2 < bytes.size()) {
        std::string count = "(";
        count.append(std::to_string(bytes.size())).append(" bytes)");
        return count;
    }
    std::string text = "\"";
    for (unsigned char c : bytes) {
        if (c == 0) break;  // the rest of a zero-terminated buffer
        if (c == '"' || c == '\\') {
            text += '\\';
            text += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            text += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            text += escaped;
        }
    }
    return text + "\"";
}

// What a text request asks, by its first character.
std::string textRequestWords(const std::string& payload) {
    if (payload.empty()) return "empty text request";
    switch (payload[0]) {
        case 'M': return "set clock";
        case 'L': return "download announce";
        case 'Y': return "download packet";
        case 'Z': return "download end";
        case 'z': return "download cancel";
        case 'y': return "upload cancel";
        case 'G': return payload.rfind("G/ROM", 0) == 0 ? "flash size" : "memory size";
        case 'D': return "flash directory";
        case '7': return "power saving off";
        case '8': return "power saving on";
        case 'v': return "firmware version";
        case 'P': return "set password";
        case 'T': return "terminal table";
        case 'C': return "communication table";
        case 'V': return "device table";
        case 'B': return "bar-code table";
        default: return "text request";
    }
}

std::string commandWords(const pendra::wire::Request& request) {
    switch (request.command) {
        case Command::Text: return textRequestWords(request.payload);
        case Command::Poll: return "poll";
        case Command::Ack: return "acknowledge";
        case Command::WarmStart: return "warm start";
        case Command::ColdStart: return "cold start";
        case Command::Data: return "send data";
        case Command::SetAddress:
            return std::string("change address to ") + static_cast<char>(request.argument);
        case Command::Delete: return "delete";
        case Command::Execute: return "execute";
        case Command::AutoBoot: return "auto-boot";
        case Command::UploadRequest: return "upload request";
        case Command::RunningProgram: return "running program";
        case Command::TerminalId: return "identity";
        case Command::FileExists: return "file exists";
        case Command::NextPacket: return "next upload packet";
        case Command::StreamPackets: return "stream upload packets";
        case Command::StreamPacked: return "stream upload packets packed";
        case Command::PollBatch: return "poll a batch";
        case Command::StreamData: return "streamed download data";
        case Command::CheckedEnd: return "checked download end";
        case Command::PackedData: return "packed download data";
        case Command::JoinGroup: return "join a group download";
        case Command::GroupData: return "group download data";
        case Command::GroupPacked: return "packed group download data";
        case Command::Lacking: return "what the group download lacks";
        case Command::Keypad:
            return std::string("keypad code ").append(std::to_string(request.argument));
        case Command::Buzzer:
            return std::string("buzzer volume ") + static_cast<char>(request.argument);
        case Command::DirFirst: return "directory first";
        case Command::DirNext: return "directory next";
    }
    return "request";
}

// Requests whose payload says nothing the words have not said.
bool payloadShown(const pendra::wire::Request& request) {
    switch (request.command) {
        case Command::Poll:
        case Command::NextPacket:
        case Command::StreamPackets:
        case Command::StreamPacked:
        case Command::PollBatch:
        case Command::StreamData:
        case Command::PackedData:
        case Command::CheckedEnd:
        case Command::JoinGroup:
        case Command::GroupData:
        case Command::GroupPacked:
        case Command::Lacking:
        case Command::Ack:
        case Command::DirFirst:
        case Command::DirNext: return false;
        default: return !request.payload.empty();
    }
}

std::string statusWords(int status) {
    switch (status) {
        case 1: return "reply";
        case 2: return "not understood";
        case 3: return "no more";
        case 4:
        case 6: return "done";
        case 7: return "refused or no such file";
        case 8: return "in flash";
        case 9: return "none";
        case 128: return "illegal";
        default: return "status";
    }
}

}  // namespace

std::string describeRequest(const pendra::wire::Request& request) {
    std::string text = std::string(1, request.address) + "  " + commandWords(request);
    if (payloadShown(request)) text.append(" ").append(shown(request.payload));
    return text;
}

std::string describeReply(const std::optional<pendra::wire::Reply>& reply) {
    if (!reply) return "no answer";
    std::string text = std::to_string(reply->status);
    text.append(" ").append(statusWords(reply->status));
    if (!reply->payload.empty()) text.append(" ").append(shown(reply->payload));
    if (reply->more) text += ", more follow";
    return text;
}

LoggedLine::LoggedLine(TerminalLine& inner, std::ostream& log,
                       std::function<std::string()> timeOfDay)
    : inner_(inner), log_(log), timeOfDay_(std::move(timeOfDay)) {}

std::optional<pendra::wire::Reply> LoggedLine::handle(const pendra::wire::Request& request) {
    auto reply = inner_.handle(request);
    write(describeRequest(request).append(" -> ").append(describeReply(reply)));
    return reply;
}

ModemAnswer LoggedLine::modemCommand(const std::string& line) {
    ModemAnswer answer = inner_.modemCommand(line);
    std::string text = "modem ";
    text.append(shown(line)).append(" ->");
    for (const std::string& answerLine : answer.lines) text.append(" ").append(shown(answerLine));
    if (answer.lines.empty()) text += " nothing";
    write(text);
    return answer;
}

void LoggedLine::write(const std::string& text) {
    std::lock_guard lock(mutex_);
    log_ << timeOfDay_() << "  " << text << '\n' << std::flush;
}

std::string localTimeOfDay() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min,
                  local.tm_sec, static_cast<int>(milliseconds));
    return text;
}

}  // namespace termsim

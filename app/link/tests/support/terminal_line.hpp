// Terminals on one fake line that hold files: they serve uploads packet by
// packet, take downloads, delete files, answer the upload-mode query and the
// power-saving switches. An address without a terminal times out.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "fake_line_test.hpp"
#include "fake_pendra.hpp"
#include "terminal_requests.hpp"

namespace zelo::link::testing {

struct FakeTerminal {
    std::map<std::string, std::string> files;
    int downloadRefusals = 0;  // 'L' requests to refuse before accepting
    int16_t switchResult = 4;  // power-saving switch answer
    // Called at the end of an upload, before the library closes its file.
    std::function<void()> onUploadEnd;
    // Group downloads (after ServeGroups): whether it joins a group, and the
    // failure (with the bytes it kept) it meets in the repairs, 0 for none.
    bool speaksGroup = false;
    int16_t groupFailure = 0;
    std::size_t groupHeld = 0;

    std::string uploading;
    std::size_t position = 0;
    std::string receivingName;
    std::string received;
};

class TerminalLine {
public:
    std::map<char, FakeTerminal> terminals;
    // Called before each packet of an upload, with the address.
    std::function<void(char)> beforePacket;

    // Lets the line carry group downloads: every terminal that speaks them
    // hears the bytes; at the end each keeps the file, or meets its failure
    // holding the first groupHeld bytes.
    void ServeGroups() {
        fake_pendra::GroupLink link;
        link.joins = [this](char address) {
            const auto found = terminals.find(address);
            return found != terminals.end() && found->second.speaksGroup;
        };
        link.finish = [this](int, const std::string& members, int16_t* results, uint32_t* held) {
            for (std::size_t i = 0; i < members.size(); ++i) {
                FakeTerminal& terminal = terminals[members[i]];
                const bool failed = terminal.groupFailure != 0;
                terminal.received =
                    groupHeard.substr(0, failed ? terminal.groupHeld : std::string::npos);
                if (!failed) terminal.files[terminal.receivingName] = groupHeard;
                results[i] = failed ? terminal.groupFailure : 4;
                held[i] = static_cast<uint32_t>(terminal.received.size());
            }
            groupHeard.clear();
            return int16_t{6};
        };
        fake_pendra::setGroupLink(link);
    }

    std::optional<fake_pendra::Reply> AnswerCall(const fake_pendra::Call& call) {
        using fake_pendra::Fn;
        if (call.fn == Fn::GroupData) groupHeard += call.request;
        if (call.fn == Fn::GroupCancel) groupHeard.clear();
        const auto found = terminals.find(static_cast<char>(call.address));
        if (found == terminals.end()) return std::nullopt;
        FakeTerminal& terminal = found->second;
        switch (call.fn) {
            case Fn::ACK: return Answer(4);
            case Fn::ESC_U: {
                auto [name, offset] = fake_pendra::splitResume(call.request);
                if (!terminal.files.contains(name)) return Answer(7);
                terminal.uploading = name;
                terminal.position = offset.value_or(0);
                return Answer(4);
            }
            case Fn::ESC_Y: {
                if (beforePacket) beforePacket(static_cast<char>(call.address));
                const std::string& file = terminal.files[terminal.uploading];
                if (terminal.position >= file.size()) {
                    if (terminal.onUploadEnd) terminal.onUploadEnd();
                    return Answer(3);
                }
                std::string chunk = file.substr(terminal.position, 120);
                terminal.position += chunk.size();
                return Answer(1, chunk);
            }
            case Fn::ESC_E: return Answer(terminal.files.erase(call.request) == 1 ? 6 : 7);
            case Fn::DBG: return AnswerGeneric(terminal, call.request);
            default: return std::nullopt;
        }
    }

private:
    std::string groupHeard;

    static std::optional<fake_pendra::Reply> AnswerGeneric(FakeTerminal& terminal,
                                                           const std::string& request) {
        if (request.empty()) return std::nullopt;
        const std::string rest = request.substr(1);
        switch (request[0]) {
            case 'L': {
                if (terminal.downloadRefusals > 0) {
                    --terminal.downloadRefusals;
                    return Answer(5);
                }
                auto [name, offset] = fake_pendra::splitResume(rest);
                terminal.receivingName = name;
                terminal.received.resize(offset.value_or(0));
                return Answer(4);
            }
            case 'Y': terminal.received += fake_pendra::unescape(rest); return Answer(4);
            case 'Z': terminal.files[terminal.receivingName] = terminal.received; return Answer(4);
            case 'Q': return Answer(1, std::string("Q0\0", 3));
            case '7':
            case '8': return Answer(terminal.switchResult);
            default: return Answer(4);
        }
    }
};

inline std::string PatternBytes(std::size_t size, int seed) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] =
            static_cast<char>((i * 7 + static_cast<std::size_t>(seed) * 31 + i / 251) & 0xFF);
    return bytes;
}

}  // namespace zelo::link::testing

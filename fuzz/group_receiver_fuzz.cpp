// The group download's parsers on any bytes from the line: the terminal
// taking join requests, group frames (raw and packed, any offsets, to the
// group or to itself) and lack questions in any order, and the host reading
// the lack reply. No crash, no read past a buffer, the terminal's download
// only ever grows by what frames carried, every lack reply it gives is one
// the host reads, with ranges past what it holds; and what the host's
// reader takes encodes back to the same payload.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "escaped_decoding.hpp"
#include "group_messages.hpp"
#include "group_receiver.hpp"

using namespace pendra::wire;

namespace {

void require(bool holds) {
    if (!holds) std::abort();
}

// One terminal at 'A' with a download open: "Y" appends (at most 1 MiB).
class OneDownload : public termsim::TerminalLine {
public:
    std::optional<Reply> handle(const Request& request) override {
        Reply reply;
        reply.status = 7;
        if (request.command != Command::Text || request.payload.empty() ||
            request.payload[0] != 'Y') {
            return reply;
        }
        const auto bytes = unescaped(std::string_view(request.payload).substr(1));
        require(bytes.has_value());
        if (bytes->size() + file.size() > (std::size_t{1} << 20)) return reply;
        file += *bytes;
        reply.status = 4;
        return reply;
    }
    bool hasModem() const override { return false; }
    termsim::ModemAnswer modemCommand(const std::string&) override { return {}; }
    std::optional<std::uint64_t> downloadLength(char) override { return file.size(); }
    std::optional<std::string> downloadedBytes(char) override { return file; }

    std::string file;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    if (const auto lack = decodeLack(input)) require(encodeLack(*lack) == input);

    OneDownload terminal;
    termsim::GroupReceiver receiver(terminal, std::nullopt);
    // Messages: a kind byte, a length byte, then that many payload bytes.
    std::size_t at = 0;
    while (at + 2 <= input.size()) {
        const auto kind = static_cast<uint8_t>(input[at]);
        const std::size_t length =
            std::min<std::size_t>(static_cast<uint8_t>(input[at + 1]), input.size() - at - 2);
        Request request;
        request.address = (kind & 0x10) != 0 ? kGroupAddress : 'A';
        request.payload = input.substr(at + 2, length);
        at += 2 + length;
        const std::size_t before = terminal.file.size();
        switch (kind % 4) {
            case 0:
                request.command = Command::JoinGroup;
                request.address = 'A';
                receiver.join(request);
                break;
            case 1:
                request.command = Command::GroupData;
                receiver.frame('A', request);
                break;
            case 2:
                request.command = Command::GroupPacked;
                receiver.frame('A', request);
                break;
            default: {
                request.command = Command::Lacking;
                request.address = 'A';
                const auto reply = receiver.lack(request);
                require(reply.has_value());
                if (reply->status != 4) break;
                const auto lack = decodeLack(reply->payload);
                require(lack.has_value());
                require(lack->prefix == terminal.file.size());
                const auto question = decodeLackQuestion(request.payload);
                for (const ByteRange& range : lack->missing)
                    require(range.end() <= question->length);
            }
        }
        require(terminal.file.size() >= before);
    }
    return 0;
}

// The terminal's side of a streamed download against a terminal that keeps
// what it is given: frames in order are stored and reported, repeats are not
// stored twice, a gap is reported once until the host goes back, and the end
// keeps the file only when its check matches what the terminal holds.
#include "download_receiver.hpp"

#include <gtest/gtest.h>

#include <string>

#include "crc.hpp"
#include "download_messages.hpp"
#include "escaped_decoding.hpp"

namespace termsim {
namespace {

namespace wire = pendra::wire;
using wire::Command;

// One open download: "Y" appends what the escaped text stands for, "Z"
// keeps it, "z" drops it.
class StoringTerminal : public TerminalLine {
public:
    std::optional<wire::Reply> handle(const wire::Request& request) override {
        wire::Reply reply;
        reply.status = 4;
        if (request.payload == "Z") {
            kept = open ? std::optional(bytes) : std::nullopt;
            open = false;
        } else if (request.payload == "z") {
            open = false;
        } else if (request.payload[0] == 'Y') {
            auto decoded = wire::unescaped(std::string_view(request.payload).substr(1));
            if (!open || !decoded) reply.status = 128;
            if (open && decoded) bytes += *decoded;
        }
        return reply;
    }
    bool hasModem() const override { return false; }
    ModemAnswer modemCommand(const std::string&) override { return {}; }
    std::optional<std::uint64_t> downloadLength(char) override {
        return open ? std::optional<std::uint64_t>(bytes.size()) : std::nullopt;
    }
    std::optional<std::string> downloadedBytes(char) override {
        return open ? std::optional(bytes) : std::nullopt;
    }

    bool open = true;
    std::string bytes;
    std::optional<std::string> kept;
};

wire::Request dataFrame(uint32_t offset, const std::string& bytes, uint8_t epoch = 1) {
    wire::Request request;
    request.command = Command::StreamData;
    request.address = 'A';
    request.payload = wire::encodeStreamData(epoch, offset, bytes);
    return request;
}

wire::Request endFrame(const std::string& file) {
    wire::Request request;
    request.command = Command::CheckedEnd;
    request.address = 'A';
    const uint32_t crc = wire::crc32(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    request.payload = wire::encodeEndCheck({crc, static_cast<uint32_t>(file.size())});
    return request;
}

// The status and the length the terminal reported.
std::string report(const std::optional<wire::Reply>& reply) {
    if (!reply) return "silent";
    const auto held = wire::decodeStreamHeld(reply->payload);
    return std::to_string(reply->status) + "@" + (held ? std::to_string(held->stored) : "?");
}

TEST(DownloadReceiver, StoresInOrderAndRepeatsAreReportedNotStoredTwice) {
    StoringTerminal terminal;
    DownloadReceiver receiver(terminal, std::nullopt);
    EXPECT_EQ(report(receiver.data(dataFrame(0, "hello "))), "4@6");
    EXPECT_EQ(report(receiver.data(dataFrame(0, "hello "))), "4@6");
    EXPECT_EQ(report(receiver.data(dataFrame(6, "world"))), "4@11");
    EXPECT_EQ(terminal.bytes, "hello world");
    // Binary bytes travel as they are and reach the terminal unchanged.
    std::string all;
    for (int b = 0; b < 250; ++b) all += static_cast<char>(b);
    EXPECT_EQ(report(receiver.data(dataFrame(11, all))), "4@261");
    EXPECT_EQ(terminal.bytes.substr(11), all);
}

TEST(DownloadReceiver, AGapIsReportedOnceUntilTheHostGoesBack) {
    StoringTerminal terminal;
    DownloadReceiver receiver(terminal, std::nullopt);
    EXPECT_EQ(report(receiver.data(dataFrame(0, "aaaa"))), "4@4");
    // "bbbb" at 4 is lost; the frames after it arrive.
    EXPECT_EQ(report(receiver.data(dataFrame(8, "cccc"))), "3@4");
    EXPECT_EQ(report(receiver.data(dataFrame(12, "dddd"))), "silent");
    // The host went back, and its "bbbb" was lost again: said anew.
    EXPECT_EQ(report(receiver.data(dataFrame(8, "cccc"))), "3@4");
    EXPECT_EQ(report(receiver.data(dataFrame(4, "bbbb"))), "4@8");
    EXPECT_EQ(report(receiver.data(dataFrame(8, "cccc"))), "4@12");
    EXPECT_EQ(terminal.bytes, "aaaabbbbcccc");
}

TEST(DownloadReceiver, NoDownloadOpenOrAMalformedFrameIsRefused) {
    StoringTerminal terminal;
    DownloadReceiver receiver(terminal, std::nullopt);
    wire::Request broken = dataFrame(0, "x");
    broken.payload.resize(3);
    EXPECT_EQ(receiver.data(broken)->status, 7);
    terminal.open = false;
    EXPECT_EQ(report(receiver.data(dataFrame(0, "x"))), "128@0");
}

TEST(DownloadReceiver, TheEndKeepsTheFileOnlyWhenItsCheckMatches) {
    StoringTerminal terminal;
    DownloadReceiver receiver(terminal, std::nullopt);
    receiver.data(dataFrame(0, "the file"));
    EXPECT_EQ(receiver.end(endFrame("the fila"))->status, 7);
    EXPECT_FALSE(terminal.kept);
    EXPECT_FALSE(terminal.open);  // dropped, not kept

    StoringTerminal second;
    DownloadReceiver again(second, std::nullopt);
    again.data(dataFrame(0, "the file"));
    EXPECT_EQ(again.end(endFrame("the file longer"))->status, 7);  // length differs
    StoringTerminal third;
    DownloadReceiver good(third, std::nullopt);
    good.data(dataFrame(0, "the file"));
    EXPECT_EQ(good.end(endFrame("the file"))->status, 4);
    EXPECT_EQ(third.kept, "the file");
}

TEST(DownloadReceiver, AByteStoredAlteredIsCaughtAtTheEnd) {
    StoringTerminal terminal;
    DownloadReceiver receiver(terminal, std::uint64_t{5});
    EXPECT_EQ(report(receiver.data(dataFrame(0, "0123"))), "4@4");
    EXPECT_EQ(report(receiver.data(dataFrame(4, "4567"))), "4@8");
    EXPECT_EQ(terminal.bytes, "01234467");  // '5' ^ 1
    EXPECT_EQ(receiver.end(endFrame("01234567"))->status, 7);
    EXPECT_FALSE(terminal.kept);
}

}  // namespace
}  // namespace termsim

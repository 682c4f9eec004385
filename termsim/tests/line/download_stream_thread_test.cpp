// Streamed downloads through the link's own calls when the terminal stops
// answering with data on its way: the failure comes back from the next data
// packet and from the end request, which then is not sent; a resume to what
// the terminal holds goes on, and the checked end finds the whole file.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <mutex>
#include <random>
#include <string>

#include "escaped_decoding.hpp"
#include "escaped_form.hpp"
#include "pendra.h"
#include "pseudo_terminal_line.hpp"

namespace termsim::testing {
namespace {

namespace wire = pendra::wire;

constexpr int32_t kPort = 6;

// One download at address 'A' that can go deaf: "L" opens it (or resumes
// within what it holds), "Y" appends, "Z" keeps it. Version 2 comes from the
// line side.
class DeafeningTerminal : public TerminalLine {
public:
    std::optional<wire::Reply> handle(const wire::Request& request) override {
        if (deaf || request.address != 'A') return std::nullopt;
        std::lock_guard<std::mutex> guard(mutex_);
        wire::Reply reply;
        reply.status = 4;
        const std::string& text = request.payload;
        if (request.command != wire::Command::Text || text.empty()) return reply;
        if (text[0] == 'L') {
            const auto open = text.find('[');
            if (open == std::string::npos) {
                bytes_.clear();
                open_ = true;
            } else {
                const auto offset = std::stoull(text.substr(open + 1));
                if (!open_ || offset > bytes_.size()) reply.status = 128;
                if (reply.status == 4) bytes_.resize(offset);
            }
        } else if (text[0] == 'Y') {
            const auto decoded = wire::unescaped(std::string_view(text).substr(1));
            if (!open_ || !decoded) reply.status = 128;
            if (reply.status == 4) bytes_ += *decoded;
        } else if (text == "Z") {
            kept_ = bytes_;
            open_ = false;
        }
        return reply;
    }
    bool servesAddress(char address) const override { return !deaf && address == 'A'; }
    bool hasModem() const override { return false; }
    ModemAnswer modemCommand(const std::string&) override { return {}; }
    std::optional<std::uint64_t> downloadLength(char) override {
        std::lock_guard<std::mutex> guard(mutex_);
        return open_ ? std::optional<std::uint64_t>(bytes_.size()) : std::nullopt;
    }
    std::optional<std::string> downloadedBytes(char) override {
        std::lock_guard<std::mutex> guard(mutex_);
        return open_ ? std::optional(bytes_) : std::nullopt;
    }

    std::size_t held() {
        std::lock_guard<std::mutex> guard(mutex_);
        return bytes_.size();
    }
    std::optional<std::string> kept() {
        std::lock_guard<std::mutex> guard(mutex_);
        return kept_;
    }

    std::atomic<bool> deaf{false};

private:
    std::mutex mutex_;
    bool open_ = false;
    std::string bytes_;
    std::optional<std::string> kept_;
};

class DownloadStream : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("PENDRA_ANSWER_MS", "150", 1);
        // The window's own rules, frame by frame: version 3 gathers the
        // caller's bytes into packed batches, so its frames do not follow
        // the packets these cases count.
        ::setenv("PENDRA_PROTOCOL", "2", 1);
        LineOptions options;
        options.baud = 57600;
        options.oneWayDelay = std::chrono::milliseconds(20);
        ASSERT_NO_FATAL_FAILURE(ptyLine_.start(terminal_, options));
        link_ = Pendra_Create();
        ASSERT_EQ(Pendra_SetupEx(link_, kPort, 'A', '1', 'N'), 1);
    }

    void TearDown() override {
        Pendra_Destroy(link_);
        ptyLine_.unplug();
    }

    int16_t request(const std::string& text) {
        char buf[256] = {};
        text.copy(buf, text.size());
        uint8_t n = static_cast<uint8_t>(text.size());
        return Pendra_DBG(link_, 'A', buf, &n);
    }

    // The packet at `offset` of the file, as the command library sends it.
    int16_t packetAt(std::size_t offset) {
        return request("Y" + zelo::escaped(file_.substr(offset, 120)));
    }

    DeafeningTerminal terminal_;
    PseudoTerminalLine ptyLine_{kPort};
    PendraHandle link_ = 0;
    std::string file_;

    void makeFile(std::size_t packets) {
        std::mt19937 random(11);
        for (std::size_t i = 0; i < 120 * packets; ++i) file_ += static_cast<char>(random() & 0xFF);
    }

    // Sends packets from `position` until one fails, with the terminal deaf
    // after the first ten; the failure, and the library's byte counter.
    int16_t sendUntilDeafFails(std::size_t& position) {
        for (int packet = 0; packet < 10; ++packet, position += 120) {
            EXPECT_EQ(packetAt(position), 4);
            Pendra_ACK(link_, 'A');
        }
        terminal_.deaf = true;
        int16_t result = 4;
        while (position + 120 < file_.size() && (result = packetAt(position)) == 4) {
            Pendra_ACK(link_, 'A');
            position += 120;
        }
        return result;
    }
};

TEST_F(DownloadStream, AFailureAfterPacketsSeenToSucceedIsReportedAndAResumeRepairsIt) {
    makeFile(40);
    ASSERT_EQ(request("LFILE.BIN"), 4);
    std::size_t position = 0;  // the library's byte counter
    ASSERT_EQ(sendUntilDeafFails(position), 130) << "the window fills, the terminal stays silent";
    // The next data packet hears of it without waiting.
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(packetAt(position), 130);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(100));

    // The library resumes one packet back at a time until one is taken.
    terminal_.deaf = false;
    const std::size_t held = terminal_.held();
    EXPECT_LT(held, position) << "data the caller saw accepted did not arrive";
    int16_t resumed = 0;
    while (resumed != 4 && position > 0) {
        position -= 120;
        resumed = request("LFILE.BIN[" + std::to_string(position) + "]");
    }
    ASSERT_EQ(resumed, 4);
    EXPECT_LE(position, held);
    const auto framesBefore = ptyLine_.server().counters().downloadFrames.load();
    for (; position < file_.size(); position += 120) {
        ASSERT_EQ(packetAt(position), 4);
        Pendra_ACK(link_, 'A');
    }
    EXPECT_GT(ptyLine_.server().counters().downloadFrames.load(), framesBefore)
        << "streaming goes on after a resume to a packet boundary";
    // The checked end: right only when the CRC went on from the resume's
    // boundary.
    ASSERT_EQ(request("Z"), 4);
    EXPECT_TRUE(terminal_.kept() == file_);
}

TEST_F(DownloadStream, AnEndAfterAnUnrepairedFailureIsNotSent) {
    makeFile(40);
    ASSERT_EQ(request("LFILE.BIN"), 4);
    std::size_t position = 0;
    ASSERT_EQ(sendUntilDeafFails(position), 130);
    terminal_.deaf = false;
    EXPECT_EQ(request("Z"), 130);
    EXPECT_FALSE(terminal_.kept()) << "a short file must not be committed";
    // The download is over at the link: the next one starts afresh.
    file_ = file_.substr(0, 600);
    ASSERT_EQ(request("LFILE.BIN"), 4);
    for (position = 0; position < file_.size(); position += 120) ASSERT_EQ(packetAt(position), 4);
    ASSERT_EQ(request("Z"), 4);
    EXPECT_TRUE(terminal_.kept() == file_);
}

}  // namespace
}  // namespace termsim::testing

// Group downloads (version 3) through the real link and the simulator: one
// file to several terminals at once, with faults that strike each terminal
// on its own. Every member ends with the file byte for byte, or with a
// failure of its own that a resume one by one at the length reported makes
// good; a wrong copy is never reported kept.
#include <array>
#include <atomic>

#include "escaped_form.hpp"
#include "line_under_test.hpp"
#include "pendra.h"

namespace termsim::end_to_end {
namespace {

// The simulated terminals, any of which the test can switch deaf: it then
// hears nothing and answers nothing, as a terminal switched off.
class SwitchableLine : public TerminalLine {
public:
    explicit SwitchableLine(SimulatedLine& line) : line_(line) {}
    std::optional<pendra::wire::Reply> handle(const pendra::wire::Request& request) override {
        if (deaf(request.address)) return std::nullopt;
        return line_.handle(request);
    }
    bool hasModem() const override { return false; }
    ModemAnswer modemCommand(const std::string& text) override { return line_.modemCommand(text); }
    bool servesAddress(char address) const override { return !deaf(address); }
    std::optional<std::uint64_t> downloadLength(char address) override {
        return line_.downloadLength(address);
    }
    std::optional<std::string> downloadedBytes(char address) override {
        return line_.downloadedBytes(address);
    }
    void setDeaf(char address, bool deaf) { deaf_[static_cast<uint8_t>(address)] = deaf; }

private:
    bool deaf(char address) const { return deaf_[static_cast<uint8_t>(address)].load(); }
    SimulatedLine& line_;
    std::array<std::atomic<bool>, 256> deaf_{};
};

std::atomic<bool> stopNow{false};
int32_t stopCheck() { return stopNow.load() ? 1 : 0; }

class GroupDownloads : public LineUnderTest {
protected:
    void TearDown() override {
        Pendra_set_stop_check(nullptr);
        stopNow = false;
        if (link_ != 0) Pendra_Destroy(link_);
        LineUnderTest::TearDown();
    }

    // Serves terminals at `addresses` behind the switch and opens the link.
    void start(const std::string& addresses, LineOptions options = {}) {
        std::vector<TerminalConfig> configs;
        for (char address : addresses) configs.push_back(terminal(address));
        ASSERT_NO_FATAL_FAILURE(startLine(configs, options, std::nullopt, false));
        switch_ = std::make_unique<SwitchableLine>(*line_);
        options.modemGuard = std::chrono::milliseconds(200);
        ASSERT_NO_FATAL_FAILURE(ptyLine_.start(*switch_, options));
        link_ = Pendra_Create();
        ASSERT_EQ(Pendra_SetupEx(link_, kPort, 'A', '1', 'N'), 1);
    }

    int16_t request(char address, const std::string& text) {
        char buf[256] = {};
        text.copy(buf, text.size());
        uint8_t n = static_cast<uint8_t>(text.size());
        return Pendra_DBG(link_, address, buf, &n);
    }

    struct Outcome {
        std::vector<uint8_t> joined;
        std::vector<int16_t> results;
        std::vector<uint32_t> held;
        int16_t finished = 0;
    };

    // Announces `name` to each of `addresses`, gathers the group and sends
    // `bytes` in pieces of `piece`; `during` runs before each piece.
    Outcome sendToGroup(const std::string& addresses, const std::string& name,
                        const std::string& bytes, std::size_t piece = 4096,
                        const std::function<void(std::size_t)>& during = {}) {
        Outcome outcome;
        for (char address : addresses) EXPECT_EQ(request(address, "L" + name), 4) << address;
        outcome.joined.assign(addresses.size(), 9);
        Pendra_group_open(link_, addresses.data(), static_cast<uint8_t>(addresses.size()),
                          outcome.joined.data());
        for (std::size_t at = 0; at < bytes.size(); at += piece) {
            if (during) during(at);
            const auto length = std::min(piece, bytes.size() - at);
            const int16_t taken =
                Pendra_group_data(link_, bytes.data() + at, static_cast<int16_t>(length));
            if (taken != 4) {
                outcome.finished = taken;
                return outcome;
            }
        }
        outcome.results.assign(addresses.size(), -1);
        outcome.held.assign(addresses.size(), 0);
        int rounds = 0;
        while ((outcome.finished =
                    Pendra_group_finish(link_, outcome.results.data(), outcome.held.data())) == 2) {
            EXPECT_LT(++rounds, 50) << "the rounds never end";
            if (rounds >= 50) break;
        }
        return outcome;
    }

    // The library's way of finishing a member alone: resume at what it holds,
    // the rest in packets, the end.
    void resumeAlone(char address, const std::string& name, const std::string& bytes,
                     uint32_t held) {
        ASSERT_EQ(request(address, "L" + name + "[" + std::to_string(held) + "]"), 4);
        for (std::size_t at = held; at < bytes.size(); at += 120) {
            ASSERT_EQ(request(address, "Y" + zelo::escaped(bytes.substr(at, 120))), 4);
            Pendra_ACK(link_, address);
        }
        ASSERT_EQ(request(address, "Z"), 4);
    }

    std::string kept(char address, const std::string& name) const {
        const auto path = ramFolder(address) / name;
        return std::filesystem::exists(path) ? ReadAll(path) : std::string("(none)");
    }
    uint64_t groupFrames() const { return ptyLine_.server().counters().groupFrames.load(); }
    uint64_t missed() const { return ptyLine_.server().counters().groupFramesMissed.load(); }

    std::unique_ptr<SwitchableLine> switch_;
    PendraHandle link_ = 0;
};

// Seeded faults strike each terminal's copy of the group frames on its own,
// and on top: B misses the first frames (later packed frames then lack their
// dictionary), C the last ones, D and E overlapping ranges in the middle.
TEST_F(GroupDownloads, EveryMemberEndsByteIdenticalWhateverItMissed) {
    LineOptions options;
    options.faults.drop = 0.02;
    options.faults.corrupt = 0.02;
    options.faults.nak = 0.01;
    options.faults.seed = 7;
    const std::string bytes = priceLines(64 * 1024);
    options.missesGroupFrame = [size = bytes.size()](char member, uint32_t offset) {
        switch (member) {
            case 'B': return offset < 9000;
            case 'C': return offset + 3000 > size;
            case 'D': return offset >= 20000 && offset < 30000;
            case 'E': return offset >= 25000 && offset < 40000;
            default: return false;
        }
    };
    ASSERT_NO_FATAL_FAILURE(start("ABCDEF", options));
    const Outcome outcome = sendToGroup("ABCDEF", "PRICES.DAT", bytes);
    ASSERT_EQ(outcome.finished, 6);
    for (std::size_t i = 0; i < 6; ++i) {
        const char address = static_cast<char>('A' + i);
        SCOPED_TRACE(address);
        EXPECT_EQ(outcome.joined[i], 1);
        EXPECT_EQ(outcome.results[i], 4);
        EXPECT_EQ(outcome.held[i], bytes.size());
        EXPECT_TRUE(kept(address, "PRICES.DAT") == bytes);
    }
    EXPECT_GT(missed(), 0u);
    // Sent once to all, packed: far fewer frames than six raw copies.
    EXPECT_LT(groupFrames(), bytes.size() / 250);
}

// One terminal misses the join and is left to the caller; one falls silent
// for good halfway and gets its own failure without holding the others
// back; back on, it is finished alone from the length reported.
TEST_F(GroupDownloads, SilentAndUnjoinedTerminalsGetTheirOwnResult) {
    ASSERT_NO_FATAL_FAILURE(start("ABCD"));
    const std::string bytes = randomBytes(20000, 3) + priceLines(20000);
    for (char address : std::string("ABCD")) ASSERT_EQ(request(address, "LFILE.BIN"), 4);
    switch_->setDeaf('B', true);
    std::array<uint8_t, 4> joined{};
    ASSERT_EQ(Pendra_group_open(link_, "ABCD", 4, joined.data()), 3);
    EXPECT_EQ(joined, (std::array<uint8_t, 4>{1, 0, 1, 1}));
    switch_->setDeaf('B', false);
    for (std::size_t at = 0; at < bytes.size(); at += 1000) {
        if (at == 20000) switch_->setDeaf('C', true);
        ASSERT_EQ(Pendra_group_data(link_, bytes.data() + at, 1000), 4);
    }
    std::array<int16_t, 4> results{};
    std::array<uint32_t, 4> held{};
    int16_t finished = 0;
    while ((finished = Pendra_group_finish(link_, results.data(), held.data())) == 2) {
    }
    ASSERT_EQ(finished, 6);
    EXPECT_EQ(results, (std::array<int16_t, 4>{4, 0, 130, 4}));
    EXPECT_TRUE(kept('A', "FILE.BIN") == bytes);
    EXPECT_TRUE(kept('D', "FILE.BIN") == bytes);
    EXPECT_EQ(kept('C', "FILE.BIN"), "(none)");
    EXPECT_LE(held[2], 20000u);
    switch_->setDeaf('C', false);
    ASSERT_NO_FATAL_FAILURE(resumeAlone('C', "FILE.BIN", bytes, held[2]));
    EXPECT_TRUE(kept('C', "FILE.BIN") == bytes);
    // B's download, announced before, is still open for the caller.
    ASSERT_NO_FATAL_FAILURE(resumeAlone('B', "FILE.BIN", bytes, 0));
    EXPECT_TRUE(kept('B', "FILE.BIN") == bytes);
}

// Files of 0 and 1 byte; and a copy stored wrongly is refused at its end,
// with the terminal's earlier file kept.
TEST_F(GroupDownloads, TinyFilesLandAndAWrongCopyIsRefused) {
    LineOptions options;
    options.flipDownloadByte = 700;
    ASSERT_NO_FATAL_FAILURE(start("AB", options));
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}}) {
        const std::string bytes = randomBytes(size, 1);
        const Outcome outcome = sendToGroup("AB", "TINY.BIN", bytes);
        ASSERT_EQ(outcome.finished, 6);
        EXPECT_EQ(outcome.results, (std::vector<int16_t>{4, 4})) << size;
        EXPECT_TRUE(kept('A', "TINY.BIN") == bytes);
        EXPECT_TRUE(kept('B', "TINY.BIN") == bytes);
    }
    std::filesystem::create_directories(ramFolder('B'));
    WriteAll(ramFolder('B') / "KEEP.BIN", "the version before");
    const Outcome outcome = sendToGroup("AB", "KEEP.BIN", priceLines(3000));
    ASSERT_EQ(outcome.finished, 6);
    EXPECT_EQ(outcome.results, (std::vector<int16_t>{7, 7}));
    EXPECT_EQ(kept('A', "KEEP.BIN"), "(none)");
    EXPECT_EQ(kept('B', "KEEP.BIN"), "the version before");
}

// Stop while the group's frames go out, and while members are repaired:
// nothing is kept unchecked, and each member can be finished alone.
TEST_F(GroupDownloads, StopEndsTheGroupPhaseAndTheRepairs) {
    LineOptions options;
    options.missesGroupFrame = [](char member, uint32_t offset) {
        return member == 'B' && offset < 5000;
    };
    ASSERT_NO_FATAL_FAILURE(start("AB", options));
    Pendra_set_stop_check(stopCheck);
    const std::string bytes = priceLines(30000);
    Outcome outcome = sendToGroup("AB", "STOP.DAT", bytes, 4096, [](std::size_t at) {
        if (at >= 12000) stopNow = true;
    });
    EXPECT_EQ(outcome.finished, 130);
    EXPECT_EQ(Pendra_group_cancel(link_), 1);
    stopNow = false;
    for (char address : std::string("AB")) {
        EXPECT_EQ(request(address, "z"), 4);
        EXPECT_EQ(kept(address, "STOP.DAT"), "(none)");
    }

    outcome = sendToGroup("AB", "STOP.DAT", bytes);
    ASSERT_EQ(outcome.finished, 6);
    EXPECT_EQ(outcome.results, (std::vector<int16_t>{4, 4}));

    // Stopped during the repairs: the members not finished fail with 130
    // and go on alone from what they hold.
    std::array<uint8_t, 2> joined{};
    for (char address : std::string("AB")) ASSERT_EQ(request(address, "LAGAIN.DAT"), 4);
    ASSERT_EQ(Pendra_group_open(link_, "AB", 2, joined.data()), 2);
    for (std::size_t at = 0; at < bytes.size(); at += 4096) {
        ASSERT_EQ(
            Pendra_group_data(link_, bytes.data() + at,
                              static_cast<int16_t>(std::min<std::size_t>(4096, bytes.size() - at))),
            4);
    }
    stopNow = true;
    std::array<int16_t, 2> results{};
    std::array<uint32_t, 2> held{};
    EXPECT_EQ(Pendra_group_finish(link_, results.data(), held.data()), 6);
    EXPECT_EQ(results, (std::array<int16_t, 2>{130, 130}));
    stopNow = false;
    for (std::size_t i = 0; i < 2; ++i) {
        const char address = static_cast<char>('A' + i);
        EXPECT_EQ(kept(address, "AGAIN.DAT"), "(none)");
        ASSERT_NO_FATAL_FAILURE(resumeAlone(address, "AGAIN.DAT", bytes, held[i]));
        EXPECT_TRUE(kept(address, "AGAIN.DAT") == bytes);
    }
}

// A terminal that speaks version 2 joins no group: the caller serves it
// alone as before.
TEST_F(GroupDownloads, VersionTwoTerminalsAreNotGathered) {
    LineOptions options;
    options.packing = false;
    ASSERT_NO_FATAL_FAILURE(start("AB", options));
    for (char address : std::string("AB")) ASSERT_EQ(request(address, "LV2.BIN"), 4);
    std::array<uint8_t, 2> joined{7, 7};
    EXPECT_EQ(Pendra_group_open(link_, "AB", 2, joined.data()), 0);
    EXPECT_EQ(joined, (std::array<uint8_t, 2>{0, 0}));
    EXPECT_EQ(groupFrames(), 0u);
}

}  // namespace
}  // namespace termsim::end_to_end

// Group downloads on the host's side: the payloads of the lack exchange,
// which repairs go to the group and which to one member, and the link's
// rounds on a fake line (fake_line.hpp) with scripted members that miss
// frames, fall silent, answer wrongly or never gain; and the port vanishing
// at any read or write.
#include "group_download.hpp"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "crc.hpp"
#include "download_messages.hpp"
#include "escaped_form.hpp"
#include "fake_line.hpp"
#include "group_messages.hpp"
#include "group_repairs.hpp"

namespace pendra::testing {
namespace {

using wire::ByteRange;
using wire::Command;

// --- the lack exchange's payloads --------------------------------------------

std::string lackPayload(uint32_t prefix, uint32_t held, const std::vector<ByteRange>& ranges) {
    return wire::encodeLack({9, prefix, held, ranges});
}

TEST(LackReply, RoundTripsAndRefusesEveryMalformedForm) {
    const auto lack = wire::decodeLack(lackPayload(100, 180, {{100, 50}, {200, 1}}));
    ASSERT_TRUE(lack);
    EXPECT_EQ(lack->group, 9);
    EXPECT_EQ(lack->prefix, 100u);
    EXPECT_EQ(lack->held, 180u);
    ASSERT_EQ(lack->missing.size(), 2u);
    EXPECT_EQ(lack->missing[1].offset, 200u);
    EXPECT_TRUE(wire::decodeLack(lackPayload(0, 0, {})));

    EXPECT_FALSE(wire::decodeLack(lackPayload(100, 99, {}))) << "holds less than its prefix";
    EXPECT_FALSE(wire::decodeLack(lackPayload(100, 100, {{50, 10}}))) << "before the prefix";
    EXPECT_FALSE(wire::decodeLack(lackPayload(0, 0, {{10, 0}}))) << "empty range";
    EXPECT_FALSE(wire::decodeLack(lackPayload(0, 0, {{10, 10}, {15, 10}}))) << "overlapping";
    EXPECT_FALSE(wire::decodeLack(lackPayload(0, 0, {{30, 10}, {10, 10}}))) << "out of order";
    EXPECT_FALSE(wire::decodeLack(lackPayload(0, 0, {{0xFFFFFFF0u, 0x20}}))) << "past 4 GiB";
    std::vector<ByteRange> many;
    for (uint32_t i = 0; i <= wire::kMaxLackRanges; ++i) many.push_back({i * 10, 5});
    EXPECT_FALSE(wire::decodeLack(lackPayload(0, 0, many))) << "more than one reply holds";
    many.pop_back();
    EXPECT_TRUE(wire::decodeLack(lackPayload(0, 0, many)));
    std::string cut = lackPayload(0, 0, {{10, 10}});
    cut.pop_back();
    EXPECT_FALSE(wire::decodeLack(cut)) << "a range cut short";
    EXPECT_FALSE(wire::decodeLack(cut.substr(0, 5))) << "a header cut short";
}

// --- which repairs go where ------------------------------------------------------

TEST(PlanRepairs, ARangeTwoLackGoesToTheGroupTheRestToEachAlone) {
    const auto repairs = planRepairs(
        {{'A', {{0, 100}, {500, 10}}}, {'B', {{50, 100}}}, {'C', {{500, 10}}}, {'D', {}}});
    ASSERT_EQ(repairs.size(), 4u);
    EXPECT_EQ(repairs[0].address, 'A');
    EXPECT_EQ(repairs[0].range.offset, 0u);
    EXPECT_EQ(repairs[0].range.length, 50u);
    EXPECT_EQ(repairs[1].address, wire::kGroupAddress);
    EXPECT_EQ(repairs[1].range.offset, 50u);
    EXPECT_EQ(repairs[1].range.length, 50u);
    EXPECT_EQ(repairs[2].address, 'B');
    EXPECT_EQ(repairs[2].range.offset, 100u);
    EXPECT_EQ(repairs[2].range.length, 50u);
    EXPECT_EQ(repairs[3].address, wire::kGroupAddress);
    EXPECT_EQ(repairs[3].range.offset, 500u);
    EXPECT_TRUE(planRepairs({{'A', {}}}).empty());
    // Pieces that touch, for the same address, go as one.
    const auto joined = planRepairs({{'A', {{0, 10}, {10, 10}}}});
    ASSERT_EQ(joined.size(), 1u);
    EXPECT_EQ(joined[0].range.length, 20u);
}

// --- the link's rounds on a fake line ------------------------------------------------

// A version-3 terminal as the group sees it: holds what reaches it, tells
// what it lacks, checks the end.
struct Member {
    bool joins = true;
    bool silentAfterJoin = false;
    bool garbledLack = false;
    bool neverGains = false;
    std::function<bool(uint32_t offset, char to)> misses = [](uint32_t, char) { return false; };
    uint8_t group = 0;
    std::map<uint32_t, std::string> frames;  // by offset
    std::string kept;
    bool ended = false;

    std::string contiguous() const {
        std::string bytes;
        for (const auto& [offset, data] : frames) {
            if (offset > bytes.size()) break;
            if (offset + data.size() > bytes.size()) bytes += data.substr(bytes.size() - offset);
        }
        return bytes;
    }

    std::vector<wire::Frame> answer(const wire::Frame& request) {
        const auto command = static_cast<Command>(request.command);
        if (command == Command::GroupData) {
            const auto data = wire::decodeStreamData(request.payload);
            if (data && data->epoch == group &&
                !misses(data->offset, static_cast<char>(request.address)) && !neverGains) {
                frames[data->offset] = data->bytes;
            }
            return {};
        }
        if (command == Command::Text) return {replyTo(request, 4, std::string("\x01\x02\x03"))};
        if (command == Command::JoinGroup) {
            if (!joins) return {};
            group = static_cast<uint8_t>(request.payload.at(0));
            return {replyTo(request, 4, request.payload)};
        }
        if (silentAfterJoin) return {};
        if (command == Command::Lacking) {
            if (garbledLack) return {replyTo(request, 4, "??")};
            const auto question = wire::decodeLackQuestion(request.payload);
            const auto prefix = static_cast<uint32_t>(contiguous().size());
            uint32_t cursor = prefix;
            uint32_t held = prefix;
            std::vector<ByteRange> missing;
            for (const auto& [offset, data] : frames) {
                const auto end = static_cast<uint32_t>(offset + data.size());
                if (end <= cursor) continue;
                if (offset > cursor) missing.push_back({cursor, offset - cursor});
                held += end - std::max(offset, cursor);
                cursor = end;
            }
            if (cursor < question->length) missing.push_back({cursor, question->length - cursor});
            return {replyTo(request, 4, wire::encodeLack({group, prefix, held, missing}))};
        }
        if (command == Command::CheckedEnd) {
            const auto check = wire::decodeEndCheck(request.payload);
            kept = contiguous();
            const bool right =
                check->length == kept.size() &&
                check->crc ==
                    wire::crc32(reinterpret_cast<const uint8_t*>(kept.data()), kept.size());
            ended = true;
            return {replyTo(request, right ? 4 : 7)};
        }
        return {replyTo(request, 4)};
    }
};

struct GroupRun {
    std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
    std::map<char, Member> members;
    std::unique_ptr<Link> link;
    std::string file;

    GroupRun() {
        std::mt19937 random(5);
        for (int i = 0; i < 2000; ++i) file += static_cast<char>(random() & 0xFF);  // goes raw
        for (char address : std::string("ABC")) members[address];
    }

    void open(int failAt = 0) {
        line->failAt = failAt;
        line->terminals = [this](const wire::Frame& request) -> std::vector<wire::Frame> {
            if (request.address == static_cast<uint8_t>(wire::kGroupAddress)) {
                for (auto& [address, member] : members) member.answer(request);
                return {};
            }
            const auto found = members.find(static_cast<char>(request.address));
            return found == members.end() ? std::vector<wire::Frame>{}
                                          : found->second.answer(request);
        };
        link = linkOn(line);
    }

    int16_t announce(char address) {
        wire::Request request;
        request.command = Command::Text;
        request.address = address;
        request.payload = "LF.BIN";
        return link->exchange(request).status;
    }

    // Announces, gathers "ABC", sends the file, finishes; the finish's result.
    int16_t run(std::array<int16_t, 3>& results, std::array<uint32_t, 3>& held, int& rounds) {
        for (char address : std::string("ABC")) announce(address);
        std::array<uint8_t, 3> joined{};
        if (link->groupOpen("ABC", 3, joined.data()) == 0) return -1;
        for (std::size_t at = 0; at < file.size(); at += 700) {
            const uint8_t taken = link->groupData(std::string_view(file).substr(at, 700));
            if (taken != 4) return taken;
        }
        rounds = 0;
        uint8_t status = 2;
        while (status == 2 && rounds < 20) {
            status = link->groupFinish(results.data(), held.data());
            ++rounds;
        }
        return status;
    }

    std::vector<wire::Frame> sent(Command command) const {
        std::vector<wire::Frame> frames;
        for (const auto& frame : line->requests)
            if (frame.command == static_cast<uint8_t>(command)) frames.push_back(frame);
        return frames;
    }
};

struct GroupOnFakeLine : ::testing::Test, GroupRun {};

TEST_F(GroupOnFakeLine, FramesGoOnceAndRepairsGoToTheGroupOrToTheOneThatLacks) {
    // A and B miss the frame at 500 the first time, C alone the one at 1500.
    const auto missesOnce = [](uint32_t missed) {
        return [missed, first = true](uint32_t offset, char) mutable {
            const bool miss = first && offset == missed;
            if (miss) first = false;
            return miss;
        };
    };
    members['A'].misses = missesOnce(500);
    members['B'].misses = missesOnce(500);
    members['C'].misses = missesOnce(1500);
    open();
    std::array<int16_t, 3> results{};
    std::array<uint32_t, 3> held{};
    int rounds = 0;
    ASSERT_EQ(run(results, held, rounds), 6);
    EXPECT_EQ(results, (std::array<int16_t, 3>{4, 4, 4}));
    EXPECT_EQ(held, (std::array<uint32_t, 3>{2000, 2000, 2000}));
    for (auto& [address, member] : members) EXPECT_TRUE(member.kept == file) << address;
    const auto frames = sent(Command::GroupData);
    // Eight frames to the group; then A's and B's common lack once to the
    // group, C's to C alone; the second round finds everyone complete.
    std::map<char, int> to;
    for (const auto& frame : frames) ++to[static_cast<char>(frame.address)];
    EXPECT_EQ(to['*'], 8 + 1);
    EXPECT_EQ(to['C'], 1);
    EXPECT_EQ(to['A'] + to['B'], 0);
    EXPECT_EQ(rounds, 2);
}

TEST_F(GroupOnFakeLine, SilentGarbledAndStuckMembersFailAloneWithoutHoldingBackTheOthers) {
    members['A'].silentAfterJoin = true;
    members['B'].garbledLack = true;
    members['C'].neverGains = true;
    members['D'];  // complete
    open();
    for (char address : std::string("ABCD")) announce(address);
    std::array<uint8_t, 4> joined{};
    ASSERT_EQ(link->groupOpen("ABCD", 4, joined.data()), 4);
    ASSERT_EQ(link->groupData(file.substr(0, 1000)), 4);
    std::array<int16_t, 4> results{};
    std::array<uint32_t, 4> held{};
    // Round one: A silent through its repeats (130), B's answer unreadable
    // (253), D complete and checked (4); C lacks everything.
    ASSERT_EQ(link->groupFinish(results.data(), held.data()), 2);
    EXPECT_TRUE(members['D'].ended);
    const std::size_t questionsToA = sent(Command::Lacking).size();
    int more = 0;
    uint8_t status = 2;
    while (status == 2 && more < 10) {
        status = link->groupFinish(results.data(), held.data());
        ++more;
    }
    ASSERT_EQ(status, 6);
    // C, holding nothing from the first round on, fails after that many.
    EXPECT_EQ(1 + more, GroupDownload::kRoundsWithoutGain);
    EXPECT_EQ(results, (std::array<int16_t, 4>{130, 253, 5, 4}));
    EXPECT_EQ(held[3], 1000u);
    // A and B were not asked again after their failures.
    EXPECT_EQ(sent(Command::Lacking).size(), questionsToA + more);
}

TEST_F(GroupOnFakeLine, OnlyAnnouncedVersionThreeTerminalsAreGatheredEachOnce) {
    members['C'].joins = false;
    open();
    announce('A');
    announce('C');
    std::array<uint8_t, 4> joined{9, 9, 9, 9};
    // B never announced, A named twice, C silent to the join.
    EXPECT_EQ(link->groupOpen("ABAC", 4, joined.data()), 1);
    EXPECT_EQ(joined, (std::array<uint8_t, 4>{1, 0, 0, 0}));
    // C may have joined unheard: its next data packet fails unsent, so the
    // caller resumes it rather than stream to a download taking group frames.
    const std::size_t before = line->requests.size();
    wire::Request packet;
    packet.address = 'C';
    packet.payload = "Y" + zelo::escaped("abc");
    EXPECT_EQ(link->exchange(packet).status, kResultTimeOut);
    EXPECT_EQ(line->requests.size(), before);
    // Alone, nobody is gathered.
    link->groupCancel();
    announce('A');
    std::array<uint8_t, 1> alone{9};
    EXPECT_EQ(link->groupOpen("A", 1, alone.data()), 0);
    EXPECT_EQ(alone[0], 0);
    EXPECT_EQ(link->groupData("x"), kResultLineFailure) << "no group open";
}

// The port vanishing at any read, write or drain of a whole group download:
// the call that meets it and every one after it return 254 at once, and the
// port is never touched again.
TEST(GroupOnVanishingPort, EveryCallFromTheFailureOnReturnsTheLineFailure) {
    int cleanOperations = 0;
    for (int failAt = 0; failAt == 0 || failAt <= cleanOperations; ++failAt) {
        GroupRun run;
        run.members['B'].misses = [](uint32_t offset, char) { return offset == 250; };
        run.open(failAt);
        std::array<int16_t, 3> results{};
        std::array<uint32_t, 3> held{};
        int rounds = 0;
        const int16_t status = run.run(results, held, rounds);
        if (failAt == 0) {
            ASSERT_EQ(status, 6);
            cleanOperations = run.line->operations;
            continue;
        }
        SCOPED_TRACE("port failed at " + std::to_string(failAt));
        EXPECT_TRUE(status == kResultLineFailure || status == -1) << status;
        EXPECT_FALSE(run.line->open);
        EXPECT_EQ(run.line->afterFailure, 0);
        EXPECT_EQ(run.link->groupData("x"), kResultLineFailure);
    }
    EXPECT_GT(cleanOperations, 20);
}

}  // namespace
}  // namespace pendra::testing

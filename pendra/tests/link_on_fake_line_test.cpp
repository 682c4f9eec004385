// The link's exchanges, windows and retransmissions on a fake port and a
// fake clock (fake_line.hpp): deterministic, no pseudo-terminal, no waiting.
// And the port vanishing at every read and write of every path: each call
// from the one that met it on ends at once with the line-failure result,
// and the port is never touched again.
#include <gtest/gtest.h>

#include <optional>

#include "download_messages.hpp"
#include "escaped_form.hpp"
#include "fake_line.hpp"
#include "last_open_error.hpp"
#include "platform/stop_check.hpp"
#include "poll_batch.hpp"

namespace pendra::testing {
namespace {

using std::chrono::milliseconds;
using wire::Command;

constexpr char kAddress = 'A';
const std::string kVersionList{"\x01\x02"};

uint8_t serialOf(const wire::Frame& frame) { return frame.tag & wire::kSerialMask; }

std::string packetBytes(uint8_t serial) {
    return std::string(200, static_cast<char>('a' + serial % 26));
}

// One terminal that speaks version 2: streams upload packets within the
// window asked for, holds streamed download data, polls in batches.
struct ScriptedTerminal {
    int silentFor = 0;                      // requests (not Acks) left unanswered first
    std::optional<uint8_t> skipPacketOnce;  // an upload packet lost once on its way
    bool uploadStreaming = false;
    uint8_t window = 0;
    uint32_t held = 0;     // download bytes held
    int missingOnce = -1;  // the data frame at this offset reported missing once

    std::vector<wire::Frame> answer(const wire::Frame& request) {
        const auto command = static_cast<Command>(request.command);
        if (command == Command::Ack)
            return uploadStreaming ? packets(request, serialOf(request) + window, 1)
                                   : std::vector<wire::Frame>{};
        if (silentFor > 0) {
            --silentFor;
            return {};
        }
        if (command != Command::StreamPackets) uploadStreaming = false;
        switch (command) {
            case Command::UploadRequest: return {replyTo(request, 4, kVersionList)};
            case Command::StreamPackets:
                uploadStreaming = true;
                window = static_cast<uint8_t>(request.payload.at(0));
                return packets(request, serialOf(request), window);
            case Command::Text:
                if (request.payload.rfind('L', 0) == 0) {
                    held = 0;
                    return {replyTo(request, 4, kVersionList)};
                }
                return {replyTo(request, 1, "ok")};
            case Command::StreamData: {
                const auto data = wire::decodeStreamData(request.payload);
                uint8_t status = wire::kStreamHeld;
                if (data && static_cast<int>(data->offset) == missingOnce) {
                    missingOnce = -1;
                    status = wire::kStreamMissing;
                } else if (data && data->offset == held) {
                    held += static_cast<uint32_t>(data->bytes.size());
                }
                return {replyTo(request, status,
                                wire::encodeStreamHeld({data ? data->epoch : uint8_t{0}, held}))};
            }
            case Command::CheckedEnd: return {replyTo(request, 4)};
            case Command::Poll: return {replyTo(request, 1, "first", -1, true)};
            case Command::PollBatch: {
                const auto packed = wire::packRecords({"r1", "r2", "r3", "r4", "r5"},
                                                      static_cast<uint8_t>(request.payload.at(0)));
                return {replyTo(request, 1, packed.payload, -1, packed.listed)};
            }
            default: return {replyTo(request, 1, "ok")};
        }
    }

    std::vector<wire::Frame> packets(const wire::Frame& request, int first, int count) {
        std::vector<wire::Frame> frames;
        for (int i = 0; i < count; ++i) {
            const auto serial = static_cast<uint8_t>((first + i) & wire::kSerialMask);
            if (skipPacketOnce == serial) {
                skipPacketOnce.reset();
                continue;
            }
            wire::Frame frame = replyTo(request, 1, packetBytes(serial), serial);
            frame.command = static_cast<uint8_t>(Command::StreamPackets);
            frames.push_back(frame);
        }
        return frames;
    }
};

struct FakeLinkRun {
    std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
    ScriptedTerminal terminal;
    std::unique_ptr<Link> link;

    explicit FakeLinkRun(int failAt = 0) {
        line->failAt = failAt;
        line->terminals = [this](const wire::Frame& request) { return terminal.answer(request); };
        link = linkOn(line);
    }

    Outcome call(Command command, std::string payload = {}) {
        wire::Request request;
        request.command = command;
        request.address = kAddress;
        request.payload = std::move(payload);
        return link->exchange(request);
    }

    int sent(Command command) const {
        int count = 0;
        for (const auto& frame : line->requests)
            count += frame.command == static_cast<uint8_t>(command);
        return count;
    }
};

struct FakeLineTest : ::testing::Test, FakeLinkRun {};

TEST_F(FakeLineTest, ALostReplyIsAskedAgainUnderTheSameSerialUpToTheRepeatsThenTimesOut) {
    terminal.silentFor = link->retransmissions();
    EXPECT_EQ(call(Command::TerminalId).status, 1);
    ASSERT_EQ(line->requests.size(), 3u);
    EXPECT_EQ(line->requests[0], line->requests[2]);  // the same frame, serial and all

    terminal.silentFor = link->retransmissions() + 1;
    const auto before = line->clock.now();
    EXPECT_EQ(call(Command::TerminalId).status, kResultTimeOut);
    EXPECT_EQ(line->requests.size(), 6u);
    // Each sending waits the answer allowance (1 s) and the request's line time twice.
    EXPECT_GE(line->clock.now() - before, 3 * milliseconds(1000));
    EXPECT_LT(line->clock.now() - before, 3 * milliseconds(1100));
    EXPECT_NE(serialOf(line->requests[3]), serialOf(line->requests[0]));
}

// The caller's Stop ends the reply wait within one look, and the request is
// not sent again.
TEST_F(FakeLineTest, StopEndsTheReplyWaitWithoutRepeating) {
    static FakeLine* stoppedLine;
    static LinkClock::TimePoint stopAt;
    stoppedLine = line.get();
    stopAt = line->clock.now() + milliseconds(200);
    platform::setStopCheck([] { return stoppedLine->clock.now() >= stopAt; });
    terminal.silentFor = link->retransmissions() + 1;
    EXPECT_EQ(call(Command::TerminalId).status, kResultTimeOut);
    platform::setStopCheck(nullptr);
    EXPECT_EQ(line->requests.size(), 1u);
    EXPECT_LT(line->clock.now() - stopAt, milliseconds(2 * platform::kStopLookMs));
    // The next request of the same call is not sent at all.
    platform::setStopCheck([] { return true; });
    EXPECT_EQ(call(Command::TerminalId).status, kResultTimeOut);
    platform::setStopCheck(nullptr);
    EXPECT_EQ(line->requests.size(), 1u);
}

TEST_F(FakeLineTest, UploadPacketsComeAheadAndALostOneIsAskedForByItsSerial) {
    ASSERT_EQ(call(Command::UploadRequest, "F.BIN").status, 4);
    std::vector<std::string> handedOut;
    std::optional<uint8_t> first;
    for (int i = 0; i < 8; ++i) {
        const Outcome packet = call(Command::NextPacket);
        ASSERT_EQ(packet.status, 1);
        handedOut.push_back(packet.reply.payload);
        if (!first) {
            first = serialOf(line->requests.back());
            terminal.skipPacketOnce = static_cast<uint8_t>((*first + 4) & wire::kSerialMask);
        }
        ASSERT_EQ(link->acknowledge(kAddress), 1);
    }
    // The link starts at a random serial, so the run may cross the wrap.
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(handedOut[i],
                  packetBytes(static_cast<uint8_t>((*first + i) & wire::kSerialMask)));
    // One stream request to start, one for the packet lost; the rest came ahead.
    EXPECT_EQ(sent(Command::StreamPackets), 2);
}

TEST_F(FakeLineTest, DownloadDataStreamsGoesBackWhenMissingAndEndsWithTheCheck) {
    ASSERT_EQ(call(Command::Text, "LF.BIN").status, 4);
    terminal.missingOnce = static_cast<int>(wire::kStreamDataBytes);
    std::string file;
    for (int i = 0; i < 6; ++i) {
        const std::string bytes(wire::kStreamDataBytes, static_cast<char>('0' + i));
        file += bytes;
        ASSERT_EQ(call(Command::Text, "Y" + zelo::escaped(bytes)).status, 4);
        ASSERT_EQ(link->acknowledge(kAddress), 1);
    }
    EXPECT_EQ(call(Command::Text, "Z").status, 4);
    EXPECT_EQ(terminal.held, file.size());
    const wire::Frame& end = line->requests.back();
    ASSERT_EQ(end.command, static_cast<uint8_t>(Command::CheckedEnd));
    EXPECT_EQ(wire::decodeEndCheck(end.payload)->length, file.size());
    EXPECT_GT(sent(Command::StreamData), 6);  // the one reported missing went again
}

// The port vanishes at its Nth read, write or drain, for every N a clean
// run of `steps` reaches. A step returns its call's result, kResultLineFailure
// for a line lost.
using Step = std::function<int(FakeLinkRun&)>;

void sweepVanishingPort(const std::vector<Step>& steps) {
    int cleanOperations = 0;
    for (int failAt = 0; failAt == 0 || failAt <= cleanOperations + 1; ++failAt) {
        FakeLinkRun run(failAt);
        std::optional<std::size_t> lostIn;
        LinkClock::TimePoint lostAt{};
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const int status = steps[i](run);
            if (failAt > 0 && !lostIn && run.line->operations >= failAt) {
                lostIn = i;
                lostAt = run.line->clock.now();
            }
            if (lostIn) {
                EXPECT_EQ(status, kResultLineFailure)
                    << "port failed at " << failAt << ", step " << i;
            }
        }
        if (failAt == 0) {
            cleanOperations = run.line->operations;
            continue;
        }
        if (!lostIn) continue;  // the run ended before that operation
        EXPECT_FALSE(run.line->open) << "port failed at " << failAt;
        EXPECT_EQ(run.line->afterFailure, 0) << "port failed at " << failAt;
        EXPECT_EQ(lastOpenError().failure, platform::OpenFailure::LineLost);
        EXPECT_EQ(run.line->clock.now(), lostAt) << "port failed at " << failAt;
    }
    EXPECT_GT(cleanOperations, 5);
}

Step request(Command command, std::string payload = {}) {
    return [=](FakeLinkRun& run) { return static_cast<int>(run.call(command, payload).status); };
}
Step acknowledge() {
    return [](FakeLinkRun& run) { return static_cast<int>(run.link->acknowledge(kAddress)); };
}

std::vector<Step> repeated(int times, const std::vector<Step>& steps,
                           std::vector<Step> before = {}) {
    for (int i = 0; i < times; ++i) before.insert(before.end(), steps.begin(), steps.end());
    return before;
}

TEST(VanishingPort, StopAndWaitEndsAtOnceWithTheLineFailure) {
    sweepVanishingPort(repeated(3, {request(Command::TerminalId), acknowledge(),
                                    request(Command::Text, "7"), acknowledge()}));
}

TEST(VanishingPort, StreamedUploadEndsAtOnceWithTheLineFailure) {
    sweepVanishingPort(repeated(8, {request(Command::NextPacket), acknowledge()},
                                {request(Command::UploadRequest, "F.BIN")}));
}

TEST(VanishingPort, StreamedDownloadEndsAtOnceWithTheLineFailure) {
    auto steps = repeated(
        6, {request(Command::Text, "Y" + zelo::escaped(std::string(300, 'd'))), acknowledge()},
        {request(Command::Text, "LF.BIN")});
    steps.push_back(request(Command::Text, "Z"));
    sweepVanishingPort(steps);
}

TEST(VanishingPort, PollBatchesEndAtOnceWithTheLineFailure) {
    sweepVanishingPort(repeated(8, {request(Command::Poll), acknowledge()}));
}

TEST(VanishingPort, ModemCommandsEndAtOnce) {
    const auto lost = [](int16_t result) {
        return result == 1 ? 1 : static_cast<int>(kResultLineFailure);
    };
    const Step command = [&](FakeLinkRun& run) {
        run.line->modem = [](const std::string&) { return std::string("OK\r\n"); };
        return lost(run.link->modemCommand("ATZ"));
    };
    const Step answer = [](FakeLinkRun& run) {
        return run.link->connected() ? 1 : static_cast<int>(kResultLineFailure);
    };
    const Step hangUp = [&](FakeLinkRun& run) { return lost(run.link->modemCommand("+++ATH")); };
    const Step read = [](FakeLinkRun& run) {
        run.link->modemAnswer();
        return run.link->connected() ? 1 : static_cast<int>(kResultLineFailure);
    };
    sweepVanishingPort({command, read, answer, read, hangUp, read, command, read});
}

}  // namespace
}  // namespace pendra::testing

// Uploads that stream (protocol version 2) under the stop-and-wait calls:
// the caller sees exactly the packets of a stop-and-wait upload, and the
// terminal stands where the caller's acknowledgements put it whenever the
// stream ends.
#include <chrono>
#include <random>
#include <thread>

#include "line_fixture.hpp"

namespace termsim::testing {
namespace {

class UploadStream : public LineFixture {
protected:
    static std::string sample(std::size_t size, unsigned seed) {
        std::mt19937 random(seed);
        std::string data;
        for (std::size_t i = 0; i < size; ++i) data.push_back(static_cast<char>(random() & 0xFF));
        return data;
    }

    int16_t requestUpload(const std::string& text) {
        int16_t result = 0;
        for (int attempt = 0; attempt < 20 && result != 4; ++attempt) {
            result = Pendra_ESC_U(link_, 'A', text.c_str(), static_cast<int16_t>(text.size()));
        }
        return result;
    }

    // Packets as the command library takes them: asked again after a
    // failure, acknowledged once stored. Stops after `packets` packets when
    // that is not negative.
    std::string receive(int packets = -1) {
        std::string received;
        for (int attempts = 0; attempts < 2000 && packets != 0; ++attempts) {
            char buf[256];
            uint8_t n = 1;
            buf[0] = 'Y';
            const int16_t result = Pendra_ESC_Y(link_, 'A', buf, &n);
            if (result == 3) {
                Pendra_ACK(link_, 'A');
                break;
            }
            if (result != 1) continue;
            received.append(buf, n);
            Pendra_ACK(link_, 'A');
            if (packets > 0) --packets;
        }
        return received;
    }
};

TEST_F(UploadStream, PacketsComeAheadOfTheCallsAndArriveExact) {
    const std::string data = sample(5000, 1);
    terminals_.setUpload(data, 200);
    LineOptions options;
    options.oneWayDelay = std::chrono::milliseconds(30);
    startLine(options);
    openMainLink();
    ASSERT_EQ(requestUpload("DATA.BIN"), 4);
    EXPECT_EQ(receive(), data);
    // Most packets came without a request of their own.
    EXPECT_GT(ptyLine_.server().counters().streamed.load(), 20u);
    // Each packet and the end moved past once, when its Ack frame (still
    // on its way as the last call returns) arrived.
    const auto askedForPackets = [&] {
        std::size_t asked = 0;
        for (const auto& request : terminals_.seen()) {
            if (request.command == pendra::wire::Command::NextPacket) ++asked;
        }
        return asked;
    };
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (askedForPackets() < 26 && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(askedForPackets(), 26u);
    EXPECT_EQ(terminals_.uploadOffset(), data.size());
}

// Only acknowledged packets move the terminal on: a stop (the cancel
// request) with packets held finds it at the caller's position, and a
// resume from there goes on exactly.
TEST_F(UploadStream, StopWithPacketsHeldLeavesTheTerminalAtTheCallersPosition) {
    const std::string data = sample(4000, 2);
    terminals_.setUpload(data, 200);
    LineOptions options;
    options.oneWayDelay = std::chrono::milliseconds(40);
    startLine(options);
    openMainLink();
    ASSERT_EQ(requestUpload("DATA.BIN"), 4);
    const std::string first = receive(3);
    ASSERT_EQ(first, data.substr(0, 600));
    char cancel[128] = "y";
    uint8_t n = 1;
    EXPECT_EQ(Pendra_DBG(link_, 'A', cancel, &n), 1);
    EXPECT_EQ(terminals_.uploadOffset(), 600u);
    // A resume one packet back, as the command library does it.
    ASSERT_EQ(requestUpload("DATA.BIN[400]"), 4);
    EXPECT_EQ(first.substr(0, 400) + receive(), data);
}

// Frames sent ahead before a resume are still on their way when the resume
// goes out; none of them is taken for a packet of the resumed stream, whose
// packets start at another offset.
TEST_F(UploadStream, LatePacketsFromBeforeAResumeAreNeverTaken) {
    const std::string data = sample(6000, 3);
    terminals_.setUpload(data, 200);
    LineOptions options;
    options.oneWayDelay = std::chrono::milliseconds(60);
    startLine(options);
    openMainLink();
    ASSERT_EQ(requestUpload("DATA.BIN"), 4);
    ASSERT_EQ(receive(2), data.substr(0, 400));
    ASSERT_EQ(requestUpload("DATA.BIN[150]"), 4);
    EXPECT_EQ(receive(), data.substr(150));
}

// A window lost whole (every frame of it dropped) and lost cumulative
// acknowledgements: the caller's repeats bring the packets again, and the
// terminal never moves past what was acknowledged.
TEST_F(UploadStream, LostWindowsAndLostAcknowledgementsKeepTheUploadExact) {
    const std::string data = sample(8000, 4);
    terminals_.setUpload(data, 200);
    LineOptions options;
    options.faults.drop = 0.15;
    options.faults.silent = 0.1;
    options.faults.corrupt = 0.05;
    options.faults.seed = 21;
    startLine(options);
    openMainLink();
    ASSERT_EQ(requestUpload("DATA.BIN"), 4);
    const std::string half = receive(20);
    ASSERT_EQ(half, data.substr(0, 4000));
    // A resume after whatever was lost, then the rest.
    ASSERT_EQ(requestUpload("DATA.BIN[4000]"), 4);
    EXPECT_EQ(half + receive(), data);
    EXPECT_GT(ptyLine_.server().counters().faults.load(), 15u);
}

// A version-1 terminal lists no versions: the same calls run stop-and-wait.
TEST_F(UploadStream, VersionOneTerminalIsServedStopAndWait) {
    const std::string data = sample(2000, 5);
    terminals_.setUpload(data, 200);
    LineOptions options;
    options.streaming = false;
    startLine(options);
    openMainLink();
    ASSERT_EQ(requestUpload("DATA.BIN"), 4);
    EXPECT_EQ(receive(), data);
    EXPECT_EQ(ptyLine_.server().counters().streamed.load(), 0u);
}

}  // namespace
}  // namespace termsim::testing

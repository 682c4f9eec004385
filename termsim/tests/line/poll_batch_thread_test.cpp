// Polls in batches meeting a streamed upload to the same terminal: a poll
// ends the upload's stream on both sides, so no packet sent ahead before it
// is taken for one after it.
#include <chrono>
#include <random>
#include <thread>

#include "line_fixture.hpp"

namespace termsim::testing {
namespace {

class PollBatchMeetsUpload : public LineFixture {};

TEST_F(PollBatchMeetsUpload, APollBetweenStreamedPacketsLeavesTheUploadExact) {
    std::mt19937 random(5);
    std::string data;
    for (int i = 0; i < 3000; ++i) data.push_back(static_cast<char>(random() & 0xFF));
    terminals_.setUpload(data, 100);
    LineOptions options;
    options.oneWayDelay = std::chrono::milliseconds(40);
    startLine(options);
    openMainLink();

    const auto poll = [&] {
        char buf[128] = {};
        uint8_t n = 4;
        const int16_t result = Pendra_POLL(link_, 'A', buf, &n);
        if (result == 1) Pendra_ACK(link_, 'A');
        return result;
    };
    ASSERT_EQ(poll(), 1);  // learns that the terminal polls in batches
    int16_t accepted = 0;
    for (int attempt = 0; attempt < 20 && accepted != 4; ++attempt) {
        accepted = Pendra_ESC_U(link_, 'A', "DATA.BIN", 8);
    }
    ASSERT_EQ(accepted, 4);
    std::string received;
    for (int calls = 0; calls < 500; ++calls) {
        char buf[256];
        uint8_t n = 1;
        buf[0] = 'Y';
        const int16_t result = Pendra_ESC_Y(link_, 'A', buf, &n);
        if (result == 3) break;
        if (result != 1) continue;
        received.append(buf, n);
        Pendra_ACK(link_, 'A');
        // Packets sent ahead arrive meanwhile; the next call holds them all
        // and hands out the first, and the poll comes while the rest are held.
        if (calls % 7 == 2) std::this_thread::sleep_for(std::chrono::milliseconds(150));
        if (calls % 7 == 3) {
            EXPECT_EQ(poll(), 1);
        }
    }
    EXPECT_EQ(received, data);
}

}  // namespace
}  // namespace termsim::testing

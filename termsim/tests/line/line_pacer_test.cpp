#include "line_pacer.hpp"

#include <gtest/gtest.h>

namespace termsim {
namespace {

using Clock = LinePacer::Clock;

// Takes every byte at once: the pacer alone decides how long a write takes.
class SinkPort : public pendra::platform::SerialPort {
public:
    bool write(const uint8_t*, std::size_t length, int) override {
        written += length;
        return true;
    }
    pendra::platform::ReadStatus read(uint8_t*, std::size_t, int, std::size_t& received) override {
        received = 0;
        return pendra::platform::ReadStatus::TimedOut;
    }
    bool drain() override { return true; }
    void discardInput() override {}
    std::size_t written = 0;
};

// The line is full duplex: what the host sent while the terminal was
// writing was on its way meanwhile, so a reply to it is not held back by the
// terminal's own write. Only the read right after the write gets that
// credit; a later one starts from when it returned.
TEST(LinePacer, BytesReadAfterAWriteStartedOnTheLineWhenTheWriteDid) {
    LinePacer pacer(57600);
    SinkPort port;
    pacer.readReturned(Clock::now());
    const auto beforeWrite = Clock::now();
    ASSERT_TRUE(pacer.write(port, std::string(58, 'x')));  // about 10 ms of line time
    const auto afterWrite = Clock::now();
    EXPECT_EQ(port.written, 58u);

    const auto since = pacer.readReturned(afterWrite);
    EXPECT_GE(since, beforeWrite);
    EXPECT_LT(since, afterWrite);

    const auto later = Clock::now();
    EXPECT_EQ(pacer.readReturned(later), later);
}

TEST(LinePacer, ArrivalsQueueBehindEachOtherAtTheLinesPace) {
    LinePacer pacer(9600);  // 1.04 ms a byte
    const auto start = Clock::now();
    pacer.arrived(96, start);  // done about 100 ms later
    pacer.arrived(96, start);  // behind the first, though it could start as early
    pacer.waitForArrival();
    EXPECT_GE(Clock::now(), start + std::chrono::milliseconds(190));
}

}  // namespace
}  // namespace termsim

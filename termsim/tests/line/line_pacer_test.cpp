#include "line_pacer.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace termsim {
namespace {

using Clock = LinePacer::Clock;

// Takes every byte at once: the pacer alone decides how long a write takes.
// Hands out `pending` on the next read.
class LoopPort : public pendra::platform::SerialPort {
public:
    bool write(const uint8_t*, std::size_t length, int) override {
        written += length;
        return true;
    }
    pendra::platform::ReadStatus read(uint8_t* data, std::size_t capacity, int,
                                      std::size_t& received) override {
        received = std::min(capacity, pending.size());
        std::copy_n(pending.begin(), received, data);
        pending.erase(0, received);
        return received > 0 ? pendra::platform::ReadStatus::Data
                            : pendra::platform::ReadStatus::TimedOut;
    }
    bool drain() override { return true; }
    void discardInput() override {}
    std::size_t written = 0;
    std::string pending;
};

// The line is full duplex: what the host sends while the terminal is
// writing is on its way meanwhile, so it is stamped when it came, not when
// the write was over, and a reply to it is not held back by the write.
TEST(LinePacer, InputThatComesWhileWritingIsStampedWhenItCame) {
    LoopPort port;
    LinePacer pacer(57600, port);
    port.pending = "request";
    const auto beforeWrite = Clock::now();
    ASSERT_TRUE(pacer.write(port, std::string(116, 'x')));  // about 20 ms of line time
    const auto afterWrite = Clock::now();
    EXPECT_EQ(port.written, 116u);

    std::string early;
    Clock::time_point seen;
    ASSERT_TRUE(pacer.takeEarlyInput(early, seen));
    EXPECT_EQ(early, "request");
    EXPECT_GE(seen, beforeWrite);
    EXPECT_LT(seen, afterWrite);
    EXPECT_FALSE(pacer.takeEarlyInput(early, seen));
}

TEST(LinePacer, ArrivalsQueueBehindEachOtherAtTheLinesPace) {
    LoopPort port;
    LinePacer pacer(9600, port);  // 1.04 ms a byte
    const auto start = Clock::now();
    pacer.arrived(96, start);  // done about 100 ms later
    pacer.arrived(96, start);  // behind the first, though it could start as early
    pacer.waitForArrival();
    EXPECT_GE(Clock::now(), start + std::chrono::milliseconds(190));
}

}  // namespace
}  // namespace termsim

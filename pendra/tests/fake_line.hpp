// The link on a fake port and a fake clock: a terminal scripted frame by
// frame, replies that arrive a few milliseconds of fake time after the
// request, and a port that vanishes at its Nth read or write. No
// pseudo-terminal, no thread, no waiting: a read that finds nothing moves
// the clock by its time-out.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frame.hpp"
#include "link.hpp"
#include "link_clock.hpp"
#include "serial_port.hpp"

namespace pendra::testing {

class FakeClock final : public LinkClock {
public:
    TimePoint now() const override { return now_; }
    void sleepFor(std::chrono::milliseconds duration) override { now_ += duration; }

private:
    TimePoint now_{std::chrono::hours(1)};
};

struct FakeLine {
    FakeClock clock;
    // The terminals: the reply frames to one request frame, in order.
    std::function<std::vector<wire::Frame>(const wire::Frame& request)> terminals;
    // What answers bytes that are no frame (a modem's command lines).
    std::function<std::string(const std::string& bytes)> modem;
    // Fake time from one reply frame's arrival to the next's.
    std::chrono::milliseconds frameGap{5};

    std::vector<wire::Frame> requests;  // every request frame written
    // The port vanishes at this read, write or drain (1 the first; 0 never)
    // and fails every one after it.
    int failAt = 0;
    int operations = 0;
    int afterFailure = 0;  // calls on a port already failed
    bool open = false;     // a port of this line exists

    void arrive(const std::string& bytes, LinkClock::TimePoint at);
    // Moves arrived bytes into `out`, at most `capacity`.
    std::size_t take(uint8_t* out, std::size_t capacity);
    bool failsNow();

    std::deque<std::pair<LinkClock::TimePoint, std::string>> incoming;
    LinkClock::TimePoint lastArrival{};
    wire::FrameDecoder fromHost;
};

// A link that opens `line` at any port number.
std::unique_ptr<Link> linkOn(const std::shared_ptr<FakeLine>& line);

// A reply frame to `request` with `status`, `payload` and `serial` (the
// request's own when negative).
wire::Frame replyTo(const wire::Frame& request, uint8_t status, std::string payload = {},
                    int serial = -1, bool more = false);

}  // namespace pendra::testing

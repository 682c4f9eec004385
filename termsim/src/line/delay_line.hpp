// Plays a long line (a satellite hop, a modem chain): bytes written reach
// the other end a fixed time later, in order. Written bytes wait in a queue
// that a thread of its own hands to the device when they are due, so the
// writer goes on at the line's pace, as a UART would.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "serial_port.hpp"

namespace termsim {

class DelayedWriter : public pendra::platform::SerialPort {
public:
    using Clock = std::chrono::steady_clock;

    DelayedWriter(pendra::platform::SerialPort& device, std::chrono::milliseconds delay);
    DelayedWriter(const DelayedWriter&) = delete;
    DelayedWriter& operator=(const DelayedWriter&) = delete;
    // Drops what is still held and waits for the thread.
    ~DelayedWriter() override;

    // Queues the bytes; they go to the device `delay` from now. Never blocks
    // on the device; false once the device failed.
    bool write(const uint8_t* data, std::size_t length, int timeoutMs) override;
    // Reading and discarding are the device's own.
    pendra::platform::ReadStatus read(uint8_t* data, std::size_t capacity, int timeoutMs,
                                      std::size_t& received) override {
        return device_.read(data, capacity, timeoutMs, received);
    }
    bool drain() override;
    void discardInput() override { device_.discardInput(); }

private:
    void run();

    pendra::platform::SerialPort& device_;
    const std::chrono::milliseconds delay_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::pair<Clock::time_point, std::string>> queue_;
    bool stopping_ = false;
    bool failed_ = false;
    std::thread thread_;
};

// The same for bytes read: they are handed on once they are `delay` old.
class DelayedInput {
public:
    using Clock = std::chrono::steady_clock;

    explicit DelayedInput(std::chrono::milliseconds delay) : delay_(delay) {}

    void arrived(std::string bytes, Clock::time_point at) {
        queue_.emplace_back(at + delay_, std::move(bytes));
    }
    // The oldest bytes that are due by `now`, if any, and when they were due.
    bool takeDue(Clock::time_point now, std::string& bytes, Clock::time_point& due);
    // Milliseconds until the next bytes are due (0 when some are), or
    // `idle` when nothing is held.
    int millisecondsToNext(Clock::time_point now, int idle) const;

private:
    const std::chrono::milliseconds delay_;
    std::deque<std::pair<Clock::time_point, std::string>> queue_;
};

}  // namespace termsim

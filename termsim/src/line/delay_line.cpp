#include "delay_line.hpp"

#include <algorithm>

namespace termsim {

DelayedWriter::DelayedWriter(pendra::platform::SerialPort& device, std::chrono::milliseconds delay)
    : device_(device), delay_(delay), thread_([this] { run(); }) {}

DelayedWriter::~DelayedWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

bool DelayedWriter::write(const uint8_t* data, std::size_t length, int /*timeoutMs*/) {
    std::lock_guard lock(mutex_);
    if (failed_) return false;
    queue_.emplace_back(Clock::now() + delay_,
                        std::string(reinterpret_cast<const char*>(data), length));
    changed_.notify_all();
    return true;
}

bool DelayedWriter::drain() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queue_.empty() || stopping_ || failed_; });
    return !failed_;
}

void DelayedWriter::run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (queue_.empty()) {
            changed_.wait(lock);
            continue;
        }
        const auto due = queue_.front().first;
        if (Clock::now() < due) {
            changed_.wait_until(lock, due);
            continue;
        }
        const std::string bytes = std::move(queue_.front().second);
        queue_.pop_front();
        lock.unlock();
        const bool wrote =
            device_.write(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), 5000);
        lock.lock();
        if (!wrote) {
            failed_ = true;
            queue_.clear();
        }
        changed_.notify_all();
    }
}

bool DelayedInput::takeDue(Clock::time_point now, std::string& bytes, Clock::time_point& due) {
    if (queue_.empty() || queue_.front().first > now) return false;
    due = queue_.front().first;
    bytes = std::move(queue_.front().second);
    queue_.pop_front();
    return true;
}

int DelayedInput::millisecondsToNext(Clock::time_point now, int idle) const {
    if (queue_.empty()) return idle;
    const auto wait =
        std::chrono::ceil<std::chrono::milliseconds>(queue_.front().first - now).count();
    return static_cast<int>(std::clamp<long long>(wait, 0, idle));
}

}  // namespace termsim

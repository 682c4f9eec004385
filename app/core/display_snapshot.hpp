#pragma once

#include <mutex>
#include <string>
#include <utility>

namespace zelo::core {

// The settings the progress display shows beside ProgressState: the
// address string (one picture per address) and the polling window.
struct DisplaySettings {
    std::string addresses;
    int pollingPeriod = 0;
    std::string pollStartTime;
    std::string pollStopTime;
};

// The last DisplaySettings published, handed over whole under a lock. The
// records they come from are written by whichever thread owns the view at
// the time (the worker changes the addresses for a script line and reloads
// the configuration after Stop), so the display never reads the records
// themselves, only this copy. Whoever changes them publishes.
class DisplaySnapshot {
public:
    void Publish(DisplaySettings settings) {
        const std::lock_guard lock(mutex_);
        settings_ = std::move(settings);
    }
    DisplaySettings Get() const {
        const std::lock_guard lock(mutex_);
        return settings_;
    }

private:
    mutable std::mutex mutex_;
    DisplaySettings settings_;
};

}  // namespace zelo::core

#pragma once

#include <mutex>
#include <string>
#include <utility>

namespace zelo::link {

// A text the worker writes while the display may be drawing it: each side
// only ever gets a whole copy, never a string in the middle of a write.
class HandedOverText {
public:
    void Set(std::string text) {
        std::lock_guard lock(mutex_);
        text_ = std::move(text);
    }
    std::string Get() const {
        std::lock_guard lock(mutex_);
        return text_;
    }

private:
    mutable std::mutex mutex_;
    std::string text_;
};

}  // namespace zelo::link

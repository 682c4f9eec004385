#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <utility>

namespace zelo::link {

// A text the worker writes while the display may be drawing it: each side
// only ever gets a whole copy, never a string in the middle of a write. The
// copy is bounded like the display's own buffer (capacity bytes with the
// terminating zero), so that a long name cannot grow what is drawn.
class HandedOverText {
public:
    static constexpr std::size_t kDefaultCapacity = 100;

    HandedOverText() = default;
    explicit HandedOverText(std::size_t capacity) : maxLength_(capacity - 1) {}

    void Set(std::string text) {
        if (text.size() > maxLength_) text.resize(maxLength_);
        std::lock_guard lock(mutex_);
        text_ = std::move(text);
    }
    std::string Get() const {
        std::lock_guard lock(mutex_);
        return text_;
    }

private:
    std::size_t maxLength_ = kDefaultCapacity - 1;
    mutable std::mutex mutex_;
    std::string text_;
};

}  // namespace zelo::link

// The millisecond tick counter that the library's delays spin on. It wraps
// at 2^32 like the system tick count it stands for; the delay copes with that.
#pragma once

#include <chrono>
#include <cstdint>

namespace zelo {

inline uint32_t tickCountMs() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace zelo

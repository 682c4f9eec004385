#include "link/terminal_link.hpp"

#include <chrono>
#include <thread>

namespace zelo::link {

CTerminalLink::~CTerminalLink() = default;

void WaitForIdle(const LinkStatus& status) {
    while (status.idle.load() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

}  // namespace zelo::link

#include "pseudo_terminal.hpp"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "descriptor_port.hpp"

namespace termsim {

std::unique_ptr<PseudoTerminal> PseudoTerminal::create(std::string& error) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) {
        error = std::string("posix_openpt: ") + std::strerror(errno);
        return nullptr;
    }
    char name[128] = {};
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 ||
        ::ptsname_r(master, name, sizeof name) != 0) {
        error = std::string("pseudo-terminal set-up: ") + std::strerror(errno);
        ::close(master);
        return nullptr;
    }
    std::unique_ptr<PseudoTerminal> terminal(new PseudoTerminal);
    terminal->slavePath_ = name;
    terminal->master_ = pendra::platform::adoptDescriptor(master);
    terminal->slaveKeeper_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (terminal->slaveKeeper_ >= 0) {
        // Raw from the start: no echo of frames back to the host.
        termios mode{};
        if (::tcgetattr(terminal->slaveKeeper_, &mode) == 0) {
            ::cfmakeraw(&mode);
            ::tcsetattr(terminal->slaveKeeper_, TCSANOW, &mode);
        }
    }
    return terminal;
}

int32_t PseudoTerminal::hostSpeed() const {
    termios mode{};
    if (slaveKeeper_ < 0 || ::tcgetattr(slaveKeeper_, &mode) != 0) return 0;
    switch (::cfgetospeed(&mode)) {
        case B110: return 110;
        case B300: return 300;
        case B600: return 600;
        case B1200: return 1200;
        case B2400: return 2400;
        case B4800: return 4800;
        case B9600: return 9600;
        case B19200: return 19200;
        case B38400: return 38400;
        case B57600: return 57600;
        case B115200: return 115200;
        default: return 0;
    }
}

PseudoTerminal::~PseudoTerminal() {
    master_.reset();
    if (slaveKeeper_ >= 0) ::close(slaveKeeper_);
}

}  // namespace termsim

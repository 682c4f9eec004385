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

PseudoTerminal::~PseudoTerminal() {
    master_.reset();
    if (slaveKeeper_ >= 0) ::close(slaveKeeper_);
}

}  // namespace termsim

// POSIX only: a SerialPort over a descriptor that is already open (the
// master side of a pseudo-terminal), without locks or line settings.
#pragma once

#include <memory>

#include "serial_port.hpp"

namespace pendra::platform {

// Takes ownership of `fd` and closes it when destroyed.
std::unique_ptr<SerialPort> adoptDescriptor(int fd);

}  // namespace pendra::platform

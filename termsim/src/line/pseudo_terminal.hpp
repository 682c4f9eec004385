// A pseudo-terminal for the simulator to sit on: the host opens its slave
// path as if it were a serial device; the simulator reads the master side.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "serial_port.hpp"

namespace termsim {

class PseudoTerminal {
public:
    // nullptr, with the reason in `error`, when no pseudo-terminal can be had.
    static std::unique_ptr<PseudoTerminal> create(std::string& error);

    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;
    ~PseudoTerminal();

    const std::string& slavePath() const { return slavePath_; }

    // The speed the host last set its side to, in bits per second; 0 when
    // it cannot be read. A pseudo-terminal moves bytes at any speed, but it
    // keeps the settings, so the simulator can tell what the host sent at.
    int32_t hostSpeed() const;

    // The master side, for the line server; null after the first call.
    std::unique_ptr<pendra::platform::SerialPort> takeMaster() { return std::move(master_); }

private:
    PseudoTerminal() = default;

    std::string slavePath_;
    std::unique_ptr<pendra::platform::SerialPort> master_;
    // Held open so that the master does not see a hang-up each time the
    // host closes its side.
    int slaveKeeper_ = -1;
};

}  // namespace termsim

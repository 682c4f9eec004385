#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace zelo::link {

// The terminal address alphabet: A to Y and 0 to 6. 'Z' is never an address
// (on the command line it selects a batch script).
inline constexpr std::string_view kAddressAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXY0123456";
// Most terminals one line carries; also the length of the per-address arrays.
inline constexpr std::size_t kMaxAddresses = 39;
inline constexpr std::size_t kAddressSlots = 40;

// Line speeds by baud index, as messages show them; the index is what
// HM_OpenCommPort takes.
inline constexpr std::array<std::string_view, 10> kBaudTexts = {
    "110", "300", "600", "1200", "2400", "4800", "9600", "19200", "38400", "57600"};
inline constexpr int kBaudIndex9600 = 6;

// Terminal models; their numbers are stored in the configuration and in the
// per-address type entries.
enum TerminalTypeCode : int {
    kGravoHalda = 0,
    kFenna = 1,
    kLanta = 2,
    kEstra = 3,
    kDelmar = 4,  // the only model with an EMS drive
    kCorvo = 5,
    kBrisa = 6,
};

// Line and terminal settings. They belong to the thread that owns the
// view's records: the user interface thread while no command runs, the
// worker while one does. The worker changes baudIndex (a speed search),
// the addresses (a script line, an address change), dialNumber (the dial
// step) and every field (the configuration reloaded after Stop); the user
// interface thread takes them back when the worker's busy flag returns to
// 0. No field is atomic: the progress display never reads them, only a copy
// handed over whole under a lock.
struct CommSettings {
    // Terminals to talk to, in the order every operation visits them; the
    // position of an address indexes the per-address arrays of ProgressState.
    std::string addresses = "A";
    int port = 1;  // COM port number, 1..256
    int baudIndex = kBaudIndex9600;
    int dataBitsIndex = 1;  // 0: 7 data bits, 1: 8 data bits
    int stopBitsIndex = 0;  // 0: 1 stop bit, 1: 2 stop bits
    int parity = 0;         // 0 none, 1 odd, 2 even
    int terminalType = kGravoHalda;
    std::string dialNumber;  // at most kMaxDialNumber characters
    std::string modemInitCommand = "ATS0=1";
    int dialType = 0;       // 1: pulse dialling, anything else tone
    int dialWaitTime = 60;  // seconds to wait for the modem to connect
};

inline constexpr std::size_t kMaxDialNumber = 30;
inline constexpr std::size_t kMaxModemInitCommand = 99;

}  // namespace zelo::link

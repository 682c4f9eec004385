#pragma once

#include <array>
#include <atomic>

#include "link/comm_settings.hpp"
#include "link/handed_over_text.hpp"

namespace zelo::link {

// What the progress display shows.
enum ProgressMode : int {
    kProgressPerAddress = 2,  // one status picture per address
    kProgressTransfer = 3,    // file name, packets, bytes, percent
    kProgressPolling = 4,
};

// The value of phase while nothing is transferred.
inline constexpr int kPhaseAtRest = 10;

// One terminal's status in ProgressState::addressStatus.
enum AddressStatus : int {
    kStatusNotDone = 0,  // also: switching power saving failed
    kStatusTimeOut = 1,
    kStatusDone = 2,
    kStatusTransferring = 3,  // also: poll data received
    kStatusWorking = 4,
    kStatusFailed = 5,
    kStatusNoSuchFile = 6,
};

// The display's buffers for the two names, terminating zero included.
inline constexpr std::size_t kProgressFileNameBuffer = 100;
inline constexpr std::size_t kProgressSaveAsNameBuffer = 120;

using PerAddress = std::array<std::atomic<int>, kAddressSlots>;

// Progress of the running operation: written by the worker, drawn by the
// user interface thread. Numbers are atomic; texts are handed over whole.
struct ProgressState {
    ProgressState() {
        for (auto& selected : addressSelected) selected = 1;
    }

    HandedOverText fileName{kProgressFileNameBuffer};      // the file being transferred
    HandedOverText saveAsName{kProgressSaveAsNameBuffer};  // where an uploaded file is stored
    std::atomic<int> mode{0};
    PerAddress addressStatus{};  // indexed by the position in CommSettings::addresses
    std::atomic<int> phase{0};
    std::atomic<int> currentAddress{0};
    std::atomic<int> countdown{0};  // seconds before the next pass of a looping upload
    PerAddress addressSelected;     // 1: this address takes part in commands
    PerAddress typeFound{};         // terminal type per address
    std::atomic<int> packets{0};
    std::atomic<int> bytes{0};
    std::atomic<int> total{0};  // size of the file being downloaded
};

}  // namespace zelo::link

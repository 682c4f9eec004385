// Waits that Stop cuts short: opening the line, and the queries the program
// sends to find a terminal and its speed (the directory listing, the
// firmware version). A silent line keeps each of these in the link layer's
// reply wait for seconds; HM_stop_communication during one of them ends
// that wait at once, as a time-out. Every other call runs its exchange to
// the end: the transfer loops and the modem waits look at the stop flag
// between steps, and a transfer's cancel must still reach the terminal.
#pragma once

#include <cstdint>

namespace zelo {

// From construction to destruction, on the calling thread, a Stop cuts the
// link layer's waits. Only a Stop asked after construction counts: one left
// from an earlier command never cuts a later one.
class StopCutsWaits {
public:
    StopCutsWaits();
    ~StopCutsWaits();
    StopCutsWaits(const StopCutsWaits&) = delete;
    StopCutsWaits& operator=(const StopCutsWaits&) = delete;

private:
    bool wasActive_;
    uint32_t wasReference_;
};

// Counts a Stop for the waits above; any thread.
void countStop();

// Hands the link layer the check it asks while it waits.
void installStopCheck();

}  // namespace zelo

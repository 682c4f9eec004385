// Opening and closing the link, the library settings, the delay, the stop
// flag, the return slots and the version.
#include "c_boundary.hpp"
#include "library_state.hpp"
#include "link_interface.hpp"
#include "stop_cuts.hpp"
#include "tick_clock.hpp"
#include "zelodll.h"

namespace zelo {

namespace {

// Baud index 0..9 to the link's speed character. Index 1 is "2": the link
// layer's "1" is never produced.
int16_t baudCharacter(int32_t index) {
    if (index == 0) return '0';
    if (index >= 1 && index <= 8) return static_cast<int16_t>('1' + index);
    return 'A';
}

int16_t parityCharacter(int32_t parity) {
    switch (parity) {
        case 0: return 'N';
        case 1: return 'O';
        case 2: return 'E';
        default: return '0';
    }
}

int16_t stopBitsCharacter(int32_t stopBits) {
    switch (stopBits) {
        case 1: return '1';
        case 2: return '2';
        default: return '0';
    }
}

}  // namespace

}  // namespace zelo

using namespace zelo;

extern "C" {

int32_t ZELO_API HM_OpenCommPort(int32_t port, int32_t baud_index, int32_t /*data_bits*/,
                                 int32_t parity, int32_t stop_bits) try {
    LibraryState& s = state();
    const StopCutsWaits stopCuts;
    if (!s.linkCreated) {
        installStopCheck();
        // A failed creation is retried by the next open; this call goes on
        // with handle 0 and the set-up result decides.
        s.link = Pendra_Create();
        s.linkCreated = s.link != 0;
    }
    if (Pendra_SetupEx(s.link, port, baudCharacter(baud_index), stopBitsCharacter(stop_bits),
                       parityCharacter(parity)) == 0) {
        return 0;
    }
    return Pendra_Connect(s.link) != 0 ? 1 : 0;
} catch (...) {
    return 0;
}

void ZELO_API HM_CloseCommPort(int32_t /*port*/) try {
    LibraryState& s = state();
    if (!s.linkCreated) return;
    Pendra_Destroy(s.link);
    s.linkCreated = false;
} catch (...) {
    return;
}

int32_t ZELO_API HM_SetRetryTimes(int32_t times) { return state().retryTimes = times; }
int32_t ZELO_API HM_GetRetryTimes(void) { return state().retryTimes; }
int32_t ZELO_API HM_set_time_out(int32_t ms) { return state().timeOut = ms; }
int32_t ZELO_API HM_get_time_out(void) { return state().timeOut; }
int32_t ZELO_API HM_set_ESC_delay(int32_t ms) { return state().escDelay = ms; }
int32_t ZELO_API HM_get_ESC_delay(void) { return state().escDelay; }
int32_t ZELO_API HM_set_NAK_delay(int32_t ms) { return state().nakDelay = ms; }
int32_t ZELO_API HM_get_NAK_delay(void) { return state().nakDelay; }
int32_t ZELO_API HM_set_power_saving_status(int32_t on) { return state().powerSavingStatus = on; }
int32_t ZELO_API HM_get_power_saving_status(void) { return state().powerSavingStatus; }
int32_t ZELO_API HM_set_upload_file_save_mode(int32_t mode) {
    return state().uploadSaveMode = mode;
}
int32_t ZELO_API HM_get_upload_file_save_mode(void) { return state().uploadSaveMode; }

int32_t ZELO_API HM_get_return_string_length(int32_t slot) try {
    if (slot < 0 || slot >= kReturnSlotCount) return 0;
    return state().returnSlots[static_cast<std::size_t>(slot)];
} catch (...) {
    return zelo::failedInsideLibrary();
}

// Spins on the tick counter, as the commands' fixed pauses expect: it neither
// sleeps nor yields. When the counter has not moved, or has wrapped, the
// start is taken again.
int32_t ZELO_API HM_time_delay(int32_t ms) try {
    const int64_t wanted = ms == 0 ? 1 : ms;
    uint32_t start = tickCountMs();
    for (;;) {
        const uint32_t now = tickCountMs();
        const int32_t elapsed = static_cast<int32_t>(now - start);
        if (elapsed <= 0) {
            start = now;
            continue;
        }
        if (elapsed > wanted) return 0;
    }
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_version(void) { return ZELO_VERSION; }

void ZELO_API HM_stop_communication(void) {
    countStop();
    state().stopFlag.store(1, std::memory_order_release);
}

// The reason numbers are the link layer's, passed on unchanged.
static_assert(ZELO_OPEN_OTHER == PENDRA_OPEN_OTHER && ZELO_OPEN_IN_USE == PENDRA_OPEN_IN_USE &&
              ZELO_OPEN_LINE_LOST == PENDRA_OPEN_LINE_LOST);

int32_t ZELO_API HM_last_error_text(char* text, int32_t room) {
    return Pendra_last_error_text(room > 0 ? text : nullptr, room > 0 ? room : 0);
}

}  // extern "C"

// Switching a terminal's power saving off ("7") and on ("8").
#include "power_saving.hpp"

#include "c_boundary.hpp"
#include "link_interface.hpp"
#include "single_request.hpp"
#include "zelodll.h"

namespace zelo {

namespace {

constexpr int kAttempts = 5;
constexpr int kPauseMs = 50;

int32_t translateSwitch(int32_t result) {
    return translate(result, {PENDRA_REPLY, PENDRA_ACCEPTED});
}

int32_t sendSwitch(int32_t address, const char* request) {
    RequestBuffer<128> buffer;
    buffer.assign(request);
    int32_t code = translateSwitch(
        Pendra_DBG(linkHandle(), linkAddress(address), buffer.data(), buffer.lengthByte()));
    state().returnSlots[kPowerSavingSlot] = code;
    return code;
}

}  // namespace

bool powerSavingOffPart(int32_t port, int32_t address) {
    if (state().powerSavingStatus == 0) return true;
    return HM_power_saving_off(port, address) == ZELO_OK;
}

void powerSavingOnPart(int32_t port, int32_t address) {
    if (state().powerSavingStatus != 0) HM_power_saving_on(port, address);
}

}  // namespace zelo

using namespace zelo;

extern "C" {

int32_t ZELO_API HM_power_saving_off(int32_t /*port*/, int32_t address) try {
    int32_t code = ZELO_UNKNOWN_RESPONSE;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        code = sendSwitch(address, "7");
        HM_time_delay(kPauseMs);
        if (code == ZELO_OK) break;
    }
    return code;
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_power_saving_on(int32_t /*port*/, int32_t address) try {
    int32_t code = ZELO_UNKNOWN_RESPONSE;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        HM_time_delay(kPauseMs);
        code = sendSwitch(address, "8");
        if (code == ZELO_OK) break;
    }
    return code;
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_get_power_saving_return(void) { return state().returnSlots[kPowerSavingSlot]; }

}  // extern "C"

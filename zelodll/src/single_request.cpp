#include "single_request.hpp"

#include <algorithm>

namespace zelo {

int32_t translate(int32_t linkResult, std::initializer_list<int32_t> successes,
                  std::initializer_list<LinkMeaning> meanings) {
    if (std::find(successes.begin(), successes.end(), linkResult) != successes.end()) {
        return ZELO_OK;
    }
    for (const LinkMeaning& meaning : meanings) {
        if (meaning.linkResult == linkResult) return meaning.code;
    }
    switch (linkResult) {
        case PENDRA_NAK: return ZELO_NAK;
        case PENDRA_TIME_OUT: return ZELO_TIMEOUT;
        default: return ZELO_UNKNOWN_RESPONSE;
    }
}

int32_t translate(SentResult sent, std::initializer_list<int32_t> successes,
                  std::initializer_list<LinkMeaning> meanings) {
    if (!sent) return ZELO_POWER_SAVING_ON;
    return translate(*sent, successes, meanings);
}

}  // namespace zelo

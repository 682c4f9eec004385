// The shape that the queries and the control and settings commands share:
// one request to one terminal, optionally inside the power-saving wrap, and
// the translation of the link result into the library's result code.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>

#include "link_interface.hpp"
#include "power_saving.hpp"
#include "zelodll.h"

namespace zelo {

// Where a command puts the power-saving wrap around its request. Commands
// after which the terminal restarts or leaves the line protocol, and the
// settings and identity queries, leave power saving off.
enum class Wrap {
    None,       // the request alone
    OffOnly,    // off before the request; power saving stays off
    OffThenOn,  // off before the request, on after it
};

// A link result that a command gives its own meaning beyond success.
struct LinkMeaning {
    int32_t linkResult;
    int32_t code;
};

// Not a link result: a transfer loop found the stop flag set. The loops
// hand it to `translate` like a link result, which gives it its meaning.
inline constexpr int32_t kStoppedResult = 10;

// The link result of a sent request, or nothing when the terminal would not
// switch power saving off and the request was never sent.
using SentResult = std::optional<int16_t>;

// The library's result code for a link result, and the one place where link
// results become result codes: 0 for the results the command counts as
// success, its own meanings next, then a negative acknowledgement gives 3
// and a time-out 4 everywhere; every other result is an unknown response.
[[nodiscard]] int32_t translate(int32_t linkResult, std::initializer_list<int32_t> successes,
                                std::initializer_list<LinkMeaning> meanings = {});

// As above; a request that was never sent because power saving stayed on
// gives 9.
[[nodiscard]] int32_t translate(SentResult sent, std::initializer_list<int32_t> successes,
                                std::initializer_list<LinkMeaning> meanings = {});

// Sends one request inside the wrap. A pause after the request comes before
// the on part, so the terminal has settled before it is asked again.
template <typename Send>
[[nodiscard]] SentResult sendWrapped(int32_t port, int32_t address, Wrap wrap, Send&& send,
                                     int32_t pauseAfterMs = 0) {
    if (wrap != Wrap::None && !powerSavingOffPart(port, address)) return std::nullopt;
    const int16_t linkResult = send();
    if (pauseAfterMs > 0) HM_time_delay(pauseAfterMs);
    if (wrap == Wrap::OffThenOn) powerSavingOnPart(port, address);
    return linkResult;
}

// The send step of a request text with Pendra_DBG; the reply comes back in
// the same buffer, its length in the length byte.
template <std::size_t N>
auto textRequest(int32_t address, RequestBuffer<N>& request) {
    return [address, &request] {
        return Pendra_DBG(linkHandle(), linkAddress(address), request.data(), request.lengthByte());
    };
}

// A caller's zero-terminated text, read no further than one character past
// `limit`: enough for RequestBuffer::assign to refuse a text that is too
// long without reading the whole of it. A null text counts as empty.
inline std::string_view callerText(const char* text, std::size_t limit) {
    if (text == nullptr) return {};
    return {text, boundedLength(text, limit)};
}

}  // namespace zelo

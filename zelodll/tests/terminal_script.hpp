// Scripting helpers shared by the query and command tests.
#pragma once

#include <optional>
#include <string>

#include "fake_pendra.hpp"
#include "zelodll.h"

namespace terminal_script {

// Power saving in use, with a terminal that switches it off ("7") and on
// ("8") at the first request; every other call is left to the script.
inline void useSwitchingTerminal() {
    HM_set_power_saving_status(1);
    fake_pendra::setResponder(
        [](const fake_pendra::Call& call) -> std::optional<fake_pendra::Reply> {
            if (call.fn == fake_pendra::Fn::DBG && (call.request == "7" || call.request == "8"))
                return fake_pendra::reply(4);
            return std::nullopt;
        });
}

// The calls made so far, one word each: the terminal address, the function
// and, for a request text, the text up to its first zero ("A:DBG(7)").
inline std::string callSequence() {
    std::string out;
    for (const fake_pendra::Call& call : fake_pendra::calls()) {
        if (!out.empty()) out += ' ';
        if (call.address != 0) out += static_cast<char>(call.address) + std::string(":");
        out += fake_pendra::name(call.fn);
        if (call.fn == fake_pendra::Fn::DBG) out += "(" + std::string(call.request.c_str()) + ")";
    }
    return out;
}

// A DBG reply: the two bytes the link layer puts first, then the text.
inline fake_pendra::Reply textReply(int16_t result, const std::string& text) {
    return fake_pendra::reply(result, "\x01\x02" + text);
}

}  // namespace terminal_script

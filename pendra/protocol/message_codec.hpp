// Requests and replies to frames and back. The three commands that carry a
// number (SetAddress, Keypad, Buzzer) send it as the first two payload
// bytes, low byte first; every other payload travels as it is.
#pragma once

#include <cstdint>
#include <optional>

#include "frame.hpp"
#include "wire_message.hpp"

namespace pendra::wire {

bool isKnownCommand(uint8_t code);
bool carriesArgument(Command command);

// A request's frame. `tag` is the serial number and flag (see frame.hpp).
// nullopt when the payload does not fit one frame.
std::optional<Frame> requestFrame(const Request& request, uint8_t tag);

// The request a frame carries; nullopt for a reply frame, an unknown command
// or an argument command without its two bytes.
std::optional<Request> requestFromFrame(const Frame& frame);

// A reply to `request`, sent under serial `serial`; the more-flag goes in
// the tag. nullopt when the payload does not fit one frame.
std::optional<Frame> replyFrame(const Request& request, const Reply& reply, uint8_t serial);

Reply replyFromFrame(const Frame& frame);

}  // namespace pendra::wire

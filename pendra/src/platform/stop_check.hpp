// The caller's way of ending the link's waits early: a function it names
// (the terminal command library asks whether the operator pressed Stop),
// asked at least every kStopLookMs by every wait that can last: the
// opening of a network line, and the wait for a terminal's reply.
#pragma once

namespace pendra::platform {

// How often a wait looks at the stop check, at the longest.
inline constexpr int kStopLookMs = 50;

using StopCheck = bool (*)();

// Any thread; null: nothing ends a wait early.
void setStopCheck(StopCheck check);

// True when the caller's check says to stop now. Called on the thread that
// waits.
bool stopAsked();

}  // namespace pendra::platform

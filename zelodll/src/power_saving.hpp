// The power-saving wrap that most commands put around their request: the
// terminal's power saving is switched off before the request and on after.
#pragma once

#include <cstdint>

namespace zelo {

// The off part. True when the command may go on: power saving is not in use,
// or the terminal switched it off. False means the command returns 9.
bool powerSavingOffPart(int32_t port, int32_t address);

// The on part; its result is ignored by every command.
void powerSavingOnPart(int32_t port, int32_t address);

}  // namespace zelo

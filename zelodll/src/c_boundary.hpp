// No exception may cross the library's C interface: a caller in C or
// another language cannot catch it, and unwinding through a stdcall frame
// is undefined. Every export's body is therefore a function-try-block whose
// handler returns the export's failure value; the commands' is this one.
#pragma once

#include <cstdint>

#include "zelodll.h"

namespace zelo {

// What a command returns when it failed inside the library (in practice,
// memory ran out): an unknown response, as for any outcome it cannot name.
inline int32_t failedInsideLibrary() noexcept { return ZELO_UNKNOWN_RESPONSE; }

}  // namespace zelo

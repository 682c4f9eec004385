#pragma once

#include <string>

#include "link/operation_requests.hpp"

namespace zelo::link {

// The communication-table text for a terminal model, as the terminal reads
// it: speed, stop bits, data bits and parity characters, the model's fixed
// characters, a '0' where each terminal's address goes, and the two digits
// of terminalTimeout. At most 10 characters.
std::string BuildCommParameters(const CommTableRequest& request, int terminalType,
                                int terminalTimeout);

}  // namespace zelo::link

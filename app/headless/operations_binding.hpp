#pragma once

#include <memory>

#include "core/terminal_operations.hpp"
#include "core/view_core.hpp"

namespace zelo::headless {

// The connection object's operations for `view`, bound to the program's
// connection object (view.Link()). Lives as long as the view.
std::unique_ptr<core::TerminalOperations> BindTerminalOperations(core::ViewCore& view);

}  // namespace zelo::headless

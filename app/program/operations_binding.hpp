#pragma once

#include <memory>

#include "core/terminal_operations.hpp"
#include "core/view_core.hpp"

namespace zelo::program {

// The connection object's operations for `view`, bound to the program's
// connection object (view.Link()). Must not outlive the view. Both
// front-ends use it; tests bind a scripted double instead.
std::unique_ptr<core::TerminalOperations> BindTerminalLink(core::ViewCore& view);

}  // namespace zelo::program

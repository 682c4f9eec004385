#pragma once

#include "core/user_interface.hpp"
#include "core/view_duties.hpp"

namespace zelo::core {

// Everything a front-end (the desktop window or the console) does for the
// program's logic: the view's duties (windows, saving, the terminal dialog)
// and the user's answers (boxes and a command's dialogs). Both sides'
// thread rules apply; see ViewDuties and UserInterface.
struct FrontEnd : ViewDuties, UserInterface {};

}  // namespace zelo::core

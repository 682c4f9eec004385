#pragma once

#include "core/front_end_duties.hpp"
#include "core/user_interface.hpp"

namespace zelo::core {

// Everything a front-end (the desktop window or the console) does for the
// program's logic: the view's duties (windows, saving, the terminal dialog)
// and the user's answers (boxes and a command's dialogs). Both sides'
// thread rules apply; see FrontEndDuties and UserInterface.
struct FrontEnd : FrontEndDuties, UserInterface {};

}  // namespace zelo::core

#pragma once

#include <QWidget>
#include <functional>

#include "core/library_settings.hpp"
#include "core/program_model.hpp"

namespace zelo::dialogs {

// "パラメータ(&P)": the line's parameters, timing, power saving and error
// log, always started from the file. True on OK, after the settings were
// stored, handed to the library and saved. When the line is open and its
// speed or framing changed it asks "Do you want to reconnect?"; Yes calls
// `reconnect` with the port the line is open on. The reconnect itself (a
// speed search, a dial) belongs on the worker, never on this thread.
bool ExecParametersDlg(QWidget* parent, core::ProgramModel& view,
                       const std::function<void(int openPort)>& reconnect,
                       core::LibrarySettings& library = core::ZeloDllSettings());

}  // namespace zelo::dialogs

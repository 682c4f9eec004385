#pragma once

#include <string>

#include "core/library_settings.hpp"
#include "core/program_model.hpp"
#include "dialogs/field_checks.hpp"

namespace zelo::dialogs {

inline constexpr int kPortCount = 256;  // the port list offers "1" to "256"

// The communication parameters dialog's fields, in the order it exchanges
// them with its controls.
struct ParametersFields {
    int portIndex = 0;  // port number - 1
    std::string addresses;
    int baudIndex = 0;      // 0..9
    int autoBaud = 0;       // 0/1
    int dataBitsIndex = 1;  // 0: 7, 1: 8
    int escDelay = 0;
    int nakDelay = 0;
    int parity = 0;         // 0 none, 1 odd, 2 even
    int stopBitsIndex = 0;  // 0: 1, 1: 2
    int powerSaving = 0;    // 0/1
    int timeout = 0;
    int errorLogMode = 0;  // 0 none, 1 append, 2 new
};

// The dialog always starts from the file: reloads the configuration, then
// fills the fields from the records.
ParametersFields OpenParameters(core::ProgramModel& view);

// Why OK cannot take the fields: an address text longer than the 39
// terminals a line carries, or a choice outside its buttons.
Refusal CheckParameters(const ParametersFields& fields);

struct ParametersOutcome {
    bool saved = false;         // the configuration file was written
    bool askReconnect = false;  // the line is open and its framing or speed changed
    int openPort = 1;           // the port the open line uses, to close it
};

// OK, after CheckParameters accepted the fields: stores every field (the
// addresses upper-cased and filtered to terminal addresses), hands the
// library its timing and power saving (Brisa is always told 0), switches
// the error log when its mode changed, and saves. The caller asks "Do you
// want to reconnect?" when askReconnect is set.
ParametersOutcome ConfirmParameters(core::ProgramModel& view, const ParametersFields& fields,
                                    core::LibrarySettings& library);

}  // namespace zelo::dialogs

#pragma once

#include <atomic>
#include <optional>
#include <string>

#include "core/display_snapshot.hpp"
#include "core/model_records.hpp"
#include "link/comm_settings.hpp"
#include "link/link_status.hpp"
#include "link/poll_context.hpp"
#include "link/progress_state.hpp"

namespace zelo::core {

// Library timing and a terminal setting kept in the configuration.
struct TimingSettings {
    int timeOut = 400;
    int escDelay = 10;
    int nakDelay = 50;
    int terminalTimeout = 2;  // sent by the communication-table command
};

// Error-log modes.
enum ErrorLogMode : int { kErrorLogOff = 0, kErrorLogAppend = 1, kErrorLogNew = 2 };

// Values a command line or a script line put in place for one run, kept
// here so that a save in the meantime writes what the operator configured,
// not the run's values. Set when a run puts its value in place; a load of
// the configuration clears them.
struct RunOnlyValues {
    std::optional<std::string> configuredAddresses;
    std::optional<std::string> configuredDeleteFileName;
    std::optional<int> configuredAutoExit;  // a running script holds AUTO_EXIT at 0
};

// Every settings and state record of the main view, in one owner that lives
// as long as the program. The connection object and the dialogs receive
// references to parts of it. The members start at the program's in-memory
// defaults, the values in force before the configuration is first loaded.
struct ModelState {
    ModelState() = default;
    ModelState(const ModelState&) = delete;
    ModelState& operator=(const ModelState&) = delete;

    link::CommSettings comm;
    link::LinkStatus status;
    link::ProgressState progress;
    TransferLists lists;
    PollSettings poll;
    // The polling run's state beside its settings: the polled-data file
    // (left open by a stopped run) and the last-record times the progress
    // display shows.
    link::PollContext pollContext;
    PhoneBook phoneBook;
    CommandLineState commandLine;
    TimeSyncRequest timeSync;
    CommTableRequest commTable;
    TimingSettings timing;
    int errorLogMode = kErrorLogOff;
    // Set by the window menu, read by a save on either thread.
    std::atomic<int> messageFontSize{8};
    RunOnlyValues runOnly;
    // What the progress display draws of the records above; see PublishDisplay.
    DisplaySnapshot display;
};

// Hands the display a copy of what it shows of the records; called on the
// thread that owns them, after they change.
inline void PublishDisplay(ModelState& state) {
    state.display.Publish({state.comm.addresses, state.poll.pollingPeriod, state.poll.startTime,
                           state.poll.stopTime});
}

}  // namespace zelo::core

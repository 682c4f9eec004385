#pragma once

#include <string>

namespace zelo::core {

// What the program's logic asks of the main view. The desktop view, the
// console front-end and the tests' double each implement it.
//
// Threads: the first four are called on the worker thread while a command
// runs (and on the user interface thread otherwise). The user interface
// thread may be blocked waiting for the worker to end (Stop), so an
// implementation hands texts over to its own thread and never waits for it.
class FrontEndDuties {
public:
    virtual ~FrontEndDuties() = default;

    // Appends one result line, ending in LF, to the Message Window; shows
    // the window first when it is hidden.
    virtual void AppendToMessageWindow(std::string line) = 0;
    // One polled record arrived from the terminal at `address` and is
    // already stored in the polled-data file: show it in the Polling Data
    // Window (in its PollDisplayLine form), showing the window first when
    // it is hidden.
    virtual void HandlePollRecord(char address, std::string record) = 0;
    // The progress state changed; `erase` at the start of a file transfer
    // series.
    virtual void RefreshProgress(bool erase) = 0;
    // A modal message box with this text (command-line error box, error-log
    // open failure).
    virtual void ShowMessageBox(std::string text) = 0;
    // Writes the whole configuration file from the view's records.
    virtual void SaveConfiguration() = 0;

    // The configuration names no known terminal model: open the Terminal
    // dialog now, as if the user had chosen its menu command. On OK it
    // stores the chosen type in the view's records and saves the
    // configuration; a front-end without dialogs answers for the user.
    virtual void OpenTerminalDialog() = 0;

    // A note for the operator beside the result lines: why the line did
    // not open, which terminal did not answer. Same thread as the lines; a
    // front-end without a place for it shows nothing.
    virtual void ShowOperatorNote(std::string text) { (void)text; }
};

}  // namespace zelo::core

#pragma once

#include <string>
#include <string_view>

#include "core/command_line.hpp"
#include "core/command_menu.hpp"
#include "core/command_table.hpp"
#include "core/command_worker.hpp"
#include "core/exit_status.hpp"
#include "core/program_model.hpp"
#include "core/user_interface.hpp"

namespace zelo::core {

// The main view's logic that does not depend on a display: start-up,
// command-line mode, starting commands, Stop, the enabling rules and the
// exit timer's rule. The desktop view and the console program each hold
// one (through program::Program).
//
// Threads: every member belongs to the user interface thread.
class ProgramController {
public:
    ProgramController(ProgramModel& view, CommandWorker& worker, UserInterface& ui);

    // The view's start-up: working directory, configuration, library
    // settings, error log and type entries, then the command line (the text
    // after the program name). The front-end starts its 10 ms timer before
    // calling this and ticks OnTimerTick from it.
    CommandLineResult StartUp(std::string_view commandLine);
    CommandLineResult HandleCommandLine(std::string_view commandLine);

    // A menu or toolbar command whose arguments are already in the worker's
    // Arguments(): starts the worker. False while a command runs.
    bool RunCommand(int code);
    // A menu or toolbar command: sets the entry's argument, runs the steps
    // that come before the worker on this thread (the cold start
    // confirmation, the date and time dialog), then starts it. False when
    // nothing started (Cancel, No, a command running or stopping, Stop or
    // another command that starts no worker). Commands whose argument comes
    // from a settings dialog of their own (tables, address, input texts,
    // Lanta) fill Worker().Arguments() first. A command started here, other
    // than the script's restart, makes the session an interactive one.
    bool RunMenuCommand(MenuCommand command);
    // The batch-script menu command: after a stopped script, runs it again
    // from the start.
    bool RestartScript();

    // Stop without blocking (the desktop): BeginStop asks the command to end
    // and returns at once; PollStop, from the 10 ms timer, returns true once
    // the worker has ended and the Stop's after-work is done (the stopped
    // command's configuration reload has run on the worker before it ended).
    // Meanwhile no command starts and IsEnabled says so.
    void BeginStop() { worker_.BeginStop(); }
    bool PollStop() { return worker_.PollStop(); }
    // Stop that returns once the worker has ended (the console program).
    void Stop() { worker_.Stop(); }

    // The exit timer's rule: true when the main window is to be asked to
    // close.
    bool OnTimerTick() const { return worker_.ExitRequested() == 1; }
    // The enabling rules, for a menu group or one menu command. Only the
    // always-available group (Stop, exit, window, help) is enabled while a
    // Stop is under way.
    bool IsEnabled(MenuGroup group) const;
    bool IsEnabled(MenuCommand command) const;

    // What the run leaves for its exit status; read once the worker has
    // ended.
    RunSummary Summary() const;

private:
    CommandLineResult StartCommandLineCommand();
    bool RunOperatorCommand(MenuCommand command);

    ProgramModel& view_;
    ModelState& state_;
    CommandWorker& worker_;
    UserInterface& ui_;
    std::string commandLine_;
    CommandLineResult commandLineResult_ = CommandLineResult::kInteractive;
    bool operatorCommands_ = false;
};

}  // namespace zelo::core

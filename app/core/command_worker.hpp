#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "core/command_table.hpp"
#include "core/program_model.hpp"
#include "core/user_interface.hpp"
#include "link/terminal_operations.hpp"

namespace zelo::core {

// How the last command ended, for a front-end that reports it (the console
// program's exit status). Read only once the worker has ended.
struct CommandOutcome {
    bool lineUnavailable = false;    // a step needed the line and could not open it
    bool scriptMissing = false;      // the batch script could not be opened
    bool scriptLineRefused = false;  // a script line did not fit and was not run
    bool stopped = false;            // ended by Stop
};

// Runs one terminal command at a time on its own thread, CommandThread:
// makes sure the line is open, calls the one operation of the command's
// code, and resets the command state when it returns. The Stop command ends
// it from the user interface thread.
//
// Threads: Start, Stop, Arguments and the queries belong to the user
// interface thread; the worker thread only runs the command.
class CommandWorker {
public:
    CommandWorker(ProgramModel& view, link::TerminalOperations& operations, UserInterface& ui);
    ~CommandWorker();
    CommandWorker(const CommandWorker&) = delete;
    CommandWorker& operator=(const CommandWorker&) = delete;

    // Fill before Start; left alone while the command runs.
    CommandArguments& Arguments() { return arguments_; }

    // Stores `code` and starts the worker. False, and nothing starts, while
    // a command is still running: the second would share the argument
    // fields with the first.
    bool Start(int code);
    // The Stop command, in two halves so that a desktop's user interface
    // thread never blocks on the worker (a dialog the worker waits on can
    // still be answered):
    //  - BeginStop asks the running operation and the library to end, writes
    //    the stop line when an operation was marked running, and returns at
    //    once. From here until PollStop returns true no command starts.
    //  - PollStop, called every 10 ms (the view's timer), stops an operation
    //    that marked itself running only after BeginStop, and returns true
    //    once the worker has ended and the Stop is complete.
    // Stop does both, waiting 10 ms between polls (the console program).
    // All three belong to the user interface thread.
    void BeginStop();
    bool PollStop();
    void Stop();
    // True from BeginStop until PollStop has returned true.
    bool Stopping() const { return stopping_; }
    // Waits for the worker thread to end (program end, tests).
    void Join();

    int WorkerBusy() const { return workerBusy_.load(); }
    int CommandCode() const { return commandCode_.load(); }
    // Set when a command-line run with AUTO_EXIT has ended; stays set.
    int ExitRequested() const { return exitRequested_.load(); }
    CommandOutcome LastOutcome() const { return outcome_; }

private:
    void CommandThread();
    void RunFramedCommand(int code);
    bool RunBeforeLinkChecks(int code, bool& onEmsDrive);
    // CheckLinkReadiness, then Connect unless the line is open; true when
    // the line is open for the operation.
    bool MakeLineReady();
    // One of link::LinkReadiness; the dial step picks the number to dial.
    int CheckLinkReadiness();
    bool ConfirmDial();
    // Calls the one operation of `code`, through the step of its kind; each
    // step returns false for a code not of its kind. Menus, the command line
    // and script lines all come here.
    void CallOperation(int code, bool onEmsDrive);
    bool CallTransfer(int code, bool onEmsDrive, bool commandLineMode);
    bool CallQuery(int code);
    bool CallSetting(int code, bool commandLineMode);
    void CallControl(int code, bool commandLineMode);
    bool PickFromDirectory(int code, link::Disk disk);
    void RunBatchScript();
    // where: "script.zsc, line 3", for the note on a line that is skipped.
    bool RunScriptLine(const std::string& piece, const std::string& where);
    // keepOutcome: the outcome to report instead of this command's.
    void EndCommand(const CommandOutcome* keepOutcome = nullptr);
    // A message box, or, in a run that closes by itself, its line in the
    // Message Window and ERR_LOG.TXT: nothing there waits for a person.
    void Tell(const std::string& text);
    // Ends an operation's loop that is marked running; true when one was.
    bool StopRunningLoop();

    ProgramModel& view_;
    ModelState& state_;
    link::TerminalOperations& operations_;
    // What every operation works on: the view's settings, flags and progress.
    const link::OperationContext context_{state_.comm, state_.status, state_.progress};
    UserInterface& ui_;
    CommandArguments arguments_;
    ChosenTarget chosen_;
    CommandOutcome outcome_;
    std::atomic<int> commandCode_{kNoCommand};
    std::atomic<int> workerBusy_{0};
    std::atomic<int> exitRequested_{0};
    std::thread thread_;
    // The user interface thread's own.
    bool stopping_ = false;
    bool stopLineWritten_ = false;
};

}  // namespace zelo::core

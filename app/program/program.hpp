#pragma once

#include <functional>
#include <memory>

#include "core/command_worker.hpp"
#include "core/core_platform.hpp"
#include "core/front_end.hpp"
#include "core/program_controller.hpp"
#include "core/program_model.hpp"
#include "link/terminal_operations.hpp"

namespace zelo::program {

// Makes a stand-in for the terminal operations of a view (a test's double);
// it must not outlive the view. Empty: the program uses the view's own
// connection object, as the running program does.
using OperationsFactory =
    std::function<std::unique_ptr<link::TerminalOperations>(core::ProgramModel&)>;
inline const OperationsFactory kConnectionObject{};

// The program's parts, built the same way by both front-ends: the view's
// records and files with their connection object (or a stand-in), the
// worker that runs one command at a time and the controller the user
// interface drives. Each part is built after, and ends before, the parts
// it uses.
//
// Threads: made, used and destroyed on the user interface thread. The
// destructor waits for a running worker to end; a front-end stops it first
// (Controller().Stop(), or BeginStop and PollStop) so that the wait is short.
class Program {
public:
    Program(core::Platform& platform, core::FrontEnd& frontEnd,
            const OperationsFactory& makeOperations = kConnectionObject);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    core::ProgramModel& View() { return view_; }
    link::TerminalOperations& Operations() { return operations_; }
    core::CommandWorker& Worker() { return worker_; }
    core::ProgramController& Controller() { return controller_; }

    // The program's end: closes the line when it is open, saves the
    // configuration and closes the error log. Waits for a worker that is
    // still running to end first (stop it before), so that nothing is
    // closed under it. Later calls do nothing.
    void ShutDown();

private:
    core::ProgramModel view_;
    std::unique_ptr<link::TerminalOperations> standIn_;
    link::TerminalOperations& operations_;
    core::CommandWorker worker_;
    core::ProgramController controller_;
    bool shutDown_ = false;
};

}  // namespace zelo::program

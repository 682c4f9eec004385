#pragma once

#include <functional>
#include <memory>

#include "core/command_worker.hpp"
#include "core/platform/platform.hpp"
#include "core/terminal_operations.hpp"
#include "core/view_controller.hpp"
#include "core/view_core.hpp"
#include "desktop/desktop_front_end.hpp"

namespace zelo::desktop {

using OperationsFactory = std::function<std::unique_ptr<core::TerminalOperations>(core::ViewCore&)>;

// The program's framework-free parts the main window drives: the view's
// core, the connection object's operations, the worker and the controller.
class ProgramParts {
public:
    ProgramParts(core::Platform& platform, DesktopFrontEnd& frontEnd,
                 const OperationsFactory& makeOperations);
    ~ProgramParts();

    core::ViewCore& View() { return view_; }
    core::CommandWorker& Worker() { return *worker_; }
    core::ViewController& Controller() { return *controller_; }
    core::TerminalOperations& Operations() { return *operations_; }
    // The program's end, once no worker runs: close the line, save the
    // configuration, close the error log.
    void ShutDown();

private:
    core::ViewCore view_;
    std::unique_ptr<core::TerminalOperations> operations_;
    std::unique_ptr<core::CommandWorker> worker_;
    std::unique_ptr<core::ViewController> controller_;
    bool shutDown_ = false;
};

}  // namespace zelo::desktop

#include "desktop/program_parts.hpp"

namespace zelo::desktop {

ProgramParts::ProgramParts(core::Platform& platform, DesktopFrontEnd& frontEnd,
                           const OperationsFactory& makeOperations)
    : view_(platform, frontEnd),
      operations_(makeOperations(view_)),
      worker_(std::make_unique<core::CommandWorker>(view_, *operations_, frontEnd)),
      controller_(std::make_unique<core::ViewController>(view_, *worker_, frontEnd)) {
    frontEnd.SetView(&view_);
}

ProgramParts::~ProgramParts() { worker_->Join(); }

void ProgramParts::ShutDown() {
    if (shutDown_) return;
    shutDown_ = true;
    worker_->Join();
    core::ViewState& state = view_.State();
    if (state.status.connected.load() != 0) operations_->Disconnect(state.comm.port, state.status);
    view_.ShutDown();
}

}  // namespace zelo::desktop

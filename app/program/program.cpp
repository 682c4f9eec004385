#include "program/program.hpp"

namespace zelo::program {

Program::Program(core::Platform& platform, core::FrontEnd& frontEnd,
                 const OperationsFactory& makeOperations)
    : view_(platform, frontEnd),
      standIn_(makeOperations ? makeOperations(view_) : nullptr),
      operations_(standIn_ ? *standIn_ : view_.Link()),
      worker_(view_, operations_, frontEnd),
      controller_(view_, worker_, frontEnd) {
    // One platform for the whole program: the connection object's clocks,
    // folders and polled-data file come from the same place as the view's.
    view_.Link().SetEnvironment(platform);
}

Program::~Program() {
    // The worker uses the operations and the view, which end after it.
    worker_.Join();
}

void Program::ShutDown() {
    if (shutDown_) return;
    shutDown_ = true;
    worker_.Join();
    core::ModelState& state = view_.State();
    if (state.status.connected.load() != 0) operations_.Disconnect(state.comm.port, state.status);
    view_.ShutDown();
}

}  // namespace zelo::program

#include "core/command_line_values.hpp"

namespace zelo::core {

void PutCommandLineValues(const std::vector<std::string>& tokens, int commandCode,
                          ModelState& state, CommandArguments& args) {
    if (tokens.size() < 3) return;
    if (commandCode == kErase) {
        if (!state.runOnly.configuredDeleteFileName) {
            state.runOnly.configuredDeleteFileName = state.lists.deleteFileName;
        }
        state.lists.deleteFileName = tokens[2];
    }
    if (commandCode == kRun) {
        args.disk = link::Disk::kRam;
        args.runFileName = tokens[2];
    }
}

}  // namespace zelo::core

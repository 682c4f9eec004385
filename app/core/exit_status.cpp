#include "core/exit_status.hpp"

namespace zelo::core {

int DecideExitStatus(const RunSummary& run) {
    if (run.operatorCommands) return kExitSuccess;
    switch (run.commandLine) {
        case CommandLineResult::kInteractive: return kExitSuccess;
        case CommandLineResult::kStarted: break;
        case CommandLineResult::kUnusable:
        case CommandLineResult::kRefused:
        case CommandLineResult::kScriptReady: return kExitUsage;
    }
    const CommandOutcome& outcome = run.outcome;
    if (outcome.scriptMissing || outcome.scriptLineRefused) return kExitUsage;
    if (outcome.stopped || outcome.lineUnavailable || run.failuresReported != 0) {
        return kExitFailed;
    }
    return kExitSuccess;
}

}  // namespace zelo::core

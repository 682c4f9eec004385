// zelo-termsim: plays a line of simulated terminals for the Zelo tools.
#include <iostream>
#include <string>
#include <vector>

#include "program/command_line.hpp"
#include "program/line_adapter.hpp"
#include "program/state_dump_signal.hpp"
#include "simulated_line.hpp"

using namespace termsim;

namespace {

int reportUsageError(const std::string& message) {
    std::cerr << "zelo-termsim: " << message << "\nTry 'zelo-termsim --help'.\n";
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine commandLine;
    try {
        commandLine = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& error) {
        return reportUsageError(error.what());
    }
    if (commandLine.action == CommandLine::Action::Help) {
        std::cout << usageText();
        return kExitDone;
    }
    if (commandLine.action == CommandLine::Action::Version) {
        std::cout << "zelo-termsim " << TERMSIM_VERSION << "\n";
        return kExitDone;
    }

    const SimulatorConfig& config = commandLine.config;
    std::vector<SimulatedTerminal> terminals;
    for (const auto& terminalConfig : config.terminals) {
        std::string error;
        auto terminal = SimulatedTerminal::create(terminalConfig, error);
        if (!terminal) return reportUsageError(error);
        if (!terminal->prepareFolders(error)) {
            std::cerr << "zelo-termsim: " << error << "\n";
            return kExitFailure;
        }
        terminals.push_back(std::move(*terminal));
    }
    SimulatedLine line(std::move(terminals), config.modem);

    if (commandLine.action == CommandLine::Action::PrintState) {
        std::cout << line.stateJson();
        return kExitDone;
    }
    if (!config.stateDump.empty() && !line.keepStateDumpIn(config.stateDump)) {
        std::cerr << "zelo-termsim: cannot write the state dump " << config.stateDump << "\n";
        return kExitFailure;
    }
    int status = kExitDone;
    {
        StateDumpOnSignal dumpOnSignal(line);
        status = runLine(config.line, line);
    }
    if (!config.stateDump.empty()) line.writeStateDump();
    return status;
}

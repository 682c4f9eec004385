// zelo-termsim: plays a line of simulated terminals for the Zelo tools.
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "program/command_line.hpp"
#include "program/line_adapter.hpp"
#include "program/request_log.hpp"
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
        terminals.push_back(std::move(*terminal));
    }
    // Checking a configuration leaves the disk as it was: the drive folders
    // are made only for a line that runs.
    if (commandLine.action == CommandLine::Action::PrintState) {
        std::cout << SimulatedLine(std::move(terminals), config.modem).stateJson();
        return kExitDone;
    }
    for (const SimulatedTerminal& terminal : terminals) {
        std::string error;
        if (!terminal.prepareFolders(error)) {
            std::cerr << "zelo-termsim: " << error << "\n";
            return kExitFailure;
        }
    }
    SimulatedLine line(std::move(terminals), config.modem);

    std::ofstream logFile;
    if (!config.line.logPath.empty()) {
        logFile.open(config.line.logPath, std::ios::app);
        if (!logFile) {
            std::cerr << "zelo-termsim: cannot write the log " << config.line.logPath << "\n";
            return kExitFailure;
        }
    }
    if (!config.stateDump.empty() && !line.keepStateDumpIn(config.stateDump)) {
        std::cerr << "zelo-termsim: cannot write the state dump " << config.stateDump << "\n";
        return kExitFailure;
    }
    int status = kExitDone;
    {
        StateDumpOnSignal dumpOnSignal(line);
        if (logFile.is_open()) {
            LoggedLine logged(line, logFile, localTimeOfDay);
            status = runLine(config.line, logged);
        } else {
            status = runLine(config.line, line);
        }
    }
    if (!config.stateDump.empty()) line.writeStateDump();
    return status;
}

// The observable state of the simulated line as JSON, so that tests can
// check what each terminal received. Transfer progress is left out on
// purpose: the dump changes when a setting or a file changes, not with
// every packet.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "hayes_modem.hpp"
#include "simulated_terminal.hpp"

namespace termsim {

std::string stateJson(const std::vector<SimulatedTerminal>& terminals, const HayesModem* modem);

// Writes the dump to a file whenever it differs from what was written last,
// through a temporary file so a reader never sees half a dump.
class StateDumpFile {
public:
    explicit StateDumpFile(std::filesystem::path file) : file_(std::move(file)) {}

    const std::filesystem::path& path() const { return file_; }

    // False when the file could not be written.
    bool update(const std::string& json, bool evenIfUnchanged = false);

private:
    std::filesystem::path file_;
    std::string lastWritten_;
};

}  // namespace termsim

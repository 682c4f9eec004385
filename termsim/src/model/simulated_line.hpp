// The line of terminals the simulator plays, as the line side sees it:
// requests go to the terminal that holds the request's address, modem
// command lines to the modem. Safe to call from several threads (the line
// side, and a signal thread asking for a state dump).
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "hayes_modem.hpp"
#include "simulated_terminal.hpp"
#include "state_dump.hpp"
#include "terminal_line.hpp"

namespace termsim {

// The 32 characters a terminal address may be: A to Y, then 0 to 6.
bool isTerminalAddress(char address);

class SimulatedLine : public TerminalLine {
public:
    // Addresses must be distinct (the configuration checks it).
    SimulatedLine(std::vector<SimulatedTerminal> terminals, std::optional<ModemConfig> modem);

    std::optional<pendra::wire::Reply> handle(const pendra::wire::Request& request) override;
    bool hasModem() const override { return modem_ != nullptr; }
    ModemAnswer modemCommand(const std::string& line) override;
    std::optional<std::string> uploadPacketAhead(char address, std::size_t ahead) override;
    std::optional<UploadProgress> uploadProgress(char address) override;
    std::optional<UploadHistory> uploadHistory(char address, std::size_t ahead,
                                               std::size_t most) override;
    std::vector<std::string> pollRecordsAhead(char address, std::size_t most) override;
    std::optional<uint32_t> pollFrontNumber(char address) override;
    void dropPollRecordsThrough(char address, uint32_t number) override;
    std::optional<std::uint64_t> downloadLength(char address) override;
    std::optional<std::string> downloadedBytes(char address) override;

    std::string stateJson() const;

    // From now on the state dump is kept in `file`, rewritten after each
    // request that changed it. False when the first write fails.
    bool keepStateDumpIn(const std::filesystem::path& file);
    // Writes the dump now (at exit, or on request). False on failure or
    // when no file is kept.
    bool writeStateDump();

private:
    SimulatedTerminal* answering(char address);
    pendra::wire::Reply changeAddress(SimulatedTerminal& terminal, char newAddress);
    void dumpIfChanged();

    mutable std::mutex mutex_;
    std::vector<SimulatedTerminal> terminals_;
    std::unique_ptr<HayesModem> modem_;
    std::optional<StateDumpFile> dumpFile_;
};

}  // namespace termsim

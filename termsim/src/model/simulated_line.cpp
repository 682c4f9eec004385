#include "simulated_line.hpp"

#include <algorithm>
#include <string_view>

#include "reply_status.hpp"

namespace termsim {

using pendra::wire::Command;
using pendra::wire::Reply;
using pendra::wire::Request;

bool isTerminalAddress(char address) {
    return (address >= 'A' && address <= 'Y') || (address >= '0' && address <= '6');
}

SimulatedLine::SimulatedLine(std::vector<SimulatedTerminal> terminals,
                             std::optional<ModemConfig> modem)
    : terminals_(std::move(terminals)) {
    if (modem) modem_ = std::make_unique<HayesModem>(std::move(*modem));
}

// The terminal answering to `address`, or null when none does or it is
// switched off. Called with the mutex held.
SimulatedTerminal* SimulatedLine::answering(char address) {
    const auto terminal =
        std::find_if(terminals_.begin(), terminals_.end(),
                     [&](const SimulatedTerminal& t) { return t.address() == address; });
    if (terminal == terminals_.end() || terminal->silent()) return nullptr;
    return &*terminal;
}

std::optional<Reply> SimulatedLine::handle(const Request& request) {
    std::lock_guard lock(mutex_);
    SimulatedTerminal* terminal = answering(request.address);
    if (terminal == nullptr) return std::nullopt;
    std::optional<Reply> reply;
    if (request.command == Command::SetAddress) {
        reply = changeAddress(*terminal, static_cast<char>(request.argument));
    } else {
        reply = terminal->handle(request);
    }
    dumpIfChanged();
    return reply;
}

std::optional<std::string> SimulatedLine::uploadPacketAhead(char address, std::size_t ahead) {
    std::lock_guard lock(mutex_);
    SimulatedTerminal* terminal = answering(address);
    if (terminal == nullptr) return std::nullopt;
    return terminal->uploadPacketAhead(ahead);
}

std::optional<TerminalLine::UploadProgress> SimulatedLine::uploadProgress(char address) {
    std::lock_guard lock(mutex_);
    SimulatedTerminal* terminal = answering(address);
    const UploadSession* upload = terminal == nullptr ? nullptr : terminal->upload();
    if (upload == nullptr) return std::nullopt;
    return UploadProgress{upload->bytes(), upload->position()};
}

std::optional<TerminalLine::UploadHistory> SimulatedLine::uploadHistory(char address,
                                                                        std::size_t ahead,
                                                                        std::size_t most) {
    std::lock_guard lock(mutex_);
    SimulatedTerminal* terminal = answering(address);
    const UploadSession* upload = terminal == nullptr ? nullptr : terminal->upload();
    if (upload == nullptr) return std::nullopt;
    const std::uint64_t at = upload->position() + ahead * UploadSession::kPacketSize;
    if (at < upload->start() || at > upload->size()) return std::nullopt;
    const std::uint64_t from = std::max(upload->start(), at - std::min<std::uint64_t>(at, most));
    return UploadHistory{
        upload->bytes().substr(static_cast<std::size_t>(from), static_cast<std::size_t>(at - from)),
        at - upload->start()};
}

std::vector<std::string> SimulatedLine::pollRecordsAhead(char address, std::size_t most) {
    std::lock_guard lock(mutex_);
    SimulatedTerminal* terminal = answering(address);
    if (terminal == nullptr) return {};
    return terminal->records().front(most);
}

std::optional<uint32_t> SimulatedLine::pollFrontNumber(char address) {
    std::lock_guard lock(mutex_);
    SimulatedTerminal* terminal = answering(address);
    if (terminal == nullptr) return std::nullopt;
    return terminal->frontRecordNumber();
}

void SimulatedLine::dropPollRecordsThrough(char address, uint32_t number) {
    std::lock_guard lock(mutex_);
    if (SimulatedTerminal* terminal = answering(address)) terminal->dropRecordsThrough(number);
    dumpIfChanged();
}

std::optional<std::uint64_t> SimulatedLine::downloadLength(char address) {
    std::lock_guard lock(mutex_);
    SimulatedTerminal* terminal = answering(address);
    const std::string* bytes = terminal == nullptr ? nullptr : terminal->downloadBytes();
    if (bytes == nullptr) return std::nullopt;
    return bytes->size();
}

std::optional<std::string> SimulatedLine::downloadedBytes(char address) {
    std::lock_guard lock(mutex_);
    SimulatedTerminal* terminal = answering(address);
    const std::string* bytes = terminal == nullptr ? nullptr : terminal->downloadBytes();
    if (bytes == nullptr) return std::nullopt;
    return *bytes;
}

// Refused when the new address is not one a terminal may have, or another
// terminal on the line already answers to it.
Reply SimulatedLine::changeAddress(SimulatedTerminal& terminal, char newAddress) {
    if (!isTerminalAddress(newAddress)) return statusReply(status::kRefused);
    const bool taken = std::any_of(terminals_.begin(), terminals_.end(), [&](const auto& other) {
        return &other != &terminal && other.address() == newAddress;
    });
    if (taken) return statusReply(status::kRefused);
    terminal.setAddress(newAddress);
    return statusReply(status::kDone);
}

ModemAnswer SimulatedLine::modemCommand(const std::string& line) {
    std::lock_guard lock(mutex_);
    if (!modem_) return {{"ERROR"}, false, false};
    ModemAnswer answer = modem_->command(line);
    dumpIfChanged();
    return answer;
}

std::string SimulatedLine::stateJson() const {
    std::lock_guard lock(mutex_);
    return termsim::stateJson(terminals_, modem_.get());
}

bool SimulatedLine::keepStateDumpIn(const std::filesystem::path& file) {
    std::lock_guard lock(mutex_);
    dumpFile_.emplace(file);
    return dumpFile_->update(termsim::stateJson(terminals_, modem_.get()), true);
}

bool SimulatedLine::writeStateDump() {
    std::lock_guard lock(mutex_);
    return dumpFile_ && dumpFile_->update(termsim::stateJson(terminals_, modem_.get()), true);
}

void SimulatedLine::dumpIfChanged() {
    if (dumpFile_) dumpFile_->update(termsim::stateJson(terminals_, modem_.get()));
}

}  // namespace termsim

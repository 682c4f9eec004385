#include "headless/console_front_end.hpp"

#include <ostream>
#include <string>

#include "core/terminal_types.hpp"
#include "headless/progress_line.hpp"

namespace zelo::headless {

ConsoleFrontEnd::ConsoleFrontEnd(std::ostream& out, std::ostream& err, std::ostream* pollData)
    : out_(out), err_(err), pollData_(pollData) {}

void ConsoleFrontEnd::AppendToMessageWindow(std::string line) {
    // A terminal's or the modem's text may carry its own line ends ("CONNECT
    // 9600" comes with a LF); the Message Window shows them as nothing, and on
    // standard output they would break one result line into two.
    const bool ended = !line.empty() && line.back() == '\n';
    std::erase_if(line, [](char c) { return c == '\n' || c == '\r'; });
    if (ended) line += '\n';
    if (progressLine_ != nullptr) progressLine_->Finish();
    std::lock_guard lock(mutex_);
    out_ << line << std::flush;
}

void ConsoleFrontEnd::HandlePollRecord(char address, std::string record) {
    if (pollData_ == nullptr) return;
    std::lock_guard lock(mutex_);
    // As the polled-data file holds it: the address, a blank, the record.
    *pollData_ << address << ' ' << record << std::flush;
}

void ConsoleFrontEnd::RefreshProgress(bool erase) {
    (void)erase;
    if (progressLine_ == nullptr) return;
    const link::ProgressState& progress = *progress_;
    // Only while a file goes over the line: packets counted, and the phase
    // not at rest (the transfers leave it so before and after each file).
    if (progress.mode.load() == link::kProgressPolling ||
        progress.phase.load() == link::kPhaseAtRest || progress.packets.load() <= 0) {
        return;
    }
    const int index = progress.currentAddress.load();
    const std::string& addresses = comm_->addresses;
    const char address = index >= 0 && static_cast<std::size_t>(index) < addresses.size()
                             ? addresses[static_cast<std::size_t>(index)]
                             : ' ';
    progressLine_->Update(address, progress.fileName.Get(), progress.bytes.load(),
                          progress.total.load());
}

void ConsoleFrontEnd::WriteError(const std::string& text) {
    if (progressLine_ != nullptr) progressLine_->Finish();
    std::lock_guard lock(mutex_);
    err_ << "zelo32: " << text << '\n' << std::flush;
}

void ConsoleFrontEnd::ShowMessageBox(std::string text) { WriteError(text); }

void ConsoleFrontEnd::ShowMessage(const std::string& text) { WriteError(text); }

void ConsoleFrontEnd::SaveConfiguration() {
    if (save_) save_();
}

void ConsoleFrontEnd::OpenTerminalDialog() { WriteError(core::MissingModelNote()); }

bool ConsoleFrontEnd::AskYesNo(const std::string& text) {
    WriteError(text + " (answered No: nobody to ask)");
    return false;
}

std::optional<core::PickAnswer> ConsoleFrontEnd::PickTerminalFiles(const core::PickRequest&) {
    WriteError("A file choice needs the desktop interface; cancelled.");
    return std::nullopt;
}

std::optional<std::string> ConsoleFrontEnd::ChooseDialNumber(const core::PhoneBook&) {
    WriteError("Dialling needs the phone number as the first part of the command line.");
    return std::nullopt;
}

bool ConsoleFrontEnd::ChooseDateTime(core::TimeSyncRequest&) { return false; }

}  // namespace zelo::headless

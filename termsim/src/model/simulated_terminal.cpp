#include "simulated_terminal.hpp"

#include "reply_status.hpp"

namespace termsim {

using pendra::wire::Command;
using pendra::wire::Reply;
using pendra::wire::Request;

namespace {

// Every request payload is a zero-terminated text on the host. A length that
// counts past the terminator (the fixed-length send-data and send-back
// requests do) brings zeros along, which are not part of the text.
std::string_view textBeforeZero(std::string_view payload) {
    return payload.substr(0, payload.find('\0'));
}

}  // namespace

std::optional<SimulatedTerminal> SimulatedTerminal::create(const TerminalConfig& config,
                                                           std::string& error) {
    if (config.keepRecords) {
        auto kept = PollRecords::load(recordsStateFile(config), config.recordEnd,
                                      config.recordLength, error);
        if (!error.empty()) return std::nullopt;
        // Records kept from an earlier run replace the configured ones,
        // which that run started with.
        if (kept) return SimulatedTerminal(config, std::move(*kept));
    }
    PollRecords records(config.recordEnd, config.recordLength);
    if (!config.recordsFile.empty()) {
        auto loaded =
            PollRecords::fromFile(config.recordsFile, config.recordEnd, error, config.recordLength);
        if (!loaded) return std::nullopt;
        records = std::move(*loaded);
    }
    if (config.generatedRecords > 0) {
        // Made bare: adding them below gives each the configured line end once.
        auto made =
            PollRecords::generated(config.generatedRecords, config.address, RecordEnd::None);
        while (!made.empty()) {
            records.addLine(made.front());
            made.consumeFront();
        }
    }
    return SimulatedTerminal(config, std::move(records));
}

SimulatedTerminal::SimulatedTerminal(const TerminalConfig& config, PollRecords records)
    : config_(config),
      address_(config.address),
      ram_(config.ramFolder),
      flash_(config.flashFolder),
      ems_(config.emsFolder),
      records_(std::move(records)) {
    settings_.programAreaKb = config.programAreaKb;
    settings_.runningProgram = config.runningProgram;
    settings_.autoBootProgram = config.autoBootProgram;
}

std::filesystem::path SimulatedTerminal::recordsStateFile(const TerminalConfig& config) {
    const std::filesystem::path ram = config.ramFolder.lexically_normal();
    const std::filesystem::path folder = ram.has_filename() ? ram : ram.parent_path();
    return folder.parent_path() / (folder.filename().string() + ".poll-records");
}

void SimulatedTerminal::keepRecords() {
    if (config_.keepRecords) records_.save(recordsStateFile(config_));
}

void SimulatedTerminal::dropRecordsThrough(uint32_t number) {
    const uint32_t before = records_.frontNumber();
    records_.dropThrough(number);
    if (records_.frontNumber() != before) keepRecords();
}

bool SimulatedTerminal::prepareFolders(std::string& error) const {
    for (const FileStore* store : {&ram_, &flash_, profile().hasEms ? &ems_ : nullptr}) {
        if (store == nullptr) continue;
        if (store->folder().empty()) {
            error = std::string("terminal ") + address_ + ": a drive has no folder";
            return false;
        }
        if (!store->ensureFolder()) {
            error = std::string("terminal ") + address_ + ": cannot make folder " +
                    store->folder().string();
            return false;
        }
    }
    return true;
}

const FileStore* SimulatedTerminal::storeFor(Drive drive) const {
    switch (drive) {
        case Drive::Ram: return &ram_;
        case Drive::Flash: return &flash_;
        case Drive::Ems: return profile().hasEms ? &ems_ : nullptr;
    }
    return nullptr;
}

std::optional<Reply> SimulatedTerminal::handle(const Request& request) {
    if (config_.silent) return std::nullopt;
    const std::string_view payload = textBeforeZero(request.payload);
    switch (request.command) {
        case Command::Text: return textRequest(payload);
        case Command::Poll: return poll();
        case Command::Ack: return acknowledge();
        case Command::WarmStart: return restart(false);
        case Command::ColdStart: return restart(true);
        case Command::Data: return sendData(payload);
        case Command::Delete: return deleteFile(payload);
        case Command::Execute: return execute(payload);
        case Command::AutoBoot: return autoBoot(payload, false);
        case Command::UploadRequest: return uploadRequest(payload);
        case Command::RunningProgram:
            if (settings_.runningProgram.empty()) return statusReply(status::kNone);
            return textReply(settings_.runningProgram);
        case Command::TerminalId: return terminalId();
        case Command::FileExists: return fileExists(payload);
        case Command::NextPacket: return nextPacket();
        case Command::Keypad: return keypad(request.argument);
        case Command::Buzzer: return buzzer(request.argument);
        case Command::DirFirst: return directoryFirst();
        case Command::DirNext: return directoryNext();
        case Command::SetAddress: break;  // the line's to answer
        case Command::StreamPackets:      // the line side streams (uploadPacketAhead)
        case Command::StreamPacked: break;
        case Command::PollBatch: break;  // the line side batches (pollRecordsAhead)
        case Command::StreamData:        // the line side receives downloads
        case Command::PackedData:
        case Command::CheckedEnd: break;           // (DownloadReceiver)
        case Command::JoinGroup:                   // the line side keeps groups (GroupReceiver),
        case Command::Lacking:                     // and hands these on only when no download
            return statusReply(status::kRefused);  // is open to join or ask about
        case Command::GroupData:
        case Command::GroupPacked: break;
    }
    ++settings_.illegalRequests;
    return statusReply(status::kIllegal);
}

}  // namespace termsim

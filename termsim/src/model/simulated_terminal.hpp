// One simulated terminal: its model, its drives, its settings and what it
// answers to each request the host's link layer sends it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "file_store.hpp"
#include "poll_records.hpp"
#include "terminal_models.hpp"
#include "transfer_sessions.hpp"
#include "wire_message.hpp"

namespace termsim {

// How a terminal starts, from the simulator's configuration.
struct TerminalConfig {
    char address = 'A';
    Model model = Model::Gravo;
    std::filesystem::path ramFolder;
    std::filesystem::path flashFolder;
    std::filesystem::path emsFolder;  // used by models with an EMS drive only
    // Replace the model's texts; an empty text makes the terminal answer
    // "none" to the query.
    std::optional<std::string> idText;
    std::optional<std::string> versionText;
    std::optional<unsigned> ramKb;
    std::optional<unsigned> flashKb;
    std::optional<unsigned> emsKb;
    unsigned programAreaKb = 64;
    std::filesystem::path recordsFile;  // empty: no records from a file
    int generatedRecords = 0;
    RecordEnd recordEnd = RecordEnd::CrLf;
    std::size_t recordLength = PollRecords::kMaxRecordLength;  // longest record sent
    bool silent = false;                                       // never answers: the host times out
    // Keeps the record numbering and the records not yet acknowledged in a
    // file beside the RAM folder (ram.poll-records), so that a restarted
    // simulator goes on where it stopped instead of starting afresh.
    bool keepRecords = false;
    std::string runningProgram;
    std::string autoBootProgram;
};

// Everything a host command can change, so that tests can check what the
// terminal received.
struct TerminalSettings {
    bool powerSaving = true;
    bool uploadMode = false;
    bool kermitMode = false;
    bool upsOff = false;
    int warmStarts = 0;
    int coldStarts = 0;
    std::string clock;  // "YYYYMMDDhhmmss" as last set; empty until set
    std::optional<std::string> password;
    std::string terminalTable;
    std::string commTable;
    std::string deviceTable;
    std::string barcodeTable;
    std::string keypad;  // "0" lock, "1" unlock, "2" partial lock, "A" system keymap
    std::string systemFont;
    std::string buzzerVolume;
    std::string autoBootProgram;
    bool autoBootFromFlash = false;
    std::string runningProgram;
    unsigned programAreaKb = 0;
    std::vector<std::string> dataReceived;  // decoded send-data texts, latest last
    std::vector<std::string> sendBackReceived;
    std::vector<std::string> filesReceived;  // downloads completed, drive-qualified
    std::vector<std::string> filesSent;      // uploads completed
    std::vector<std::string> filesDeleted;
    std::vector<std::string> programsStarted;
    int illegalRequests = 0;
};

// The lists in TerminalSettings keep the latest texts only, so a long run
// cannot grow the state without bound.
inline constexpr std::size_t kRememberedTexts = 64;
void rememberLatest(std::vector<std::string>& list, std::string text);

class SimulatedTerminal {
public:
    // Fails (with `error`) when the poll record file cannot be read.
    static std::optional<SimulatedTerminal> create(const TerminalConfig& config,
                                                   std::string& error);

    char address() const { return address_; }
    void setAddress(char address) { address_ = address; }
    const ModelProfile& profile() const { return profileOf(config_.model); }
    const TerminalConfig& config() const { return config_; }
    const TerminalSettings& settings() const { return settings_; }
    const PollRecords& records() const { return records_; }
    bool silent() const { return config_.silent; }

    // Numbered polling: the number of the front record, and the host's
    // word that it has the records through `number`.
    uint32_t frontRecordNumber() const { return records_.frontNumber(); }
    void dropRecordsThrough(uint32_t number);

    // Makes the drives' folders. False when one cannot be made.
    bool prepareFolders(std::string& error) const;

    // The answer to a request already addressed to this terminal. nullopt
    // when the terminal stays silent. Address changes are the line's (it
    // knows which addresses are taken), not handled here.
    std::optional<pendra::wire::Reply> handle(const pendra::wire::Request& request);

    // The upload packet `ahead` packets past the one the next packet request
    // gets, for sending ahead; empty at the end, nullopt when no upload is
    // open.
    std::optional<std::string> uploadPacketAhead(std::size_t ahead) const;
    const UploadSession* upload() const { return upload_ ? &*upload_ : nullptr; }

    // The bytes of the open download so far; nullptr when none is open.
    const std::string* downloadBytes() const { return download_ ? &download_->bytes() : nullptr; }

private:
    SimulatedTerminal(const TerminalConfig& config, PollRecords records);

    // Queries (terminal_queries.cpp).
    pendra::wire::Reply memorySizes() const;
    pendra::wire::Reply flashSizes() const;
    pendra::wire::Reply flashListing() const;
    pendra::wire::Reply firmwareVersion() const;
    pendra::wire::Reply terminalId() const;
    pendra::wire::Reply fileExists(std::string_view name) const;
    pendra::wire::Reply directoryFirst();
    pendra::wire::Reply directoryNext();
    pendra::wire::Reply setProgramArea(std::string_view digits);

    // Text requests and settings (terminal_commands.cpp).
    pendra::wire::Reply textRequest(std::string_view text);
    pendra::wire::Reply tableRequest(char kind, std::string_view text);
    pendra::wire::Reply setClock(std::string_view text);
    pendra::wire::Reply systemFont(std::string_view kind);
    pendra::wire::Reply sendBack(std::string_view text);
    pendra::wire::Reply sendData(std::string_view escaped);
    pendra::wire::Reply keypad(int code);
    pendra::wire::Reply buzzer(int digit);
    pendra::wire::Reply autoBoot(std::string_view name, bool fromFlash);
    pendra::wire::Reply execute(std::string_view name);
    pendra::wire::Reply deleteFile(std::string_view name);
    pendra::wire::Reply restart(bool cold);

    // Transfers and polling (terminal_transfers.cpp).
    pendra::wire::Reply uploadRequest(std::string_view request);
    pendra::wire::Reply nextPacket();
    pendra::wire::Reply cancelUpload();
    pendra::wire::Reply downloadAnnounce(std::string_view request);
    pendra::wire::Reply downloadPacket(std::string_view escaped);
    pendra::wire::Reply downloadEnd();
    pendra::wire::Reply cancelDownload();
    pendra::wire::Reply poll();
    pendra::wire::Reply acknowledge();

    // Where keepRecords keeps them; saves them there after a change.
    static std::filesystem::path recordsStateFile(const TerminalConfig& config);
    void keepRecords();

    // The drive that holds `file`, or nullptr when this model has none.
    const FileStore* storeFor(Drive drive) const;

    TerminalConfig config_;
    char address_;
    FileStore ram_;
    FileStore flash_;
    FileStore ems_;
    TerminalSettings settings_;
    PollRecords records_;
    std::optional<UploadSession> upload_;
    std::optional<DownloadSession> download_;
    std::vector<std::string> listing_;  // snapshot taken by the first directory request
    std::size_t listingNext_ = 0;
    // What the next acknowledgement applies to.
    enum class Awaiting { Nothing, UploadPacket, PollRecord } awaiting_ = Awaiting::Nothing;
};

}  // namespace termsim

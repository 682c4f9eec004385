// The worker's view of the connection object: each command reaches the one
// operation of CTerminalLink for it. The worker passes the view's records;
// the few arguments the two sides spell differently are put right here.
#include "program/operations_binding.hpp"

namespace zelo::program {
namespace {

using core::CommandLineState;
using core::PollSettings;
using core::TransferLists;
using link::CommSettings;
using link::LinkStatus;
using link::ProgressState;

class BoundOperations : public core::TerminalOperations {
public:
    explicit BoundOperations(core::ViewCore& view) : view_(view), link_(view.Link()) {}

    void RequestStop(int stop) override { link_.RequestStop(stop); }
    int IsStopRequested() const override { return link_.IsStopRequested(); }
    void WaitUntilIdle(const LinkStatus& status) override { link_.WaitUntilIdle(status); }
    void ShowResult(char address, std::string_view label, std::string_view detail,
                    int code) override {
        link_.ShowResult(address, label, detail, code);
    }

    bool Connect(CommSettings& settings, LinkStatus& status) override {
        return link_.Connect(settings, status);
    }
    bool DialModem(CommSettings& settings, LinkStatus& status) override {
        return link_.DialModem(settings, status);
    }
    void Disconnect(int port, LinkStatus& status) override { link_.Disconnect(port, status); }
    void SetPowerSaving(CommSettings& settings, LinkStatus& status, ProgressState& progress,
                        int on) override {
        link_.SetPowerSaving(settings, status, progress, on);
    }
    int SwitchPowerSaving(int on, int libraryFlag, CommSettings& settings, LinkStatus& status,
                          int addressIndex) override {
        return link_.SwitchPowerSaving(on, libraryFlag, settings, status, addressIndex);
    }

    void ColdStart(CommSettings& s, LinkStatus& st, ProgressState& p) override {
        link_.ColdStart(s, st, p);
    }
    void QueryRamSize(CommSettings& s, LinkStatus& st, ProgressState& p) override {
        link_.QueryRamSize(s, st, p);
    }
    void QueryFlashSize(CommSettings& s, LinkStatus& st, ProgressState& p) override {
        link_.QueryFlashSize(s, st, p);
    }
    void GetDirectory(CommSettings& s, LinkStatus& st, TransferLists& lists, ProgressState& p,
                      int flashRom) override {
        link_.GetDirectory(s, st, p, flashRom, lists.directoryTexts);
    }
    void WarmStart(CommSettings& s, LinkStatus& st, ProgressState& p) override {
        link_.WarmStart(s, st, p);
    }
    void SyncTime(CommSettings& s, LinkStatus& st, const core::TimeSyncRequest& request,
                  const CommandLineState& /*commandLine*/, ProgressState& p) override {
        // A command-line run always sends the PC clock; a set time belongs
        // to the date and time dialog of an interactive run.
        core::TimeSyncRequest sent = request;
        if (st.commandLineMode) sent.useSetTime = 0;
        link_.SyncTime(s, st, p, sent);
    }
    void SetBarcodeTable(CommSettings& s, LinkStatus& st, ProgressState& p,
                         const std::string& table) override {
        link_.SetBarcodeTable(s, st, p, table);
    }
    void ChangeAddress(CommSettings& s, LinkStatus& st, ProgressState& p, char from,
                       char to) override {
        link_.ChangeAddress(s, st, p, from, to);
    }
    void GetFirmwareVersion(CommSettings& s, LinkStatus& st, ProgressState& p) override {
        link_.GetFirmwareVersion(s, st, p);
    }
    void GetTerminalId(CommSettings& s, LinkStatus& st, ProgressState& p) override {
        link_.GetTerminalId(s, st, p);
    }
    void CheckFileExists(CommSettings& s, LinkStatus& st, ProgressState& p,
                         const std::string& fileName) override {
        link_.CheckFileExists(s, st, p, fileName);
    }
    void SetUploadMode(CommSettings& s, LinkStatus& st, ProgressState& p) override {
        link_.SetUploadMode(s, st, p);
    }
    void CheckRunningProgram(CommSettings& s, LinkStatus& st, ProgressState& p) override {
        link_.CheckRunningProgram(s, st, p);
    }
    void SetCommParameters(CommSettings& s, LinkStatus& st, int terminalTimeout,
                           const core::CommTableRequest& request, ProgressState& p,
                           int changePcParameters) override {
        core::CommTableRequest sent = request;
        sent.changePcParameters = changePcParameters;
        link_.SetCommParameters(s, st, p, sent, terminalTimeout);
    }
    void SetBeeperVolume(CommSettings& s, LinkStatus& st, ProgressState& p, int level) override {
        link_.SetBeeperVolume(s, st, p, level);
    }
    void SetDeviceTable(CommSettings& s, LinkStatus& st, ProgressState& p,
                        const std::string& table) override {
        link_.SetDeviceTable(s, st, p, table);
    }
    void SetKeypad(CommSettings& s, LinkStatus& st, ProgressState& p, int mode) override {
        link_.SetKeypad(s, st, p, mode);
    }
    void SetUpsOff(CommSettings& s, LinkStatus& st, ProgressState& p) override {
        link_.SetUpsOff(s, st, p);
    }
    void SendData(CommSettings& s, LinkStatus& st, ProgressState& p,
                  const std::string& text) override {
        link_.SendData(s, st, p, text);
    }
    void SetPassword(CommSettings& s, LinkStatus& st, ProgressState& p,
                     const std::string& password) override {
        link_.SetPassword(s, st, p, password);
    }
    void RestoreSystemFont(CommSettings& s, LinkStatus& st, ProgressState& p, int kind) override {
        link_.RestoreSystemFont(s, st, p, kind);
    }
    void SetExecAreaSize(CommSettings& s, LinkStatus& st, ProgressState& p,
                         const std::string& sizeText) override {
        link_.SetExecAreaSize(s, st, p, sizeText);
    }
    void SetAutoBoot(CommSettings& s, LinkStatus& st, TransferLists& /*lists*/, ProgressState& p,
                     char address, int allAddresses, int flashRom,
                     const std::string& programName) override {
        link_.SetAutoBoot(s, st, p, programName, address, allAddresses, flashRom);
    }
    void RunProgram(CommSettings& s, LinkStatus& st, TransferLists& /*lists*/,
                    const CommandLineState& /*commandLine*/, ProgressState& p, char address,
                    int allAddresses, int flashRom, const std::string& programName) override {
        link_.RunProgram(s, st, p, programName, address, allAddresses, flashRom);
    }
    void SendLantaTable(CommSettings& s, LinkStatus& st, TransferLists& /*lists*/, ProgressState& p,
                        const std::string& lantaRecord) override {
        link_.SendLantaTable(s, st, p, lantaRecord);
    }
    void ExecuteKermit(CommSettings& s, LinkStatus& st, ProgressState& p) override {
        link_.ExecuteKermit(s, st, p);
    }
    void LineTest(CommSettings& /*settings*/, LinkStatus& status) override {
        link_.LineTest(status);
    }

    // The polling run's file and its last-record times belong to the view,
    // so that a later run can close what a stopped one left open.
    void Poll(CommSettings& s, LinkStatus& st, PollSettings& poll, ProgressState& p) override {
        link_.Poll(s, st, poll, view_.State().pollContext, p);
    }
    int SyncTimeAll(CommSettings& s, LinkStatus& st, ProgressState& p) override {
        return link_.SyncTimeAll(s, st, p);
    }

    void DownloadSelectedFiles(CommSettings& s, LinkStatus& st, TransferLists& lists,
                               ProgressState& p, int ems) override {
        link_.DownloadSelectedFiles(s, st, p, lists, ems);
    }
    void DownloadFileList(CommSettings& s, LinkStatus& st, TransferLists& lists,
                          const CommandLineState& /*commandLine*/, ProgressState& p,
                          int ems) override {
        link_.DownloadFileList(s, st, p, lists, ems);
    }
    void DownloadByCommandLine(CommSettings& s, LinkStatus& st, TransferLists& /*lists*/,
                               const CommandLineState& commandLine, ProgressState& p) override {
        link_.DownloadByCommandLine(s, st, p, commandLine);
    }
    void UploadSelectedFiles(CommSettings& s, LinkStatus& st, TransferLists& lists,
                             ProgressState& p) override {
        link_.UploadSelectedFiles(s, st, p, lists);
    }
    void UploadFileList(CommSettings& s, LinkStatus& st, TransferLists& lists,
                        const CommandLineState& /*commandLine*/, ProgressState& p,
                        int ems) override {
        link_.UploadFileList(s, st, p, lists, ems);
    }
    void UploadByCommandLine(CommSettings& s, LinkStatus& st, TransferLists& /*lists*/,
                             const CommandLineState& commandLine, ProgressState& p) override {
        link_.UploadByCommandLine(s, st, p, commandLine);
    }
    void PurgeFiles(CommSettings& s, LinkStatus& st, TransferLists& lists,
                    const CommandLineState& /*commandLine*/, ProgressState& p, char address,
                    int allAddresses) override {
        link_.PurgeFiles(s, st, p, lists, address, allAddresses);
    }

private:
    core::ViewCore& view_;
    core::CViewTerminalLink& link_;
};

}  // namespace

std::unique_ptr<core::TerminalOperations> BindTerminalLink(core::ViewCore& view) {
    return std::make_unique<BoundOperations>(view);
}

}  // namespace zelo::program

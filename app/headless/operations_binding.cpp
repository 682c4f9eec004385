// Until the connection object's operations are linked in, the program runs
// every command-line form up to opening the line, which it reports as not
// possible. BindTerminalOperations is the one place that changes when they
// are.
#include "headless/operations_binding.hpp"

namespace zelo::headless {
namespace {

using link::CommSettings;
using link::LinkStatus;
using link::ProgressState;

class OperationsNotLinked : public core::TerminalOperations {
public:
    explicit OperationsNotLinked(core::ViewCore& view) : link_(view.Link()) {}

    void RequestStop(int stop) override { link_.RequestStop(stop); }
    int IsStopRequested() const override { return link_.IsStopRequested(); }
    void WaitUntilIdle(const LinkStatus& status) override { link_.WaitUntilIdle(status); }
    void ShowResult(char address, std::string_view label, std::string_view detail,
                    int code) override {
        link_.ShowResult(address, label, detail, code);
    }
    bool Connect(CommSettings&, LinkStatus&) override {
        link_.ShowResult(' ', "Open line", "the terminal operations are not linked in", 1);
        return false;
    }
    bool DialModem(CommSettings&, LinkStatus&) override { return false; }
    void Disconnect(int, LinkStatus& status) override { status.connected = 0; }
    // Unreachable while Connect fails.
    void SetPowerSaving(CommSettings&, LinkStatus&, ProgressState&, int) override {}
    int SwitchPowerSaving(int, int, CommSettings&, LinkStatus&, int) override { return 1; }
    void ColdStart(CommSettings&, LinkStatus&, ProgressState&) override {}
    void QueryRamSize(CommSettings&, LinkStatus&, ProgressState&) override {}
    void QueryFlashSize(CommSettings&, LinkStatus&, ProgressState&) override {}
    void GetDirectory(CommSettings&, LinkStatus&, core::TransferLists&, ProgressState&,
                      int) override {}
    void WarmStart(CommSettings&, LinkStatus&, ProgressState&) override {}
    void SyncTime(CommSettings&, LinkStatus&, const core::TimeSyncRequest&,
                  const core::CommandLineState&, ProgressState&) override {}
    void SetBarcodeTable(CommSettings&, LinkStatus&, ProgressState&, const std::string&) override {}
    void ChangeAddress(CommSettings&, LinkStatus&, ProgressState&, char, char) override {}
    void GetFirmwareVersion(CommSettings&, LinkStatus&, ProgressState&) override {}
    void GetTerminalId(CommSettings&, LinkStatus&, ProgressState&) override {}
    void CheckFileExists(CommSettings&, LinkStatus&, ProgressState&, const std::string&) override {}
    void SetUploadMode(CommSettings&, LinkStatus&, ProgressState&) override {}
    void CheckRunningProgram(CommSettings&, LinkStatus&, ProgressState&) override {}
    void SetCommParameters(CommSettings&, LinkStatus&, int, const core::CommTableRequest&,
                           ProgressState&, int) override {}
    void SetBeeperVolume(CommSettings&, LinkStatus&, ProgressState&, int) override {}
    void SetDeviceTable(CommSettings&, LinkStatus&, ProgressState&, const std::string&) override {}
    void SetKeypad(CommSettings&, LinkStatus&, ProgressState&, int) override {}
    void SetUpsOff(CommSettings&, LinkStatus&, ProgressState&) override {}
    void SendData(CommSettings&, LinkStatus&, ProgressState&, const std::string&) override {}
    void SetPassword(CommSettings&, LinkStatus&, ProgressState&, const std::string&) override {}
    void RestoreSystemFont(CommSettings&, LinkStatus&, ProgressState&, int) override {}
    void SetExecAreaSize(CommSettings&, LinkStatus&, ProgressState&, const std::string&) override {}
    void SetAutoBoot(CommSettings&, LinkStatus&, core::TransferLists&, ProgressState&, char, int,
                     int, const std::string&) override {}
    void RunProgram(CommSettings&, LinkStatus&, core::TransferLists&, const core::CommandLineState&,
                    ProgressState&, char, int, int, const std::string&) override {}
    void SendLantaTable(CommSettings&, LinkStatus&, core::TransferLists&, ProgressState&,
                        const std::string&) override {}
    void ExecuteKermit(CommSettings&, LinkStatus&, ProgressState&) override {}
    void LineTest(CommSettings&, LinkStatus&) override {}
    void Poll(CommSettings&, LinkStatus&, core::PollSettings&, ProgressState&) override {}
    int SyncTimeAll(CommSettings&, LinkStatus&, ProgressState&) override { return 1; }
    void DownloadSelectedFiles(CommSettings&, LinkStatus&, core::TransferLists&, ProgressState&,
                               int) override {}
    void DownloadFileList(CommSettings&, LinkStatus&, core::TransferLists&,
                          const core::CommandLineState&, ProgressState&, int) override {}
    void DownloadByCommandLine(CommSettings&, LinkStatus&, core::TransferLists&,
                               const core::CommandLineState&, ProgressState&) override {}
    void UploadSelectedFiles(CommSettings&, LinkStatus&, core::TransferLists&,
                             ProgressState&) override {}
    void UploadFileList(CommSettings&, LinkStatus&, core::TransferLists&,
                        const core::CommandLineState&, ProgressState&, int) override {}
    void UploadByCommandLine(CommSettings&, LinkStatus&, core::TransferLists&,
                             const core::CommandLineState&, ProgressState&) override {}
    void PurgeFiles(CommSettings&, LinkStatus&, core::TransferLists&, const core::CommandLineState&,
                    ProgressState&, char, int) override {}

private:
    core::CViewTerminalLink& link_;
};

}  // namespace

std::unique_ptr<core::TerminalOperations> BindTerminalOperations(core::ViewCore& view) {
    return std::make_unique<OperationsNotLinked>(view);
}

}  // namespace zelo::headless

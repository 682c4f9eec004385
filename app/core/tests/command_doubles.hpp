#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/command_worker.hpp"
#include "core/terminal_operations.hpp"
#include "core/user_interface.hpp"
#include "core/view_controller.hpp"
#include "core/view_core.hpp"
#include "test_support.hpp"

namespace zelo::core::testing {

// One ordered record of what the operations and the user were asked, from
// either thread.
class EventLog {
public:
    void Add(std::string event) {
        std::lock_guard lock(mutex_);
        events_.push_back(std::move(event));
    }
    std::vector<std::string> Events() const {
        std::lock_guard lock(mutex_);
        return events_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> events_;
};

// Waits, within a generous bound, until `ready` says so.
template <typename Ready>
bool WaitFor(Ready ready) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!ready()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// The connection object's operations, scripted: each call is logged with
// the arguments that matter, loops mark the link busy as the real ones do,
// and the operation named in blockIn runs until it is stopped.
class ScriptedOperations : public TerminalOperations {
public:
    explicit ScriptedOperations(EventLog& log) : log_(log) {}

    bool connectSucceeds = true;
    int baudFoundOnConnect = -1;  // >= 0: Connect "finds" this speed and reports it
    std::function<void()> onSettingsChanged;
    std::string blockIn;  // the operation that runs until Stop
    std::atomic<int> blocking{0};
    // The operation named in pauseIn halts once, at the point pauseAt names,
    // until the test sets resume; `paused` says it has got there. This
    // places a Stop exactly between two steps of the worker.
    enum class PauseAt {
        kBeforeMarkedRunning,  // called, but idle still 1
        kAfterItsLoop,         // its loop over, idle back at 1
    };
    std::string pauseIn;
    PauseAt pauseAt = PauseAt::kBeforeMarkedRunning;
    std::atomic<int> paused{0};
    std::atomic<int> resume{0};

    void RequestStop(int stop) override { stop_ = stop; }
    int IsStopRequested() const override { return stop_.load(); }
    void WaitUntilIdle(const link::LinkStatus& status) override {
        log_.Add("WaitUntilIdle");
        link::CTerminalLink::WaitUntilIdle(status);
    }
    void ShowResult(char address, std::string_view label, std::string_view detail,
                    int code) override {
        log_.Add("Line " + std::string(1, address) + "|" + std::string(label) + "|" +
                 std::string(detail) + "|" + std::to_string(code));
    }

    bool Connect(link::CommSettings& s, link::LinkStatus& status) override {
        log_.Add("Connect " + s.addresses + (s.dialNumber.empty() ? "" : " dial " + s.dialNumber));
        if (!connectSucceeds) return false;
        status.connected = 1;
        if (baudFoundOnConnect >= 0) {
            s.baudIndex = baudFoundOnConnect;
            if (onSettingsChanged) onSettingsChanged();
        }
        return true;
    }
    bool DialModem(link::CommSettings&, link::LinkStatus&) override { return Call("DialModem"); }
    void Disconnect(int port, link::LinkStatus& status) override {
        log_.Add("Disconnect " + std::to_string(port));
        status.connected = 0;
    }
    void SetPowerSaving(link::CommSettings& s, link::LinkStatus& st, link::ProgressState&,
                        int on) override {
        Loop(st, "SetPowerSaving " + s.addresses + " " + std::to_string(on));
    }
    int SwitchPowerSaving(int, int, link::CommSettings&, link::LinkStatus&, int) override {
        return Call("SwitchPowerSaving") ? 0 : 1;
    }
    void ColdStart(link::CommSettings& s, link::LinkStatus& st, link::ProgressState&) override {
        Loop(st, "ColdStart " + s.addresses);
    }
    void QueryRamSize(link::CommSettings& s, link::LinkStatus& st, link::ProgressState&) override {
        Loop(st, "QueryRamSize " + s.addresses);
    }
    void QueryFlashSize(link::CommSettings& s, link::LinkStatus& st,
                        link::ProgressState&) override {
        Loop(st, "QueryFlashSize " + s.addresses);
    }
    void GetDirectory(link::CommSettings& s, link::LinkStatus& st, TransferLists& lists,
                      link::ProgressState&, int flashRom) override {
        for (std::size_t i = 0; i < s.addresses.size(); ++i) {
            lists.directoryTexts[i] = "DIR" + std::string(1, s.addresses[i]);
        }
        Loop(st, "GetDirectory " + s.addresses + " " + std::to_string(flashRom));
    }
    void WarmStart(link::CommSettings& s, link::LinkStatus& st, link::ProgressState&) override {
        Loop(st, "WarmStart " + s.addresses);
    }
    void SyncTime(link::CommSettings& s, link::LinkStatus& st, const TimeSyncRequest& r,
                  const CommandLineState&, link::ProgressState&) override {
        Loop(st, "SyncTime " + s.addresses + " set " + std::to_string(r.useSetTime));
    }
    void SetBarcodeTable(link::CommSettings&, link::LinkStatus& st, link::ProgressState&,
                         const std::string& t) override {
        Loop(st, "SetBarcodeTable " + t);
    }
    void ChangeAddress(link::CommSettings&, link::LinkStatus& st, link::ProgressState&, char from,
                       char to) override {
        Loop(st, std::string("ChangeAddress ") + from + to);
    }
    void GetFirmwareVersion(link::CommSettings&, link::LinkStatus& st,
                            link::ProgressState&) override {
        Loop(st, "GetFirmwareVersion");
    }
    void GetTerminalId(link::CommSettings&, link::LinkStatus& st, link::ProgressState&) override {
        Loop(st, "GetTerminalId");
    }
    void CheckFileExists(link::CommSettings&, link::LinkStatus& st, link::ProgressState&,
                         const std::string& name) override {
        Loop(st, "CheckFileExists " + name);
    }
    void SetUploadMode(link::CommSettings&, link::LinkStatus& st, link::ProgressState&) override {
        Loop(st, "SetUploadMode");
    }
    void CheckRunningProgram(link::CommSettings&, link::LinkStatus& st,
                             link::ProgressState&) override {
        Loop(st, "CheckRunningProgram");
    }
    void SetCommParameters(link::CommSettings&, link::LinkStatus& st, int timeout,
                           const CommTableRequest& r, link::ProgressState&, int change) override {
        Loop(st, "SetCommParameters " + std::to_string(timeout) + " " +
                     std::to_string(r.baudIndex) + " " + std::to_string(change));
    }
    void SetBeeperVolume(link::CommSettings&, link::LinkStatus& st, link::ProgressState&,
                         int level) override {
        Loop(st, "SetBeeperVolume " + std::to_string(level));
    }
    void SetDeviceTable(link::CommSettings&, link::LinkStatus& st, link::ProgressState&,
                        const std::string& t) override {
        Loop(st, "SetDeviceTable " + t);
    }
    void SetKeypad(link::CommSettings&, link::LinkStatus& st, link::ProgressState&,
                   int mode) override {
        Loop(st, "SetKeypad " + std::string(1, static_cast<char>(mode)));
    }
    void SetUpsOff(link::CommSettings&, link::LinkStatus& st, link::ProgressState&) override {
        Loop(st, "SetUpsOff");
    }
    void SendData(link::CommSettings&, link::LinkStatus& st, link::ProgressState&,
                  const std::string& t) override {
        Loop(st, "SendData " + t);
    }
    void SetPassword(link::CommSettings&, link::LinkStatus& st, link::ProgressState&,
                     const std::string& t) override {
        Loop(st, "SetPassword " + t);
    }
    void RestoreSystemFont(link::CommSettings&, link::LinkStatus& st, link::ProgressState&,
                           int kind) override {
        Loop(st, "RestoreSystemFont " + std::string(1, static_cast<char>(kind)));
    }
    void SetExecAreaSize(link::CommSettings&, link::LinkStatus& st, link::ProgressState&,
                         const std::string& t) override {
        Loop(st, "SetExecAreaSize " + t);
    }
    void SetAutoBoot(link::CommSettings&, link::LinkStatus& st, TransferLists&,
                     link::ProgressState&, char address, int all, int flashRom,
                     const std::string& name) override {
        Loop(st, "SetAutoBoot " + std::string(1, address) + " all " + std::to_string(all) +
                     " rom " + std::to_string(flashRom) + " " + name);
    }
    void RunProgram(link::CommSettings& s, link::LinkStatus& st, TransferLists&,
                    const CommandLineState&, link::ProgressState&, char address, int all,
                    int flashRom, const std::string& name) override {
        Loop(st, "RunProgram " + s.addresses + " " + std::string(1, address) + " all " +
                     std::to_string(all) + " rom " + std::to_string(flashRom) + " " + name);
    }
    void SendLantaTable(link::CommSettings&, link::LinkStatus& st, TransferLists&,
                        link::ProgressState&, const std::string& record) override {
        Loop(st, "SendLantaTable " + record);
    }
    void ExecuteKermit(link::CommSettings&, link::LinkStatus& st, link::ProgressState&) override {
        Loop(st, "ExecuteKermit");
    }
    void LineTest(link::CommSettings&, link::LinkStatus& st) override { Loop(st, "LineTest"); }
    void Poll(link::CommSettings& s, link::LinkStatus& st, PollSettings& poll,
              link::ProgressState&) override {
        Loop(st, "Poll " + s.addresses + " " + poll.pollFileName);
    }
    int SyncTimeAll(link::CommSettings&, link::LinkStatus&, link::ProgressState&) override {
        return Call("SyncTimeAll") ? 1 : 0;
    }
    void DownloadSelectedFiles(link::CommSettings&, link::LinkStatus& st, TransferLists& lists,
                               link::ProgressState&, int ems) override {
        Loop(st,
             "DownloadSelectedFiles " + Joined(lists.pickedFiles) + " ems " + std::to_string(ems));
    }
    void DownloadFileList(link::CommSettings&, link::LinkStatus& st, TransferLists&,
                          const CommandLineState&, link::ProgressState&, int ems) override {
        Loop(st, "DownloadFileList ems " + std::to_string(ems));
    }
    void DownloadByCommandLine(link::CommSettings& s, link::LinkStatus& st, TransferLists&,
                               const CommandLineState& cl, link::ProgressState&) override {
        Loop(st, "DownloadByCommandLine " + s.addresses + " " + Tokens(cl));
    }
    void UploadSelectedFiles(link::CommSettings&, link::LinkStatus& st, TransferLists& lists,
                             link::ProgressState&) override {
        Loop(st, "UploadSelectedFiles " + Joined(lists.pickedFiles));
    }
    void UploadFileList(link::CommSettings&, link::LinkStatus& st, TransferLists&,
                        const CommandLineState&, link::ProgressState&, int ems) override {
        Loop(st, "UploadFileList ems " + std::to_string(ems));
    }
    void UploadByCommandLine(link::CommSettings& s, link::LinkStatus& st, TransferLists&,
                             const CommandLineState& cl, link::ProgressState&) override {
        Loop(st, "UploadByCommandLine " + s.addresses + " " + Tokens(cl));
    }
    void PurgeFiles(link::CommSettings& s, link::LinkStatus& st, TransferLists& lists,
                    const CommandLineState&, link::ProgressState&, char address, int all) override {
        Loop(st, "PurgeFiles " + s.addresses + " " + std::string(1, address) + " all " +
                     std::to_string(all) + " " + lists.deleteFileName + " [" +
                     Joined(lists.pickedFiles) + "]");
    }

private:
    static std::string Joined(const std::vector<std::string>& names) {
        std::string text;
        for (const auto& n : names) text += (text.empty() ? "" : ",") + n;
        return text;
    }
    static std::string Tokens(const CommandLineState& cl) {
        std::string text;
        for (int i = 0; i < cl.tokenCount; ++i) text += (i == 0 ? "" : ",") + cl.tokens[i];
        return text;
    }
    bool Call(const std::string& what) {
        log_.Add(what);
        return true;
    }
    // An operation's loop: busy while it runs; the blocking one runs until
    // the stop flag is set, as a long transfer or poll does.
    // A stopped loop ends as the connection object's do: it waits until Stop
    // has marked the link idle and leaves idle alone.
    void Loop(link::LinkStatus& status, const std::string& what) {
        log_.Add(what);
        const bool pauses = !pauseIn.empty() && what.rfind(pauseIn, 0) == 0;
        if (pauses && pauseAt == PauseAt::kBeforeMarkedRunning) Pause();
        status.idle = 0;
        if (!blockIn.empty() && what.rfind(blockIn, 0) == 0) {
            blocking = 1;
            while (stop_.load() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            blocking = 0;
        }
        if (stop_.load() != 0) {
            link::CTerminalLink::WaitUntilIdle(status);
            return;
        }
        status.idle = 1;
        if (pauses && pauseAt == PauseAt::kAfterItsLoop) Pause();
    }
    void Pause() {
        paused = 1;
        while (resume.load() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    EventLog& log_;
    std::atomic<int> stop_{0};
};

// The user, answering from a script: Yes/No answers, choices, a dial
// number, a date-and-time OK.
class ScriptedUi : public UserInterface {
public:
    explicit ScriptedUi(EventLog& log) : log_(log) {}

    std::deque<bool> yesNo;
    std::deque<std::optional<PickAnswer>> picks;
    std::optional<std::string> dialNumber;
    bool dateTimeOk = true;

    void ShowMessage(const std::string& text) override { log_.Add("Box " + text); }
    bool AskYesNo(const std::string& text) override {
        log_.Add("Ask " + text);
        if (yesNo.empty()) return false;
        const bool answer = yesNo.front();
        yesNo.pop_front();
        return answer;
    }
    std::optional<PickAnswer> PickTerminalFiles(const PickRequest& request) override {
        std::string listings;
        for (std::size_t i = 0; i < request.addresses.size(); ++i) {
            listings += (*request.listings)[i];
        }
        log_.Add("Pick " + request.title + "|" + request.addresses + "|" + listings);
        if (picks.empty()) return std::nullopt;
        auto answer = picks.front();
        picks.pop_front();
        return answer;
    }
    std::optional<std::string> ChooseDialNumber(const PhoneBook&) override {
        log_.Add("Dial dialog");
        return dialNumber;
    }
    bool ChooseDateTime(TimeSyncRequest&) override {
        log_.Add("Date dialog");
        return dateTimeOk;
    }

private:
    EventLog& log_;
};

// The program started in a folder of the test's choosing.
class StartedInFolder : public FixedClockPlatform {
public:
    explicit StartedInFolder(std::string directory) : directory_(std::move(directory)) {}
    std::string CurrentDirectory() override { return directory_ + "/"; }

private:
    std::string directory_;
};

// The scripted operations with the connection object's reports, through the
// view as the real ones go: a warm start's result line per address (terminal
// B does not answer), and a poll whose data file cannot be opened when told.
class ReportingOperations : public ScriptedOperations {
public:
    ReportingOperations(EventLog& log, ViewCore& view) : ScriptedOperations(log), view_(view) {}
    bool pollFileFails = false;

    void ShowResult(char address, std::string_view label, std::string_view detail,
                    int code) override {
        view_.Link().ShowResult(address, label, detail, code);
    }
    void WarmStart(link::CommSettings& s, link::LinkStatus& st, link::ProgressState& p) override {
        ScriptedOperations::WarmStart(s, st, p);
        for (char address : s.addresses)
            ShowResult(address, "Warm Start", "", address == 'B' ? 4 : 0);
    }
    void Poll(link::CommSettings& s, link::LinkStatus& st, PollSettings& poll,
              link::ProgressState& p) override {
        if (pollFileFails) {
            view_.Link().ShowMessageBox("Poll Data file open error");
            return;
        }
        ScriptedOperations::Poll(s, st, poll, p);
    }

private:
    ViewCore& view_;
};

// A view whose saves go to the core, as a front-end's do.
class SavingView : public RecordingView {
public:
    void SaveConfiguration() override {
        RecordingView::SaveConfiguration();
        if (core != nullptr) core->SaveConfiguration();
    }
    ViewCore* core = nullptr;
};

// The program's view with scripted operations and user, started in a fresh
// folder that holds `ini` as Zelocom.ini.
struct ScriptedProgram {
    explicit ScriptedProgram(const std::string& ini)
        : platform(dir.Text()),
          core(platform, view),
          ops(log),
          ui(log),
          worker(core, ops, ui),
          controller(core, worker, ui) {
        WriteAll(dir.File("Zelocom.ini"), ini);
        view.core = &core;
        ops.onSettingsChanged = [this] { view.SaveConfiguration(); };
    }
    CommandLineResult Start(const std::string& commandLine) {
        return controller.StartUp(commandLine);
    }
    std::vector<std::string> Events() const { return log.Events(); }
    std::string Ini() const { return ReadAll(dir.File("Zelocom.ini")); }

    test_support::TemporaryFolder dir;
    StartedInFolder platform;
    SavingView view;
    ViewCore core;
    EventLog log;
    ScriptedOperations ops;
    ScriptedUi ui;
    CommandWorker worker;
    ViewController controller;
};

inline constexpr const char* kIniAB =
    "[Communication]\r\nAddress=AB\r\nTerminal_type=Gravo/Halda\r\n"
    "[COMMAND_LINE]\r\nAUTO_EXIT=Yes\r\n";

}  // namespace zelo::core::testing

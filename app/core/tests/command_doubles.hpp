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
#include "core/program_controller.hpp"
#include "core/program_model.hpp"
#include "core/user_interface.hpp"
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

// The terminal operations, scripted: each call is logged with the arguments
// that matter, loops mark the link busy as the real ones do, and the
// operation named in blockIn runs until it is stopped.
class ScriptedOperations : public link::TerminalOperations {
public:
    using Context = link::OperationContext;
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

    void RequestStop() override { stop_ = true; }
    void ClearStop() override { stop_ = false; }
    bool IsStopRequested() const override { return stop_.load(); }
    void WaitUntilIdle(const link::LinkStatus& status) override {
        log_.Add("WaitUntilIdle");
        link::WaitForIdle(status);
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
    void Disconnect(int port, link::LinkStatus& status) override {
        log_.Add("Disconnect " + std::to_string(port));
        status.connected = 0;
    }
    void LineTest(link::LinkStatus& st) override { Loop(st, "LineTest"); }

    void ColdStart(const Context& c) override { Loop(c, "ColdStart " + c.settings.addresses); }
    void WarmStart(const Context& c) override { Loop(c, "WarmStart " + c.settings.addresses); }
    void SetPowerSaving(const Context& c, bool on) override {
        Loop(c, "SetPowerSaving " + c.settings.addresses + " " + std::to_string(on));
    }
    void SetBarcodeTable(const Context& c, const std::string& t) override {
        Loop(c, "SetBarcodeTable " + t);
    }
    void SetUploadMode(const Context& c) override { Loop(c, "SetUploadMode"); }
    void SetBeeperVolume(const Context& c, int level) override {
        Loop(c, "SetBeeperVolume " + std::to_string(level));
    }
    void SetDeviceTable(const Context& c, const std::string& t) override {
        Loop(c, "SetDeviceTable " + t);
    }
    void SetKeypad(const Context& c, int mode) override {
        Loop(c, "SetKeypad " + std::string(1, static_cast<char>(mode)));
    }
    void SetUpsOff(const Context& c) override { Loop(c, "SetUpsOff"); }
    void SendData(const Context& c, const std::string& t) override { Loop(c, "SendData " + t); }
    void SetPassword(const Context& c, const std::string& t) override {
        Loop(c, "SetPassword " + t);
    }
    void RestoreSystemFont(const Context& c, int kind) override {
        Loop(c, "RestoreSystemFont " + std::string(1, static_cast<char>(kind)));
    }
    void SetExecAreaSize(const Context& c, const std::string& t) override {
        Loop(c, "SetExecAreaSize " + t);
    }
    void SendLantaTable(const Context& c, const std::string& record) override {
        Loop(c, "SendLantaTable " + record);
    }
    void ExecuteKermit(const Context& c) override { Loop(c, "ExecuteKermit"); }

    void QueryRamSize(const Context& c) override {
        Loop(c, "QueryRamSize " + c.settings.addresses);
    }
    void QueryFlashSize(const Context& c) override {
        Loop(c, "QueryFlashSize " + c.settings.addresses);
    }
    void GetDirectory(const Context& c, link::Disk disk, link::DirectoryTexts& texts) override {
        const std::string& addresses = c.settings.addresses;
        for (std::size_t i = 0; i < addresses.size(); ++i) {
            texts[i] = "DIR" + std::string(1, addresses[i]);
        }
        Loop(c, "GetDirectory " + addresses + " " + DiskNumber(disk));
    }
    void GetFirmwareVersion(const Context& c) override { Loop(c, "GetFirmwareVersion"); }
    void GetTerminalId(const Context& c) override { Loop(c, "GetTerminalId"); }
    void CheckFileExists(const Context& c, const std::string& name) override {
        Loop(c, "CheckFileExists " + name);
    }
    void CheckRunningProgram(const Context& c) override { Loop(c, "CheckRunningProgram"); }

    void ChangeAddress(const Context& c, char from, char to) override {
        Loop(c, std::string("ChangeAddress ") + from + to);
    }
    void SetCommParameters(const Context& c, const CommTableRequest& r, int timeout) override {
        Loop(c, "SetCommParameters " + std::to_string(timeout) + " " + std::to_string(r.baudIndex) +
                    " " + std::to_string(r.changePcParameters));
    }
    void SyncTime(const Context& c, TimeSyncRequest& r) override {
        Loop(c, "SyncTime " + c.settings.addresses + " set " + std::to_string(r.useSetTime));
    }
    void SetAutoBoot(const Context& c, const std::string& name, char address, bool all,
                     link::Disk disk) override {
        Loop(c, "SetAutoBoot " + std::string(1, address) + " all " + std::to_string(all) + " rom " +
                    DiskNumber(disk) + " " + name);
    }
    void RunProgram(const Context& c, const std::string& name, char address, bool all,
                    link::Disk disk) override {
        Loop(c, "RunProgram " + c.settings.addresses + " " + std::string(1, address) + " all " +
                    std::to_string(all) + " rom " + DiskNumber(disk) + " " + name);
    }

    void Poll(const Context& c, PollSettings& poll, link::PollContext&) override {
        Loop(c, "Poll " + c.settings.addresses + " " + poll.pollFileName);
    }

    void DownloadSelectedFiles(const Context& c, const TransferLists& lists, bool ems) override {
        Loop(c,
             "DownloadSelectedFiles " + Joined(lists.pickedFiles) + " ems " + std::to_string(ems));
    }
    void DownloadFileList(const Context& c, const TransferLists&, bool ems) override {
        Loop(c, "DownloadFileList ems " + std::to_string(ems));
    }
    void DownloadByCommandLine(const Context& c, const TransferLists&,
                               const CommandLineState& cl) override {
        Loop(c, "DownloadByCommandLine " + c.settings.addresses + " " + Tokens(cl));
    }
    void UploadSelectedFiles(const Context& c, const TransferLists& lists) override {
        Loop(c, "UploadSelectedFiles " + Joined(lists.pickedFiles));
    }
    void UploadFileList(const Context& c, const TransferLists&, bool ems) override {
        Loop(c, "UploadFileList ems " + std::to_string(ems));
    }
    void UploadByCommandLine(const Context& c, const CommandLineState& cl) override {
        Loop(c, "UploadByCommandLine " + c.settings.addresses + " " + Tokens(cl));
    }
    void PurgeFiles(const Context& c, const TransferLists& lists, char address, bool all) override {
        Loop(c, "PurgeFiles " + c.settings.addresses + " " + std::string(1, address) + " all " +
                    std::to_string(all) + " " + lists.deleteFileName + " [" +
                    Joined(lists.pickedFiles) + "]");
    }

private:
    // The disk as the events name it: 0 RAM disk, 1 flash ROM.
    static std::string DiskNumber(link::Disk disk) {
        return std::to_string(static_cast<int>(disk));
    }
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
    // An operation's loop: busy while it runs; the blocking one runs until
    // the stop flag is set, as a long transfer or poll does.
    // A stopped loop ends as the connection object's do: it waits until Stop
    // has marked the link idle and leaves idle alone.
    void Loop(const Context& c, const std::string& what) { Loop(c.status, what); }
    void Loop(link::LinkStatus& status, const std::string& what) {
        log_.Add(what);
        const bool pauses = !pauseIn.empty() && what.rfind(pauseIn, 0) == 0;
        if (pauses && pauseAt == PauseAt::kBeforeMarkedRunning) Pause();
        status.idle = 0;
        if (!blockIn.empty() && what.rfind(blockIn, 0) == 0) {
            blocking = 1;
            while (!stop_.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            blocking = 0;
        }
        if (stop_.load()) {
            link::WaitForIdle(status);
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
    std::atomic<bool> stop_{false};
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
    ReportingOperations(EventLog& log, ProgramModel& view) : ScriptedOperations(log), view_(view) {}
    bool pollFileFails = false;

    void ShowResult(char address, std::string_view label, std::string_view detail,
                    int code) override {
        view_.Link().ShowResult(address, label, detail, code);
    }
    void WarmStart(const Context& c) override {
        ScriptedOperations::WarmStart(c);
        for (char address : c.settings.addresses)
            ShowResult(address, "Warm Start", "", address == 'B' ? 4 : 0);
    }
    void Poll(const Context& c, PollSettings& poll, link::PollContext& pollContext) override {
        if (pollFileFails) {
            view_.Link().ShowMessageBox("Poll Data file open error");
            return;
        }
        ScriptedOperations::Poll(c, poll, pollContext);
    }

private:
    ProgramModel& view_;
};

// A view whose saves go to the core, as a front-end's do.
class SavingView : public RecordingView {
public:
    void SaveConfiguration() override {
        RecordingView::SaveConfiguration();
        if (core != nullptr) core->SaveConfiguration();
    }
    ProgramModel* core = nullptr;
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
    ProgramModel core;
    EventLog log;
    ScriptedOperations ops;
    ScriptedUi ui;
    CommandWorker worker;
    ProgramController controller;
};

inline constexpr const char* kIniAB =
    "[Communication]\r\nAddress=AB\r\nTerminal_type=Gravo/Halda\r\n"
    "[COMMAND_LINE]\r\nAUTO_EXIT=Yes\r\n";

}  // namespace zelo::core::testing

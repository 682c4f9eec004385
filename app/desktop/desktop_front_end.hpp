#pragma once

#include <QByteArray>
#include <QObject>
#include <atomic>
#include <functional>
#include <string>
#include <utility>

#include "core/front_end.hpp"
#include "core/program_model.hpp"
#include "desktop/dialog_set.hpp"
#include "dialogs/qt/gui_requests.hpp"

class QWidget;

namespace zelo::desktop {

// The main view's duties and the user's answers for the desktop program.
//
// Threads: an object of the user interface thread that the worker calls.
// Lines and progress leave as queued signals carrying their own copies, so
// they reach the widgets in the order they were sent and the worker never
// waits for them. A question (box or dialog) is handed to the user
// interface thread through GuiRequests, under a standard mutex, with its own
// copy of what it shows; the worker waits for the answer until Stop or
// SIGINT/SIGTERM (the stop query) ends the wait. The user interface thread
// itself never waits for the worker (its Stop does not block).
class DesktopFrontEnd : public QObject, public core::FrontEnd {
    Q_OBJECT

public:
    explicit DesktopFrontEnd(DialogSet& dialogs);

    // Set once the program's parts exist: the window boxes and dialogs
    // belong to, and the view the terminal dialog edits.
    void SetWindow(QWidget* window) { window_ = window; }
    void SetView(core::ProgramModel* view) { view_ = view; }
    // What ends a worker's wait for an answer: the stop flag, a signal. Set
    // before the first command starts; called on the worker thread.
    void SetStopQuery(std::function<bool()> stopped) { stopped_ = std::move(stopped); }

    // FrontEndDuties
    void AppendToMessageWindow(std::string line) override;
    void HandlePollRecord(char address, std::string record) override;
    void RefreshProgress(bool erase) override;
    void ShowMessageBox(std::string text) override;
    void SaveConfiguration() override;
    void OpenTerminalDialog() override;
    // A line of its own in the message window, after the result line it
    // explains.
    void ShowOperatorNote(std::string text) override;

    // UserInterface
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    std::optional<core::PickAnswer> PickTerminalFiles(const core::PickRequest& request) override;
    std::optional<std::string> ChooseDialNumber(const core::PhoneBook& phoneBook) override;
    bool ChooseDateTime(core::TimeSyncRequest& request) override;

signals:
    void MessageLine(QByteArray line);
    void PollLine(QByteArray line);
    void ProgressChanged(bool erase);

private:
    // Runs `ask` on the user interface thread and waits for its answer, or
    // for Stop (then nothing).
    template <typename T>
    std::optional<T> Ask(std::function<std::optional<T>()> ask);

    DialogSet& dialogs_;
    dialogs::GuiRequests requests_;
    std::function<bool()> stopped_ = [] { return false; };
    QWidget* window_ = nullptr;
    core::ProgramModel* view_ = nullptr;
};

}  // namespace zelo::desktop

#pragma once

#include <QByteArray>
#include <QObject>
#include <atomic>
#include <functional>
#include <string>

#include "core/front_end.hpp"
#include "core/view_core.hpp"
#include "desktop/dialog_set.hpp"

class QWidget;

namespace zelo::desktop {

// The main view's duties and the user's answers for the desktop program.
//
// Threads: an object of the user interface thread that the worker calls.
// Lines and progress leave as queued signals, so they reach the widgets in
// the order they were sent and the worker never waits for them. A question
// (box or dialog) runs on the user interface thread while the calling
// worker waits for the answer; the user interface thread itself never waits
// for the worker (its Stop does not block), so this cannot lock up.
class DesktopFrontEnd : public QObject, public core::FrontEnd {
    Q_OBJECT

public:
    explicit DesktopFrontEnd(DialogSet& dialogs);

    // Set once the program's parts exist: the window boxes and dialogs
    // belong to, and the view the terminal dialog edits.
    void SetWindow(QWidget* window) { window_ = window; }
    void SetView(core::ViewCore* view) { view_ = view; }

    // ViewDuties
    void AppendToMessageWindow(std::string line) override;
    void HandlePollRecord(char address, std::string record) override;
    void RefreshProgress(int erase) override;
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
    void ProgressChanged(int erase);

private:
    // Runs `task` on the user interface thread and returns when it is done.
    void OnUserInterfaceThread(const std::function<void()>& task);

    DialogSet& dialogs_;
    QWidget* window_ = nullptr;
    core::ViewCore* view_ = nullptr;
};

}  // namespace zelo::desktop

#include "desktop/desktop_front_end.hpp"

#include <QMessageBox>
#include <QMetaObject>
#include <QThread>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <utility>

#include "core/poll_display.hpp"
#include "core/terminal_types.hpp"
#include "dialogs/qt/display_text.hpp"

namespace zelo::desktop {
namespace {

QByteArray Bytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

DesktopFrontEnd::DesktopFrontEnd(DialogSet& dialogs) : dialogs_(dialogs) {}

void DesktopFrontEnd::OnUserInterfaceThread(const std::function<void()>& task) {
    if (QThread::currentThread() == thread()) {
        task();
        return;
    }
    // A standard mutex and condition variable rather than Qt's blocking
    // connection, whose hand-over a thread checker cannot see: the task's
    // effects must be visible to this thread once the wait ends.
    struct Handover {
        std::mutex mutex;
        std::condition_variable doneChanged;
        bool done = false;
    };
    auto handover = std::make_shared<Handover>();
    QMetaObject::invokeMethod(
        this,
        [handover, &task] {
            task();
            std::lock_guard lock(handover->mutex);
            handover->done = true;
            handover->doneChanged.notify_one();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(handover->mutex);
    handover->doneChanged.wait(lock, [&handover] { return handover->done; });
}

void DesktopFrontEnd::AppendToMessageWindow(std::string line) { emit MessageLine(Bytes(line)); }

void DesktopFrontEnd::ShowOperatorNote(std::string text) {
    AppendToMessageWindow(std::move(text) + "\r\n");
}

void DesktopFrontEnd::HandlePollRecord(char address, std::string record) {
    emit PollLine(Bytes(core::PollDisplayLine(address, record)));
}

void DesktopFrontEnd::RefreshProgress(int erase) { emit ProgressChanged(erase); }

void DesktopFrontEnd::ShowMessageBox(std::string text) { ShowMessage(text); }

void DesktopFrontEnd::SaveConfiguration() {
    if (view_ != nullptr) view_->SaveConfiguration();
}

void DesktopFrontEnd::OpenTerminalDialog() {
    // A run that closes by itself asks nobody, not even at its start.
    if (view_ != nullptr && view_->ClosesByItself()) {
        ShowOperatorNote(core::MissingModelNote());
        return;
    }
    OnUserInterfaceThread([this] {
        if (view_ != nullptr) dialogs_.OpenTerminalDialog(window_, *view_);
    });
}

void DesktopFrontEnd::ShowMessage(const std::string& text) {
    OnUserInterfaceThread([this, &text] {
        QMessageBox::information(window_, QStringLiteral("Zelo32"), dialogs::DisplayText(text));
    });
}

bool DesktopFrontEnd::AskYesNo(const std::string& text) {
    bool yes = false;
    OnUserInterfaceThread([this, &text, &yes] {
        yes = QMessageBox::question(window_, QStringLiteral("Zelo32"), dialogs::DisplayText(text),
                                    QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    });
    return yes;
}

std::optional<core::PickAnswer> DesktopFrontEnd::PickTerminalFiles(
    const core::PickRequest& request) {
    std::optional<core::PickAnswer> answer;
    OnUserInterfaceThread(
        [this, &request, &answer] { answer = dialogs_.PickTerminalFiles(window_, request); });
    return answer;
}

std::optional<std::string> DesktopFrontEnd::ChooseDialNumber(const core::PhoneBook& phoneBook) {
    std::optional<std::string> number;
    OnUserInterfaceThread(
        [this, &phoneBook, &number] { number = dialogs_.ChooseDialNumber(window_, phoneBook); });
    return number;
}

bool DesktopFrontEnd::ChooseDateTime(core::TimeSyncRequest& request) {
    bool chosen = false;
    OnUserInterfaceThread(
        [this, &request, &chosen] { chosen = dialogs_.ChooseDateTime(window_, request); });
    return chosen;
}

}  // namespace zelo::desktop

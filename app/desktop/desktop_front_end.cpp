#include "desktop/desktop_front_end.hpp"

#include <QMessageBox>
#include <array>
#include <memory>
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

template <typename T>
std::optional<T> DesktopFrontEnd::Ask(std::function<std::optional<T>()> ask) {
    return requests_.Ask<T>(std::move(ask), stopped_);
}

void DesktopFrontEnd::AppendToMessageWindow(std::string line) { emit MessageLine(Bytes(line)); }

void DesktopFrontEnd::ShowOperatorNote(std::string text) {
    AppendToMessageWindow(std::move(text) + "\r\n");
}

void DesktopFrontEnd::HandlePollRecord(char address, std::string record) {
    emit PollLine(Bytes(core::PollDisplayLine(address, record)));
}

void DesktopFrontEnd::RefreshProgress(bool erase) { emit ProgressChanged(erase); }

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
    // Asked at start-up, on the user interface thread, which owns the view
    // then; the dialog edits the view's records in place.
    Ask<bool>([this]() -> std::optional<bool> {
        if (view_ != nullptr) dialogs_.OpenTerminalDialog(window_, *view_);
        return true;
    });
}

// Each question carries its own copy of what it shows: an answer the Stop
// abandoned may still be open on the user interface thread while the worker
// has gone on.
void DesktopFrontEnd::ShowMessage(const std::string& text) {
    Ask<bool>([this, text = dialogs::DisplayText(text)]() -> std::optional<bool> {
        QMessageBox::information(window_, QStringLiteral("Zelo32"), text);
        return true;
    });
}

bool DesktopFrontEnd::AskYesNo(const std::string& text) {
    const std::optional<bool> yes =
        Ask<bool>([this, text = dialogs::DisplayText(text)]() -> std::optional<bool> {
            return QMessageBox::question(window_, QStringLiteral("Zelo32"), text,
                                         QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
        });
    return yes.value_or(false);
}

std::optional<core::PickAnswer> DesktopFrontEnd::PickTerminalFiles(
    const core::PickRequest& request) {
    using Listings = std::array<std::string, link::kAddressSlots>;
    auto listings = std::make_shared<const Listings>(request.listings != nullptr ? *request.listings
                                                                                 : Listings{});
    return Ask<core::PickAnswer>([this, request, listings] {
        core::PickRequest own = request;
        own.listings = listings.get();
        return dialogs_.PickTerminalFiles(window_, own);
    });
}

std::optional<std::string> DesktopFrontEnd::ChooseDialNumber(const core::PhoneBook& phoneBook) {
    return Ask<std::string>(
        [this, phoneBook] { return dialogs_.ChooseDialNumber(window_, phoneBook); });
}

bool DesktopFrontEnd::ChooseDateTime(core::TimeSyncRequest& request) {
    std::optional<core::TimeSyncRequest> chosen = Ask<core::TimeSyncRequest>(
        [this, request]() mutable -> std::optional<core::TimeSyncRequest> {
            if (!dialogs_.ChooseDateTime(window_, request)) return std::nullopt;
            return request;
        });
    if (!chosen) return false;
    request = *chosen;
    return true;
}

}  // namespace zelo::desktop

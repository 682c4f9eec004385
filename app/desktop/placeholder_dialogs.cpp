#include "desktop/placeholder_dialogs.hpp"

#include <QMessageBox>
#include <QString>

namespace zelo::desktop {
namespace {

bool NotAvailable(QWidget* parent, const char* what) {
    QMessageBox::information(
        parent, QStringLiteral("Zelo32"),
        QStringLiteral("%1 is not available in this build.").arg(QLatin1String(what)));
    return false;
}

}  // namespace

std::optional<core::PickAnswer> PlaceholderDialogs::PickTerminalFiles(QWidget* parent,
                                                                      const core::PickRequest&) {
    NotAvailable(parent, "The terminal file choice");
    return std::nullopt;
}

std::optional<std::string> PlaceholderDialogs::ChooseDialNumber(QWidget* parent,
                                                                const core::PhoneBook&) {
    NotAvailable(parent, "The dial dialog");
    return std::nullopt;
}

bool PlaceholderDialogs::ChooseDateTime(QWidget* parent, core::TimeSyncRequest&) {
    return NotAvailable(parent, "The date and time dialog");
}

bool PlaceholderDialogs::OpenTerminalDialog(QWidget* parent, core::ViewCore&) {
    return NotAvailable(parent, "The terminal type dialog");
}

bool PlaceholderDialogs::EditParameters(QWidget* parent, core::ViewCore&) {
    return NotAvailable(parent, "The parameters dialog");
}

bool PlaceholderDialogs::EditDownloadList(QWidget* parent, core::ViewCore&) {
    return NotAvailable(parent, "The download list dialog");
}

bool PlaceholderDialogs::EditUploadList(QWidget* parent, core::ViewCore&) {
    return NotAvailable(parent, "The upload list dialog");
}

bool PlaceholderDialogs::EditPollSettings(QWidget* parent, core::ViewCore&) {
    return NotAvailable(parent, "The polling settings dialog");
}

bool PlaceholderDialogs::EditTimeSyncSettings(QWidget* parent, core::ViewCore&) {
    return NotAvailable(parent, "The time synchronisation dialog");
}

bool PlaceholderDialogs::EditModem(QWidget* parent, core::ViewCore&) {
    return NotAvailable(parent, "The modem dialog");
}

bool PlaceholderDialogs::EditCommandLineSettings(QWidget* parent, core::ViewCore&) {
    return NotAvailable(parent, "The command-line settings dialog");
}

bool PlaceholderDialogs::ChoosePcFiles(QWidget* parent, core::ViewCore&) {
    return NotAvailable(parent, "The PC file choice");
}

bool PlaceholderDialogs::BuildBarcodeTable(QWidget* parent, core::ViewCore&,
                                           core::CommandArguments&) {
    return NotAvailable(parent, "The bar-code table dialog");
}

bool PlaceholderDialogs::ChooseAddressChange(QWidget* parent, core::ViewCore&,
                                             core::CommandArguments&) {
    return NotAvailable(parent, "The address dialog");
}

bool PlaceholderDialogs::BuildCommTable(QWidget* parent, core::ViewCore&) {
    return NotAvailable(parent, "The communication table dialog");
}

bool PlaceholderDialogs::BuildDeviceTable(QWidget* parent, core::ViewCore&,
                                          core::CommandArguments&) {
    return NotAvailable(parent, "The device table dialog");
}

bool PlaceholderDialogs::ChooseLantaTable(QWidget* parent, core::ViewCore&,
                                          core::CommandArguments&) {
    return NotAvailable(parent, "The Lanta set-up dialog");
}

std::optional<std::string> PlaceholderDialogs::InputText(QWidget* parent, int) {
    NotAvailable(parent, "The text input dialog");
    return std::nullopt;
}

}  // namespace zelo::desktop

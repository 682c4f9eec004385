#include "desktop/qt_dialogs.hpp"

#include "dialogs/qt/address_change_dialog.hpp"
#include "dialogs/qt/barcode_table_dialog.hpp"
#include "dialogs/qt/comm_table_dialog.hpp"
#include "dialogs/qt/command_dialogs.hpp"
#include "dialogs/qt/device_table_dialogs.hpp"
#include "dialogs/qt/dial_dialog.hpp"
#include "dialogs/qt/file_choice_dialogs.hpp"
#include "dialogs/qt/file_list_dialogs.hpp"
#include "dialogs/qt/lanta_remote_dialog.hpp"
#include "dialogs/qt/modem_dialog.hpp"
#include "dialogs/qt/parameters_dialog.hpp"
#include "dialogs/qt/polling_dialogs.hpp"
#include "dialogs/qt/terminal_type_dialog.hpp"

namespace zelo::desktop {

std::optional<core::PickAnswer> QtDialogs::PickTerminalFiles(QWidget* parent,
                                                             const core::PickRequest& request) {
    return dialogs::ExecPickDialog(parent, request);
}

std::optional<std::string> QtDialogs::ChooseDialNumber(QWidget* parent,
                                                       const core::PhoneBook& phoneBook) {
    return dialogs::ExecDialDlg(parent, phoneBook);
}

bool QtDialogs::ChooseDateTime(QWidget* parent, core::TimeSyncRequest& request) {
    return dialogs::ExecTimeSyncDlg(parent, request);
}

bool QtDialogs::OpenTerminalDialog(QWidget* parent, core::ProgramModel& view) {
    return dialogs::ExecTerminalTypeDlg(parent, view);
}

bool QtDialogs::EditParameters(QWidget* parent, core::ProgramModel& view,
                               const std::function<void(int openPort)>& reconnect) {
    return dialogs::ExecParametersDlg(parent, view, reconnect);
}

bool QtDialogs::EditDownloadList(QWidget* parent, core::ProgramModel& view) {
    return dialogs::ExecDownloadListDlg(parent, view);
}

bool QtDialogs::EditUploadList(QWidget* parent, core::ProgramModel& view) {
    return dialogs::ExecUploadListDlg(parent, view);
}

bool QtDialogs::EditPollSettings(QWidget* parent, core::ProgramModel& view) {
    return dialogs::ExecPollSettingsDlg(parent, view);
}

bool QtDialogs::EditTimeSyncSettings(QWidget* parent, core::ProgramModel& view) {
    return dialogs::ExecAutoTimeSyncDlg(parent, view);
}

bool QtDialogs::EditModem(QWidget* parent, core::ProgramModel& view) {
    return dialogs::ExecModemDlg(parent, view);
}

bool QtDialogs::EditCommandLineSettings(QWidget* parent, core::ProgramModel& view) {
    return dialogs::ExecCommandLineDlg(parent, view);
}

bool QtDialogs::ChoosePcFiles(QWidget* parent, core::ProgramModel& view) {
    return dialogs::ExecPcFileBrowseDlg(parent, view.State());
}

bool QtDialogs::BuildBarcodeTable(QWidget* parent, core::ProgramModel& view,
                                  core::CommandArguments& arguments) {
    return dialogs::ExecBarcodeTableDlg(parent, view, arguments);
}

bool QtDialogs::ChooseAddressChange(QWidget* parent, core::ProgramModel& view,
                                    core::CommandArguments& arguments) {
    return dialogs::ExecAddressChangeDlg(parent, view, arguments);
}

bool QtDialogs::BuildCommTable(QWidget* parent, core::ProgramModel& view) {
    return dialogs::ExecCommTableDlg(parent, view);
}

bool QtDialogs::BuildDeviceTable(QWidget* parent, core::ProgramModel& view,
                                 core::CommandArguments& arguments) {
    return dialogs::ExecDeviceTableDlg(parent, view, arguments);
}

bool QtDialogs::ChooseLantaTable(QWidget* parent, core::ProgramModel& view,
                                 core::CommandArguments& arguments) {
    return dialogs::ExecLantaRemoteDlg(parent, platform_, view.State(), arguments);
}

std::optional<std::string> QtDialogs::InputText(QWidget* parent, int commandCode) {
    return dialogs::ExecTextInputDlg(parent, commandCode);
}

}  // namespace zelo::desktop

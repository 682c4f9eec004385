#include "desktop/qt_dialogs.hpp"

#include "dialogs/qt/address_change_dialog.hpp"
#include "dialogs/qt/barcode_table_dialog.hpp"
#include "dialogs/qt/comm_table_dialog.hpp"
#include "dialogs/qt/device_table_dialogs.hpp"
#include "dialogs/qt/dial_dialog.hpp"
#include "dialogs/qt/lanta_remote_dialog.hpp"
#include "dialogs/qt/modem_dialog.hpp"

namespace zelo::desktop {

std::optional<std::string> QtDialogs::ChooseDialNumber(QWidget* parent,
                                                       const core::PhoneBook& phoneBook) {
    return dialogs::ExecDialDlg(parent, phoneBook);
}

bool QtDialogs::EditModem(QWidget* parent, core::ViewCore& view) {
    return dialogs::ExecModemDlg(parent, view);
}

bool QtDialogs::BuildBarcodeTable(QWidget* parent, core::ViewCore& view,
                                  core::CommandArguments& arguments) {
    return dialogs::ExecBarcodeTableDlg(parent, view, arguments);
}

bool QtDialogs::ChooseAddressChange(QWidget* parent, core::ViewCore& view,
                                    core::CommandArguments& arguments) {
    return dialogs::ExecAddressChangeDlg(parent, view, arguments);
}

bool QtDialogs::BuildCommTable(QWidget* parent, core::ViewCore& view) {
    return dialogs::ExecCommTableDlg(parent, view);
}

bool QtDialogs::BuildDeviceTable(QWidget* parent, core::ViewCore& view,
                                 core::CommandArguments& arguments) {
    return dialogs::ExecDeviceTableDlg(parent, view, arguments);
}

bool QtDialogs::ChooseLantaTable(QWidget* parent, core::ViewCore& view,
                                 core::CommandArguments& arguments) {
    return dialogs::ExecLantaRemoteDlg(parent, platform_, view.State(), arguments);
}

}  // namespace zelo::desktop

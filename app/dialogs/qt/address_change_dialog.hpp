#pragma once

#include <QDialog>
#include <array>
#include <optional>
#include <string>

#include "core/command_table.hpp"
#include "core/program_model.hpp"
#include "dialogs/address_change.hpp"

class QComboBox;
class QPushButton;

namespace zelo::dialogs {

// "アドレス変更": the address to change ("変更前") and the free address it
// becomes ("変更後"), each chosen from its list; OK is enabled only while
// both are chosen.
class CAddressChangeDlg : public QDialog {
public:
    explicit CAddressChangeDlg(const std::string& addresses, QWidget* parent = nullptr);
    std::optional<std::array<char, 2>> Chosen() const;

private:
    void UpdateOk();

    AddressChangeLists lists_;
    QComboBox* before_;
    QComboBox* after_;
    QPushButton* ok_;
};

// The address command's dialog: on OK the old and the new address are in
// args.addressChange and the caller starts the address change command (kAddressChange).
bool ExecAddressChangeDlg(QWidget* parent, core::ProgramModel& view, core::CommandArguments& args);

}  // namespace zelo::dialogs

#pragma once

#include "core/core_platform.hpp"
#include "desktop/dialog_set.hpp"

namespace zelo::desktop {

// The program's own dialogs, each one the Qt dialog of app/dialogs/qt.
class QtDialogs : public DialogSet {
public:
    explicit QtDialogs(core::Platform& platform) : platform_(platform) {}

    std::optional<core::PickAnswer> PickTerminalFiles(QWidget* parent,
                                                      const core::PickRequest& request) override;
    std::optional<std::string> ChooseDialNumber(QWidget* parent,
                                                const core::PhoneBook& phoneBook) override;
    bool ChooseDateTime(QWidget* parent, core::TimeSyncRequest& request) override;
    bool OpenTerminalDialog(QWidget* parent, core::ProgramModel& view) override;
    bool EditParameters(QWidget* parent, core::ProgramModel& view,
                        const std::function<void(int openPort)>& reconnect) override;
    bool EditDownloadList(QWidget* parent, core::ProgramModel& view) override;
    bool EditUploadList(QWidget* parent, core::ProgramModel& view) override;
    bool EditPollSettings(QWidget* parent, core::ProgramModel& view) override;
    bool EditTimeSyncSettings(QWidget* parent, core::ProgramModel& view) override;
    bool EditModem(QWidget* parent, core::ProgramModel& view) override;
    bool EditCommandLineSettings(QWidget* parent, core::ProgramModel& view) override;
    bool ChoosePcFiles(QWidget* parent, core::ProgramModel& view) override;
    bool BuildBarcodeTable(QWidget* parent, core::ProgramModel& view,
                           core::CommandArguments& arguments) override;
    bool ChooseAddressChange(QWidget* parent, core::ProgramModel& view,
                             core::CommandArguments& arguments) override;
    bool BuildCommTable(QWidget* parent, core::ProgramModel& view) override;
    bool BuildDeviceTable(QWidget* parent, core::ProgramModel& view,
                          core::CommandArguments& arguments) override;
    bool ChooseLantaTable(QWidget* parent, core::ProgramModel& view,
                          core::CommandArguments& arguments) override;
    std::optional<std::string> InputText(QWidget* parent, int commandCode) override;

private:
    core::Platform& platform_;
};

}  // namespace zelo::desktop

#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/command_table.hpp"
#include "core/program_model.hpp"
#include "core/user_interface.hpp"

class QWidget;

namespace zelo::desktop {

// Every dialog the desktop program opens, one method each, so that the main
// window and the front-end do not depend on how a dialog is built. Each is
// modal over `parent` and runs on the user interface thread.
//
// Settings dialogs edit the view's records themselves and save the
// configuration on OK. Argument dialogs fill the command's arguments; on
// false (Cancel) the command does not start.
class DialogSet {
public:
    virtual ~DialogSet() = default;

    // Choices a running command asks for (the worker waits for the answer).
    virtual std::optional<core::PickAnswer> PickTerminalFiles(QWidget* parent,
                                                              const core::PickRequest& request) = 0;
    virtual std::optional<std::string> ChooseDialNumber(QWidget* parent,
                                                        const core::PhoneBook& phoneBook) = 0;
    virtual bool ChooseDateTime(QWidget* parent, core::TimeSyncRequest& request) = 0;

    // The terminal model dialog: its menu item, and start-up when the
    // configuration names no known model.
    virtual bool OpenTerminalDialog(QWidget* parent, core::ProgramModel& view) = 0;
    // The other settings dialogs of the settings menu.
    // Parameters: a Yes to "Do you want to reconnect?" calls `reconnect`
    // with the port the line is open on; the caller runs it on the worker.
    virtual bool EditParameters(QWidget* parent, core::ProgramModel& view,
                                const std::function<void(int openPort)>& reconnect) = 0;
    virtual bool EditDownloadList(QWidget* parent, core::ProgramModel& view) = 0;
    virtual bool EditUploadList(QWidget* parent, core::ProgramModel& view) = 0;
    virtual bool EditPollSettings(QWidget* parent, core::ProgramModel& view) = 0;
    virtual bool EditTimeSyncSettings(QWidget* parent, core::ProgramModel& view) = 0;
    virtual bool EditModem(QWidget* parent, core::ProgramModel& view) = 0;
    virtual bool EditCommandLineSettings(QWidget* parent, core::ProgramModel& view) = 0;

    // Arguments of terminal commands, asked before the worker starts.
    // The PC files to download: TransferLists::pickedFiles.
    virtual bool ChoosePcFiles(QWidget* parent, core::ProgramModel& view) = 0;
    virtual bool BuildBarcodeTable(QWidget* parent, core::ProgramModel& view,
                                   core::CommandArguments& arguments) = 0;
    virtual bool ChooseAddressChange(QWidget* parent, core::ProgramModel& view,
                                     core::CommandArguments& arguments) = 0;
    // The communication table: the view's CommTableRequest and terminal
    // timeout.
    virtual bool BuildCommTable(QWidget* parent, core::ProgramModel& view) = 0;
    virtual bool BuildDeviceTable(QWidget* parent, core::ProgramModel& view,
                                  core::CommandArguments& arguments) = 0;
    virtual bool ChooseLantaTable(QWidget* parent, core::ProgramModel& view,
                                  core::CommandArguments& arguments) = 0;
    // The one-line text argument of this command (core::kFileExists,
    // kSendData, kPassword, kExecAreaSize), titled with its prompt; nothing
    // on Cancel.
    virtual std::optional<std::string> InputText(QWidget* parent, int commandCode) = 0;
};

}  // namespace zelo::desktop

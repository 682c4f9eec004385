#include <string>

#include "core/configuration.hpp"
#include "core/configuration_keys.hpp"
#include "core/profile_file.hpp"
#include "core/terminal_types.hpp"
#include "core/value_decoding.hpp"

namespace zelo::core {
namespace {

const char* YesNoText(int flag) { return flag != 0 ? "Yes" : "No"; }

class Writer {
public:
    explicit Writer(ProfileText& text) : text_(text) {}

    void Text(const char* section, const std::string& key, const std::string& value) {
        text_.Write(section, key, value);
    }
    void Integer(const char* section, const char* key, long value) {
        Text(section, key, std::to_string(value));
    }

private:
    ProfileText& text_;
};

const char* UploadSaveModeText(int mode) {
    return mode == 2 ? "Append" : mode == 1 ? "Over-write" : "New";
}

const char* PollingPeriodText(int period) {
    switch (period) {
        case 0: return "Continuous";
        case 2: return "ExistWhenPeriodNoData";
        case 3: return "RePoll";
        default: return "Specify";
    }
}

const char* AutoTimeSyncText(int sync) {
    return sync == 1 ? "Start" : sync == 2 ? "Specify" : "None";
}

const char* ErrorLogText(int mode) {
    return mode == kErrorLogOff ? "NO" : mode == kErrorLogAppend ? "Append" : "New";
}

void SaveLine(Writer& out, const ModelState& state) {
    const link::CommSettings& comm = state.comm;
    out.Integer(kCommunication, "Port", comm.port);
    out.Integer(kCommunication, "BaudRate", BaudRateOfIndex(comm.baudIndex));
    out.Text(kCommunication, "DataBit", comm.dataBitsIndex == 1 ? "8" : "7");
    out.Text(kCommunication, "StopBit", comm.stopBitsIndex != 0 ? "2" : "1");
    out.Text(kCommunication, "Parity",
             comm.parity == 1   ? "ODD"
             : comm.parity == 2 ? "EVEN"
                                : "NONE");
    // Command-line addresses reach the records unfiltered; the file only
    // ever holds terminal addresses.
    out.Text(kCommunication, "Address",
             FilterAddresses(state.runOnly.configuredAddresses.value_or(comm.addresses)));
    out.Text(kCommunication, "Terminal_type", std::string(TerminalTypeName(comm.terminalType)));
    out.Text(kCommunication, "AutoBaudRate", state.status.autoBaud != 0 ? "1" : "0");
    out.Integer(kCommunication, "Time_out", state.timing.timeOut);
    out.Integer(kCommunication, "ESC_delay", state.timing.escDelay);
    out.Integer(kCommunication, "NAK_delay", state.timing.nakDelay);
    out.Text(kPower, "Power_Saving", state.status.powerSaving != 0 ? "YES" : "NO");
}

void SaveLists(Writer& out, const TransferLists& lists) {
    for (std::size_t i = 0; i < kListFiles; ++i) {
        out.Text(kMultiDownload, NumberedKey("File", i + 1), lists.downloadFiles[i]);
    }
    out.Text(kMultiDownload, "Broadcast", YesNoText(lists.groupDownloads));
    for (std::size_t i = 0; i < kListFiles; ++i) {
        out.Text(kMultiUpload, NumberedKey("File", i + 1), lists.uploadFiles[i]);
        out.Text(kMultiUpload, NumberedKey("Delete", i + 1),
                 lists.deleteAfterUpload[i] != 0 ? "YES" : "NO");
    }
    out.Text(kMultiUpload, "Upload_Save_Mode", UploadSaveModeText(lists.uploadSaveMode));
    out.Text(kMultiUpload, "Upload_Loop", YesNoText(lists.uploadLoop));
    out.Integer(kMultiUpload, "Upload_Period", lists.uploadPeriod);
}

void SavePolling(Writer& out, const ModelState& state) {
    const PollSettings& poll = state.poll;
    out.Text(kPoll, "File_Name", poll.pollFileName);
    out.Text(kPoll, "Open_Method", poll.openMethod == 0 ? "Append" : "New");
    out.Text(kPoll, "Polling_Period", PollingPeriodText(poll.pollingPeriod));
    out.Integer(kPoll, "RePoll_NoData", poll.rePollNoData);
    out.Integer(kPoll, "RePoll_Time", poll.rePollTime);
    out.Text(kPoll, "Start_Time", poll.startTime);
    out.Text(kPoll, "Stop_Time", poll.stopTime);
    out.Integer(kPoll, "MaxError", poll.maxError);
    out.Integer(kPoll, "Poll_Max_Wait_Time", poll.pollMaxWait);
    out.Text(kPoll, "Not_Append_CR_LF", YesNoText(poll.notAppendCrLf));
    out.Integer(kCommunication, "TERMINAL_TIMEOUT", state.timing.terminalTimeout);
    out.Text(kPoll, "Auto_Time_Sync", AutoTimeSyncText(poll.autoTimeSync));
    out.Text(kPoll, "Auto_Time_Sync_Start", poll.autoSyncStart);
    out.Text(kPoll, "Auto_Time_Sync_Stop", poll.autoSyncStop);
}

void SaveModem(Writer& out, const ModelState& state) {
    out.Text(kModem, "Use_modem", YesNoText(state.status.useModem));
    out.Text(kModem, "Modem_Initial_command", state.comm.modemInitCommand);
    out.Integer(kModem, "Dial_Wait_Time", state.comm.dialWaitTime);
    out.Integer(kModem, "Dial_Type", state.comm.dialType);
    for (std::size_t i = 0; i < kPhoneBookEntries; ++i) {
        const PhoneBook::Entry& entry = state.phoneBook.entries[i];
        out.Text(kModem, PhoneBookKey("Modem_Phone_no", i + 1), entry.number);
        out.Text(kModem, PhoneBookKey("Modem_Phone_name", i + 1), entry.name);
    }
}

}  // namespace

bool SaveConfiguration(Platform& platform, const std::string& path, const ModelState& state) {
    // Start from the file as it is now, so that whatever else it holds
    // (other keys, comments, its line ends) survives.
    ProfileFile file(platform, path);
    file.Load();
    Writer out(file.Text());

    SaveLine(out, state);
    SaveLists(out, state.lists);
    SavePolling(out, state);
    out.Text(kDeleteFile, "Delete_File1",
             state.runOnly.configuredDeleteFileName.value_or(state.lists.deleteFileName));
    out.Text(kLanta, "CFG_Name", state.lists.lantaConfigName);
    out.Text(kCommandLine, "AUTO_EXIT",
             YesNoText(state.runOnly.configuredAutoExit.value_or(state.commandLine.autoExit)));
    out.Text(kCommandLine, "SHOW_ERROR_BOX", YesNoText(state.status.showErrorBox));
    SaveModem(out, state);
    out.Integer(kMessageWindow, "FONT_SIZE", state.messageFontSize);
    out.Text(kCommunication, "ErrorLog", ErrorLogText(state.errorLogMode));
    return file.Save();
}

}  // namespace zelo::core

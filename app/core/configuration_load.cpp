#include <string>
#include <string_view>

#include "core/configuration.hpp"
#include "core/configuration_keys.hpp"
#include "core/profile_file.hpp"
#include "core/terminal_types.hpp"
#include "core/value_decoding.hpp"

namespace zelo::core {
namespace {

class Reader {
public:
    explicit Reader(const ProfileText& text) : text_(text) {}

    std::string Text(const char* section, const std::string& key, const char* fallback,
                     std::size_t bufferSize = kValueBuffer) const {
        return text_.Read(section, key, fallback, bufferSize);
    }
    int Integer(const char* section, const char* key, const char* fallback) const {
        return DecodeInteger(Text(section, key, fallback));
    }
    char Letter(const char* section, const std::string& key, const char* fallback,
                std::size_t position = 0) const {
        return UpperLetterAt(Text(section, key, fallback), position);
    }
    int YesNo(const char* section, const std::string& key, const char* fallback) const {
        return Letter(section, key, fallback) == 'Y' ? 1 : 0;
    }
    std::string Time(const char* section, const char* key, const char* fallback) const {
        return NormalizeTimeText(Text(section, key, fallback));
    }

private:
    const ProfileText& text_;
};

int InRangeOr(int value, int low, int high, int fallback) {
    return value >= low && value <= high ? value : fallback;
}

void LoadLine(const Reader& in, ModelState& state) {
    link::CommSettings& comm = state.comm;
    comm.port = InRangeOr(in.Integer(kCommunication, "Port", "1"), 1, 256, 1);
    comm.baudIndex = BaudIndexOfRate(in.Integer(kCommunication, "BaudRate", "9600"));
    comm.dataBitsIndex = in.Integer(kCommunication, "DataBit", "8") == 7 ? 0 : 1;
    comm.stopBitsIndex = in.Integer(kCommunication, "StopBit", "1") == 2 ? 1 : 0;
    const char parity = in.Letter(kCommunication, "Parity", "NONE");
    comm.parity = parity == 'O' ? 1 : parity == 'E' ? 2 : 0;
    comm.addresses = FilterAddresses(in.Text(kCommunication, "Address", "A", kAddressBuffer));
    state.status.autoBaud = in.Integer(kCommunication, "AutoBaudRate", "0") == 1 ? 1 : 0;
    state.timing.timeOut = in.Integer(kCommunication, "Time_out", "400");
    state.timing.escDelay = in.Integer(kCommunication, "ESC_delay", "10");
    state.timing.nakDelay = in.Integer(kCommunication, "NAK_delay", "50");
    state.status.powerSaving = in.YesNo(kPower, "Power_Saving", "NO");
}

void LoadLists(const Reader& in, TransferLists& lists) {
    for (std::size_t i = 0; i < kListFiles; ++i) {
        lists.downloadFiles[i] =
            in.Text(kMultiDownload, NumberedKey("File", i + 1), "", kListFileBuffer);
    }
    lists.groupDownloads = in.YesNo(kMultiDownload, "Broadcast", "YES");
    for (std::size_t i = 0; i < kListFiles; ++i) {
        lists.uploadFiles[i] =
            in.Text(kMultiUpload, NumberedKey("File", i + 1), "", kListFileBuffer);
        lists.deleteAfterUpload[i] = in.YesNo(kMultiUpload, NumberedKey("Delete", i + 1), "N");
    }
    const char saveMode = in.Letter(kMultiUpload, "Upload_Save_Mode", "New");
    lists.uploadSaveMode = saveMode == 'A' ? 2 : saveMode == 'O' ? 1 : 0;
    lists.uploadLoop = in.Letter(kMultiUpload, "Upload_Loop", "No") == 'N' ? 0 : 1;
    lists.uploadPeriod = in.Integer(kMultiUpload, "Upload_Period", "60");
}

void LoadPolling(const Reader& in, ModelState& state) {
    PollSettings& poll = state.poll;
    poll.pollFileName = in.Text(kPoll, "File_Name", "POLL.DAT", kFileNameBuffer);
    poll.openMethod = in.Letter(kPoll, "Open_Method", "Append") == 'A' ? 0 : 1;
    poll.maxError = InRangeOr(in.Integer(kPoll, "MaxError", "1"), 0, 100, 1);
    const char period = in.Letter(kPoll, "Polling_Period", "Continuous");
    poll.pollingPeriod = period == 'C' ? 0 : period == 'E' ? 2 : period == 'R' ? 3 : 1;
    poll.rePollNoData = in.Integer(kPoll, "RePoll_NoData", "30");
    poll.rePollTime = in.Integer(kPoll, "RePoll_Time", "60");
    poll.pollMaxWait = in.Integer(kPoll, "Poll_Max_Wait_Time", "10");
    poll.startTime = in.Time(kPoll, "Start_Time", "00:00:00");
    poll.stopTime = in.Time(kPoll, "Stop_Time", "23:59:59");
    poll.notAppendCrLf = in.YesNo(kPoll, "Not_Append_CR_LF", "Yes");
    state.timing.terminalTimeout = in.Integer(kCommunication, "TERMINAL_TIMEOUT", "02");
    const char sync = in.Letter(kPoll, "Auto_Time_Sync", "None", 1);
    poll.autoTimeSync = sync == 'T' ? 1 : sync == 'P' ? 2 : 0;
    poll.autoSyncStart = in.Time(kPoll, "Auto_Time_Sync_Start", "06:00:00");
    poll.autoSyncStop = in.Time(kPoll, "Auto_Time_Sync_Stop", "08:00:00");
}

void LoadModem(const Reader& in, ModelState& state) {
    state.status.useModem = in.YesNo(kModem, "Use_modem", "No");
    state.comm.modemInitCommand =
        in.Text(kModem, "Modem_Initial_command", "ATS0=1", link::kMaxModemInitCommand + 1);
    state.comm.dialWaitTime = in.Integer(kModem, "Dial_Wait_Time", "60");
    state.comm.dialType = in.Integer(kModem, "Dial_Type", "0");
    for (std::size_t i = 0; i < kPhoneBookEntries; ++i) {
        PhoneBook::Entry& entry = state.phoneBook.entries[i];
        entry.number =
            in.Text(kModem, PhoneBookKey("Modem_Phone_no", i + 1), "", kPhoneNumberBuffer);
        entry.name = in.Text(kModem, PhoneBookKey("Modem_Phone_name", i + 1), "", kPhoneNameBuffer);
    }
}

}  // namespace

void LoadConfiguration(Platform& platform, const std::string& path, ModelState& state,
                       FrontEndDuties& view, MissingModel missing) {
    ProfileFile file(platform, path);
    file.Load();
    const Reader in(file.Text());

    // Whatever a run had put in place is replaced by the file's values.
    state.runOnly = {};
    LoadLine(in, state);
    LoadLists(in, state.lists);
    LoadPolling(in, state);
    state.lists.deleteFileName = in.Text(kDeleteFile, "Delete_File1", "", kDeleteFileBuffer);
    state.lists.lantaConfigName = in.Text(kLanta, "CFG_Name", "", kFileNameBuffer);
    state.commandLine.autoExit = in.YesNo(kCommandLine, "AUTO_EXIT", "Yes");
    state.status.showErrorBox = in.YesNo(kCommandLine, "SHOW_ERROR_BOX", "Yes");
    LoadModem(in, state);
    // The output windows' font is the window menu's once the program runs:
    // a reload keeps what the operator chose, which the next save writes.
    if (missing == MissingModel::kAskUser) {
        state.messageFontSize = in.Integer(kMessageWindow, "FONT_SIZE", "8");
    }
    const char errorLog = in.Letter(kCommunication, "ErrorLog", "NO", 1);
    state.errorLogMode = errorLog == 'O'   ? kErrorLogOff
                         : errorLog == 'P' ? kErrorLogAppend
                                           : kErrorLogNew;

    const std::optional<int> type =
        MatchTerminalType(in.Text(kCommunication, "Terminal_type", "Q"));
    state.comm.terminalType = type.value_or(link::kGravoHalda);
    // The first start without a file asks for the terminal model.
    if (!type && missing == MissingModel::kAskUser) view.OpenTerminalDialog();
}

}  // namespace zelo::core

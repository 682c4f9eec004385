#include "core/configuration_check.hpp"

#include <cctype>
#include <limits>
#include <string_view>

#include "core/configuration_keys.hpp"
#include "core/model_records.hpp"
#include "core/value_decoding.hpp"

namespace zelo::core {
namespace {

// A value found in the file, with where it stands.
class Checker {
public:
    Checker(const ProfileText& text, const std::string& fileName)
        : text_(text), fileName_(fileName) {}

    // The raw value, or nothing when the key is missing (defaults are fine).
    bool Find(const char* section, const std::string& key, std::string& value) {
        line_ = text_.LineNumberOf(section, key);
        if (line_ == 0) return false;
        value = text_.Read(section, key, "", 4096);
        return true;
    }
    void Note(const std::string& key, const std::string& value, const std::string& what) {
        notes_.push_back(fileName_ + ":" + std::to_string(line_) + ": " + key + "=" + value + " " +
                         what);
    }

    void Integer(const char* section, const char* key, int low, int high, const char* used) {
        std::string value;
        if (!Find(section, key, value)) return;
        const std::size_t start = value.find_first_not_of(" \t+-");
        if (start == std::string::npos || !std::isdigit(static_cast<unsigned char>(value[start]))) {
            Note(key, value, "is not a number; 0 is used");
            return;
        }
        const int number = DecodeInteger(value);
        if (number < low || number > high) {
            Note(key, value,
                 "is outside " + std::to_string(low) + ".." + std::to_string(high) + "; " + used +
                     " is used");
        }
    }
    void Number(const char* section, const char* key) {
        Integer(section, key, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), "");
    }

    // A choice read by the letter at `position`; `letters` are those it knows.
    void Choice(const char* section, const std::string& key, std::size_t position,
                std::string_view letters, const char* used) {
        std::string value;
        if (!Find(section, key, value)) return;
        const char letter = UpperLetterAt(value, position);
        if (letter == 0 || letters.find(letter) == std::string_view::npos) {
            Note(key, value, std::string("is not one of its choices; ") + used + " is used");
        }
    }
    void Time(const char* section, const char* key) {
        std::string value;
        if (!Find(section, key, value)) return;
        for (char c : value) {
            if (!std::isdigit(static_cast<unsigned char>(c)) && c != ':') {
                Note(key, value,
                     "is not a time hh:mm:ss; " + NormalizeTimeText(value) + " is used");
                return;
            }
        }
    }
    void Text(const char* section, const std::string& key, std::size_t buffer) {
        std::string value;
        if (Find(section, key, value) && value.size() >= buffer) {
            Note(key, value,
                 "is longer than " + std::to_string(buffer - 1) + " characters; it is cut");
        }
    }

    std::vector<std::string> notes_;

private:
    const ProfileText& text_;
    const std::string& fileName_;
    std::size_t line_ = 0;
};

}  // namespace

std::vector<std::string> CheckConfiguration(const ProfileText& text, const std::string& fileName) {
    Checker c(text, fileName);
    std::string value;
    c.Integer(kCommunication, "Port", 1, 256, "1");
    if (c.Find(kCommunication, "BaudRate", value) &&
        BaudRateOfIndex(BaudIndexOfRate(DecodeInteger(value))) != DecodeInteger(value)) {
        c.Note("BaudRate", value, "is not a speed of 110 to 57600 baud; 9600 is used");
    }
    c.Integer(kCommunication, "DataBit", 7, 8, "8");
    c.Integer(kCommunication, "StopBit", 1, 2, "1");
    c.Choice(kCommunication, "Parity", 0, "NOE", "NONE");
    if (c.Find(kCommunication, "Address", value) && FilterAddresses(value).size() != value.size()) {
        c.Note("Address", value,
               "holds characters that are no terminal address; " + FilterAddresses(value) +
                   " is used");
    }
    c.Integer(kCommunication, "AutoBaudRate", 0, 1, "0 (off)");
    for (const char* key : {"Time_out", "ESC_delay", "NAK_delay", "TERMINAL_TIMEOUT"}) {
        c.Number(kCommunication, key);
    }
    c.Choice(kCommunication, "ErrorLog", 1, "OPE", "New");
    c.Choice(kPower, "Power_Saving", 0, "YN", "NO");
    for (std::size_t i = 1; i <= kListFiles; ++i) {
        c.Text(kMultiDownload, "File" + std::to_string(i), kListFileBuffer);
        c.Text(kMultiUpload, "File" + std::to_string(i), kListFileBuffer);
        c.Choice(kMultiUpload, "Delete" + std::to_string(i), 0, "YN", "NO");
    }
    c.Choice(kMultiUpload, "Upload_Save_Mode", 0, "AON", "New");
    c.Choice(kMultiUpload, "Upload_Loop", 0, "YN", "Yes");
    c.Number(kMultiUpload, "Upload_Period");
    c.Text(kPoll, "File_Name", kFileNameBuffer);
    c.Choice(kPoll, "Open_Method", 0, "AN", "New");
    c.Integer(kPoll, "MaxError", 0, 100, "1");
    c.Choice(kPoll, "Polling_Period", 0, "CSER", "Specify");
    for (const char* key : {"RePoll_NoData", "RePoll_Time", "Poll_Max_Wait_Time"})
        c.Number(kPoll, key);
    for (const char* key :
         {"Start_Time", "Stop_Time", "Auto_Time_Sync_Start", "Auto_Time_Sync_Stop"}) {
        c.Time(kPoll, key);
    }
    c.Choice(kPoll, "Not_Append_CR_LF", 0, "YN", "No");
    c.Choice(kPoll, "Auto_Time_Sync", 1, "OTP", "None");
    c.Text(kDeleteFile, "Delete_File1", kDeleteFileBuffer);
    c.Text(kLanta, "CFG_Name", kValueBuffer);
    c.Choice(kCommandLine, "AUTO_EXIT", 0, "YN", "No");
    c.Choice(kCommandLine, "SHOW_ERROR_BOX", 0, "YN", "No");
    c.Choice(kModem, "Use_modem", 0, "YN", "No");
    c.Text(kModem, "Modem_Initial_command", kValueBuffer);
    c.Number(kModem, "Dial_Wait_Time");
    c.Integer(kModem, "Dial_Type", 0, 1, "tone dialling");
    c.Number(kMessageWindow, "FONT_SIZE");
    return c.notes_;
}

}  // namespace zelo::core

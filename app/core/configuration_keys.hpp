#pragma once

#include <cstddef>
#include <string>

namespace zelo::core {

// Section names as the program writes them. Reading compares names
// case-insensitively, and writing into a section the file spells otherwise
// ("poll") keeps the file's spelling.
inline constexpr const char* kCommunication = "Communication";
inline constexpr const char* kPower = "POWER";
inline constexpr const char* kMultiDownload = "Multi_download";
inline constexpr const char* kMultiUpload = "Multi_upload";
inline constexpr const char* kPoll = "POLL";
inline constexpr const char* kDeleteFile = "Delete_File";
inline constexpr const char* kLanta = "Lanta";
inline constexpr const char* kCommandLine = "COMMAND_LINE";
inline constexpr const char* kModem = "Modem";
inline constexpr const char* kMessageWindow = "MESSAGE_WINDOW";

// Read buffer sizes, terminating zero included: a value keeps at most one
// character less. Keys without a stated limit use kValueBuffer.
inline constexpr std::size_t kValueBuffer = 100;
inline constexpr std::size_t kAddressBuffer = 40;
inline constexpr std::size_t kListFileBuffer = 120;
inline constexpr std::size_t kFileNameBuffer = 100;
inline constexpr std::size_t kDeleteFileBuffer = 20;
// Numbers and names keep the 30 characters the phone book dialog allows.
inline constexpr std::size_t kPhoneNumberBuffer = 31;
inline constexpr std::size_t kPhoneNameBuffer = 31;

// "File%-d", "Delete%-d": list entries 1..12.
inline std::string NumberedKey(const char* stem, std::size_t number) {
    return stem + std::to_string(number);
}

// "Modem_Phone_no%.3d", "Modem_Phone_name%.3d": phone-book entries 001..100.
inline std::string PhoneBookKey(const char* stem, std::size_t number) {
    std::string digits = std::to_string(number);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    return stem + digits;
}

}  // namespace zelo::core

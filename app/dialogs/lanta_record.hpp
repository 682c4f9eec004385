#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelo::dialogs {

// The Lanta record the terminals take, built from the configuration file:
//   0      field delimiter (FIELD_DELIMETER, a character code)
//   1      record delimiter (RECORD_DELIMETER)
//   2      64 + number of fields
//   3+10k  name of field k, first 8 characters padded with spaces
//   11+10k 64 + length of field k
//   12+10k type of field k (first character of its type item)
//   3+10n  NUL
inline constexpr std::size_t kMaxLantaFields = 16;
inline constexpr std::size_t kMaxLantaFieldItem = 99;
inline constexpr std::size_t kLantaNameBytes = 8;
inline constexpr int kMaxLantaFieldLength = 255 - 64;  // 64 + length fits one byte

struct LantaRecordResult {
    enum class Kind {
        kBuilt,     // record holds the fields
        kNoFields,  // record holds no field; message says so; still sent
        kRefused,   // the file cannot be sent as it is; message names the line
    };
    Kind kind = Kind::kRefused;
    std::string record;   // the bytes; empty when refused
    std::string message;  // for kNoFields and kRefused
};

inline constexpr std::string_view kNoLantaSettingMessage = "No setting in configuration file !";

// Builds the record from the file's whole text; fileName only names the
// file in messages. Never reads beyond `fileText`, and never builds a
// record from a cut line or a field it cannot hold whole.
LantaRecordResult BuildLantaRecord(std::string_view fileText, std::string_view fileName);

// The record when the file cannot be read: no delimiters and no field.
LantaRecordResult LantaRecordWithoutFile();

}  // namespace zelo::dialogs

#include "dialogs/lanta_record.hpp"

#include <optional>
#include <vector>

#include "dialogs/lanta_key_reader.hpp"

namespace zelo::dialogs {
namespace {

using Kind = LantaRecordResult::Kind;

LantaRecordResult Refused(std::string message) {
    return {Kind::kRefused, {}, message + "; nothing was sent."};
}

std::string LineOf(int lineNumber, std::string_view fileName) {
    return "line " + std::to_string(lineNumber) + " of " + std::string(fileName);
}

// The C library's reading of a decimal number: leading blanks, a sign, then
// digits up to the first other character; no digits reads as 0. Empty when
// the number does not fit [low, high].
std::optional<int> LeadingDecimal(std::string_view text, int low, int high) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > high + 1L) break;  // already out of range; stop before it overflows
    }
    if (negative) value = -value;
    if (value < low || value > high) return std::nullopt;
    return static_cast<int>(value);
}

// Splits at any of `separators`, skipping empty pieces, as the C tokeniser does.
std::vector<std::string_view> Tokens(std::string_view text, std::string_view separators) {
    std::vector<std::string_view> tokens;
    std::size_t start = text.find_first_not_of(separators);
    while (start != std::string_view::npos) {
        const std::size_t end = text.find_first_of(separators, start);
        tokens.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) break;
        start = text.find_first_not_of(separators, end);
    }
    return tokens;
}

// A delimiter key's character code; a missing key or text without digits
// gives 0.
std::optional<char> DelimiterByte(std::string_view fileText, std::string_view key,
                                  std::string& problem, std::string_view fileName) {
    const LantaKey found = ReadLantaKey(fileText, key);
    if (found.result != kLantaKeyFound) return '\0';
    const std::optional<int> code = LeadingDecimal(found.value, 0, 255);
    if (!code) {
        problem = std::string(key) + " in " + LineOf(found.lineNumber, fileName) +
                  " is not a character code from 0 to 255";
        return std::nullopt;
    }
    return static_cast<char>(static_cast<unsigned char>(*code));
}

}  // namespace

LantaRecordResult LantaRecordWithoutFile() {
    return {Kind::kNoFields, std::string{'\0', '\0', '@', '\0'},
            std::string(kNoLantaSettingMessage)};
}

LantaRecordResult BuildLantaRecord(std::string_view fileText, std::string_view fileName) {
    if (const int line = FirstOverlongLantaLine(fileText); line != 0) {
        return Refused("The " + LineOf(line, fileName) + " is longer than " +
                       std::to_string(kMaxLantaLine) + " characters");
    }
    std::string problem;
    const std::optional<char> fieldDelimiter =
        DelimiterByte(fileText, "FIELD_DELIMETER", problem, fileName);
    if (!fieldDelimiter) return Refused(problem);
    const std::optional<char> recordDelimiter =
        DelimiterByte(fileText, "RECORD_DELIMETER", problem, fileName);
    if (!recordDelimiter) return Refused(problem);

    const LantaKey fields = ReadLantaKey(fileText, "FIELD");
    std::vector<std::string_view> items = Tokens(fields.value, ",");
    if (!items.empty()) items.erase(items.begin());  // the first item is not a field
    const std::string where = LineOf(fields.lineNumber, fileName);
    if (items.size() > kMaxLantaFields) {
        return Refused("The " + where + " lists more than " + std::to_string(kMaxLantaFields) +
                       " fields");
    }

    std::string record{*fieldDelimiter, *recordDelimiter, static_cast<char>(64 + items.size())};
    if (items.empty()) {
        record += '\0';
        return {Kind::kNoFields, record, std::string(kNoLantaSettingMessage)};
    }
    for (std::string_view item : items) {
        const std::string field = "The field \"" + std::string(item) + "\" in " + where;
        if (item.size() > kMaxLantaFieldItem) {
            return Refused(field + " is longer than " + std::to_string(kMaxLantaFieldItem) +
                           " characters");
        }
        const std::vector<std::string_view> parts = Tokens(item, "()/");
        if (parts.size() < 3) return Refused(field + " has no length or no type");
        const std::optional<int> length = LeadingDecimal(parts[1], 0, kMaxLantaFieldLength);
        if (!length) {
            return Refused(field + " has a length that is not a number from 0 to " +
                           std::to_string(kMaxLantaFieldLength));
        }
        std::string name(parts[0].substr(0, kLantaNameBytes));
        name.resize(kLantaNameBytes, ' ');
        record += name;
        record += static_cast<char>(64 + *length);
        record += parts[2].front();
    }
    record += '\0';
    return {Kind::kBuilt, record, {}};
}

}  // namespace zelo::dialogs

#include "poll_records.hpp"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

namespace termsim {

std::optional<PollRecords> PollRecords::fromFile(const std::filesystem::path& file, RecordEnd end,
                                                 std::string& error, std::size_t maxLength) {
    std::error_code sizeError;
    const auto size = std::filesystem::file_size(file, sizeError);
    if (sizeError) {
        error = "cannot read poll records from " + file.string() + ": " + sizeError.message();
        return std::nullopt;
    }
    if (size > kMaxFileSize) {
        error = "poll record file " + file.string() + " is larger than 16 MB";
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "cannot open poll record file " + file.string();
        return std::nullopt;
    }
    PollRecords records(end, maxLength);
    std::string line;
    while (std::getline(in, line)) records.addLine(line);
    return records;
}

PollRecords PollRecords::generated(int count, char address, RecordEnd end) {
    PollRecords records(end);
    for (int n = 1; n <= count; ++n) {
        char line[48];
        // An EAN-13-like code that changes with n, as a scanner would read it.
        std::snprintf(line, sizeof line, "%c,%05d,49%011d", address, n, n * 7919 % 100000000);
        records.addLine(line);
    }
    return records;
}

void PollRecords::addLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) return;
    const std::string_view terminator = end_ == RecordEnd::CrLf ? "\r\n" : "";
    const std::size_t room = maxLength_ - terminator.size();
    for (std::size_t start = 0; start < line.size(); start += room) {
        std::string record(line.substr(start, room));
        record += terminator;
        records_.push_back(std::move(record));
    }
}

std::vector<std::string> PollRecords::front(std::size_t most) const {
    const std::size_t count = std::min(most, records_.size());
    return {records_.begin(), records_.begin() + static_cast<std::ptrdiff_t>(count)};
}

void PollRecords::consumeFront() {
    if (records_.empty()) return;
    records_.pop_front();
    ++delivered_;
    ++frontNumber_;
}

void PollRecords::dropThrough(uint32_t number) {
    while (!records_.empty() && frontNumber_ <= number) consumeFront();
}

// "first N" on a line, then each record as its length, a colon and its bytes.
bool PollRecords::save(const std::filesystem::path& file) const {
    std::string text = "first " + std::to_string(frontNumber_) + "\n";
    for (const std::string& record : records_) text += std::to_string(record.size()) + ":" + record;
    const std::filesystem::path temporary = file.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!(out << text) || !out.flush()) return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, file, error);
    return !error;
}

std::optional<PollRecords> PollRecords::load(const std::filesystem::path& file, RecordEnd end,
                                             std::size_t maxLength, std::string& error) {
    std::error_code sizeError;
    const auto size = std::filesystem::file_size(file, sizeError);
    if (sizeError) return std::nullopt;  // none kept yet
    std::ifstream in(file, std::ios::binary);
    std::string text;
    if (size <= kMaxFileSize) text.assign(std::istreambuf_iterator<char>(in), {});
    PollRecords records(end, maxLength);
    unsigned long first = 0;
    std::size_t at = 0;
    int read = 0;
    if (size > kMaxFileSize || std::sscanf(text.c_str(), "first %lu\n%n", &first, &read) != 1 ||
        first == 0 || first > UINT32_MAX) {
        error = "poll record state " + file.string() + " is not one the simulator wrote";
        return std::nullopt;
    }
    records.frontNumber_ = static_cast<uint32_t>(first);
    at = static_cast<std::size_t>(read);
    while (at < text.size()) {
        const std::size_t colon = text.find(':', at);
        std::size_t length = 0;
        bool digits = colon != std::string::npos && colon > at && colon - at <= 3;
        for (std::size_t i = at; digits && i < colon; ++i) {
            digits = text[i] >= '0' && text[i] <= '9';
            length = length * 10 + static_cast<std::size_t>(text[i] - '0');
        }
        const bool fits = digits && length <= kLongestRecord && length <= text.size() - colon - 1;
        if (!fits) {
            error = "poll record state " + file.string() + " is cut or damaged";
            return std::nullopt;
        }
        records.records_.push_back(text.substr(colon + 1, length));
        at = colon + 1 + length;
    }
    return records;
}

}  // namespace termsim

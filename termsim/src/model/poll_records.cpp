#include "poll_records.hpp"

#include <algorithm>
#include <cstdio>
#include <fstream>
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
}

}  // namespace termsim

#include "link/poll_numbers.hpp"

#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <vector>

namespace zelo::link {

namespace {

struct Entry {
    char address = 0;
    uint32_t number = 0;
    std::size_t length = 0;
    uint32_t checksum = 0;
};

// The bytes of the data file from `from` on, at most `most`.
std::string Tail(const std::string& path, std::int64_t from, std::size_t most) {
    std::ifstream in(path, std::ios::binary);
    if (!in || !in.seekg(from)) return {};
    std::string bytes(most, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(most));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

bool IsAddress(char c) { return c > ' ' && c < 0x7F; }

}  // namespace

uint32_t LineChecksum(std::string_view line) {
    uint32_t hash = 2166136261u;
    for (const char c : line) {
        hash ^= static_cast<uint8_t>(c);
        hash *= 16777619u;
    }
    return hash;
}

PollNumbers::PollNumbers(platform::Platform& environment, std::string dataPath)
    : environment_(environment), dataPath_(std::move(dataPath)), path_(dataPath_ + ".numbers") {}

void PollNumbers::Recover() {
    written_.clear();
    stored_.clear();
    reported_.clear();
    uncommitted_ = 0;
    std::string text;
    if (environment_.ReadFile(path_, kMaxFileBytes, text) != platform::ReadResult::kRead) return;
    long long length = -1;
    std::vector<Entry> entries;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        if (end == std::string::npos) break;  // cut by the crash: not there
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        char address = 0;
        unsigned long number = 0;
        unsigned long size = 0;
        unsigned long checksum = 0;
        int used = 0;
        if (std::sscanf(line.c_str(), "length %lld%n", &length, &used) == 1 &&
            static_cast<std::size_t>(used) == line.size()) {
            continue;
        }
        if (std::sscanf(line.c_str(), "+ %c %lu %lu %lx%n", &address, &number, &size, &checksum,
                        &used) == 4 &&
            static_cast<std::size_t>(used) == line.size() && IsAddress(address) &&
            number <= UINT32_MAX && size <= kMaxFileBytes) {
            entries.push_back(
                {address, static_cast<uint32_t>(number), size, static_cast<uint32_t>(checksum)});
            continue;
        }
        if (std::sscanf(line.c_str(), "%c %lu%n", &address, &number, &used) == 2 &&
            static_cast<std::size_t>(used) == line.size() && IsAddress(address) &&
            number <= UINT32_MAX) {
            stored_[address] = static_cast<uint32_t>(number);
        }
    }
    written_ = stored_;
    // The records written after the last commit that are in the file, in
    // the order they were written; the first one missing ends them.
    if (length >= 0 && !entries.empty()) {
        std::size_t span = 0;
        for (const Entry& entry : entries) span += entry.length;
        const std::string tail = Tail(dataPath_, length, span);
        std::size_t offset = 0;
        for (const Entry& entry : entries) {
            if (tail.size() - offset < entry.length ||
                LineChecksum(std::string_view(tail).substr(offset, entry.length)) !=
                    entry.checksum) {
                break;
            }
            offset += entry.length;
            if (entry.number > written_[entry.address]) written_[entry.address] = entry.number;
        }
    }
}

bool PollNumbers::Note(char address, uint32_t number, std::string_view line) {
    if (!journal_) journal_ = environment_.OpenForAppend(path_);
    if (!journal_) return false;
    char text[80];
    std::snprintf(text, sizeof text, "+ %c %" PRIu32 " %zu %08" PRIx32 "\n", address, number,
                  line.size(), LineChecksum(line));
    if (!journal_->Write(text)) return false;
    ++uncommitted_;
    return true;
}

void PollNumbers::Wrote(char address, uint32_t number) {
    if (number > written_[address]) written_[address] = number;
}

std::string PollNumbers::Text(std::int64_t dataLength) const {
    std::string text = "length " + std::to_string(dataLength) + "\n";
    for (const auto& [address, number] : written_) {
        text += address;
        text += ' ' + std::to_string(number) + "\n";
    }
    return text;
}

bool PollNumbers::Commit(platform::AppendFile& data) {
    // The notes first: data on the disk without its note would be taken
    // again, a note without its data is only checked and passed over.
    if (journal_ && !journal_->Flush()) return false;
    if (!data.Flush()) return false;
    const auto length = environment_.FileSize(dataPath_);
    if (!length) return false;
    journal_.reset();
    if (!platform::WriteFileAtomically(environment_, path_, Text(*length))) return false;
    stored_ = written_;
    uncommitted_ = 0;
    return true;
}

std::map<char, uint32_t> PollNumbers::TakeUnreported() {
    std::map<char, uint32_t> news;
    for (const auto& [address, number] : stored_) {
        if (number == 0) continue;
        const auto told = reported_.find(address);
        if (told == reported_.end() || told->second != number) news[address] = number;
    }
    for (const auto& [address, number] : news) reported_[address] = number;
    return news;
}

uint32_t PollNumbers::StoredThrough(char address) const {
    const auto found = written_.find(address);
    return found == written_.end() ? 0 : found->second;
}

}  // namespace zelo::link

// The records a terminal has collected and hands out one per poll. A record
// stays at the front until the host acknowledges it, so a poll that is
// asked again without an acknowledgement gets the same record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace termsim {

enum class RecordEnd { None, CrLf };

class PollRecords {
public:
    // The host reads a record into a 128-byte buffer as zero-terminated
    // text, so by default a record (line end included) never exceeds 127
    // bytes. A terminal may be set to send longer ones, up to what one reply
    // carries, to show what the host does with a record that does not fit.
    static constexpr std::size_t kMaxRecordLength = 127;
    static constexpr std::size_t kLongestRecord = 255;
    static constexpr std::uintmax_t kMaxFileSize = 16u << 20;

    // `maxLength` (3 to kLongestRecord) is the longest record, line end
    // included; longer lines are split there.
    explicit PollRecords(RecordEnd end = RecordEnd::None, std::size_t maxLength = kMaxRecordLength)
        : end_(end), maxLength_(maxLength) {}

    // One record per line of the file; its lines may end in LF or CR LF
    // (or not at all, for the last). Each record gets `end` appended; longer
    // lines are split into several records rather than cut short. Empty
    // lines are skipped. nullopt with `error` set when the file cannot be
    // read or is larger than kMaxFileSize.
    static std::optional<PollRecords> fromFile(const std::filesystem::path& file, RecordEnd end,
                                               std::string& error,
                                               std::size_t maxLength = kMaxRecordLength);

    // `count` made-up bar-code reads tagged with the terminal's address.
    static PollRecords generated(int count, char address, RecordEnd end);

    // Adds one line as record(s), as fromFile does.
    void addLine(std::string_view line);

    bool empty() const { return records_.empty(); }
    std::size_t pending() const { return records_.size(); }
    std::size_t delivered() const { return delivered_; }
    const std::string& front() const { return records_.front(); }
    // The first `most` records (fewer when there are fewer), in order.
    std::vector<std::string> front(std::size_t most) const;
    // The front record was acknowledged.
    void consumeFront();

    // Every record has a number, 1 for the first ever and one more for each
    // after it, kept across restarts with the records (save, load).
    uint32_t frontNumber() const { return frontNumber_; }
    // Drops the records through `number`: the host has them.
    void dropThrough(uint32_t number);

    // The numbering and the records not yet acknowledged, as a file (written
    // beside and put in place, so a kill leaves the old or the new one).
    bool save(const std::filesystem::path& file) const;
    // nullopt when there is no such file; `error` set when it cannot be read.
    static std::optional<PollRecords> load(const std::filesystem::path& file, RecordEnd end,
                                           std::size_t maxLength, std::string& error);

    RecordEnd end() const { return end_; }

private:
    RecordEnd end_;
    std::size_t maxLength_ = kMaxRecordLength;
    std::deque<std::string> records_;
    std::size_t delivered_ = 0;
    uint32_t frontNumber_ = 1;
};

}  // namespace termsim

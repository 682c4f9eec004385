// Where polling stands with the terminals that number their records, kept
// beside the polled-data file (its name with ".numbers" added), so that a
// crash, a kill or a power cut neither loses nor repeats a record:
//  - before a record goes to the polled-data file, a line about it (address,
//    number, length, checksum) goes to the end of the numbers file;
//  - a commit (at the end of a terminal's batch, after kMostUncommitted
//    records and at the end of a run) syncs those notes, then the
//    polled-data file, then
//    replaces the numbers file whole, synced, by the last number stored per
//    terminal and the data file's length. Only after that may the terminals
//    hear of it and drop the records;
//  - at the start of a run the lines after the last commit are checked
//    against what follows that length in the data file: records found there
//    count as stored (their terminal was not told and sends them again, to
//    be dropped), the rest never reached the disk (the terminal still has
//    them).
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.hpp"

namespace zelo::link {

class PollNumbers {
public:
    static constexpr std::size_t kMostUncommitted = 32;
    static constexpr std::size_t kMaxFileBytes = 1 << 20;

    PollNumbers(platform::Platform& environment, std::string dataPath);

    // Reads what an earlier run kept and checks its last records against
    // the data file. An unreadable numbers file counts as none.
    void Recover();
    // Notes the record about to be written (number 0: not numbered), and
    // then that it was written whole.
    bool Note(char address, uint32_t number, std::string_view line);
    void Wrote(char address, uint32_t number);
    // Syncs `data` and keeps the numbers; false when either failed, and
    // then nothing may be reported to the terminals.
    bool Commit(platform::AppendFile& data);

    std::size_t Uncommitted() const { return uncommitted_; }
    // The numbers committed and not yet reported to the link, which are
    // then counted as reported.
    std::map<char, uint32_t> TakeUnreported();
    uint32_t StoredThrough(char address) const;

private:
    std::string Text(std::int64_t dataLength) const;

    platform::Platform& environment_;
    std::string dataPath_;
    std::string path_;
    std::unique_ptr<platform::AppendFile> journal_;
    std::map<char, uint32_t> written_;   // in the data file, maybe not synced
    std::map<char, uint32_t> stored_;    // committed
    std::map<char, uint32_t> reported_;  // told to the link
    std::size_t uncommitted_ = 0;
};

// The checksum of a record's line in the numbers file (FNV-1a, 32 bits).
uint32_t LineChecksum(std::string_view line);

}  // namespace zelo::link

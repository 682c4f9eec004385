// A group download (protocol version 3), the link's side: one file sent once
// to every member on the line, each member then asked what it lacks and sent
// only that, and each complete copy checked at its end by CRC-32 and length.
// A member that falls silent, answers wrongly or gains nothing round after
// round gets its own failure and is not waited for again, so it never holds
// back the others; the caller finishes it one by one (version 2).
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "group_messages.hpp"
#include "link_line.hpp"
#include "wire_message.hpp"

namespace pendra {

class GroupDownload {
public:
    // Asks one terminal stop-and-wait, with the link's serials and repeats.
    using Ask = std::function<Outcome(const wire::Request&)>;

    // The most a group holds of a file in memory for its repairs; past it
    // every member fails (refused) and goes on one by one.
    static constexpr std::size_t kMaxFile = std::size_t{64} << 20;
    // Rounds in a row in which a member holds no byte more before it fails.
    static constexpr int kRoundsWithoutGain = 4;

    struct Member {
        char address = 0;
        bool finished = false;
        uint8_t result = 0;   // once finished: 4 kept, else its failure
        uint32_t prefix = 0;  // the file's bytes it was last known to hold from the start
        uint32_t heldInAll = 0;
        int roundsWithoutGain = 0;
    };

    GroupDownload(LinkLine& line, Ask ask) : line_(line), ask_(std::move(ask)) {}

    // Asks each of `candidates` to join group `group`; those that accept
    // are the members, in order. False for a line that failed meanwhile.
    bool open(uint8_t group, const std::vector<char>& candidates, bool packing);
    // The candidates of the last open whose join went unanswered (silent,
    // damaged), with that failure: they may have joined unheard.
    const std::vector<std::pair<char, uint8_t>>& unanswered() const { return unanswered_; }
    bool active() const { return !members_.empty(); }
    // Drops the group; sends nothing.
    void close();
    // The file's first `length` bytes as the group has them.
    std::string_view sent(uint32_t length) const {
        return std::string_view(file_).substr(0, std::min<std::size_t>(length, file_.size()));
    }
    const std::vector<Member>& members() const { return members_; }

    // The file's next bytes: sent to the group in frames as they fill.
    // 4 taken, 130 stopped, 254 the line failed.
    uint8_t data(std::string_view bytes);
    // One round: the last frames, then each member not finished asked what
    // it lacks, the complete ones given the checked end, the rest sent what
    // they lack. 2 call again, 6 every member finished, 254 the line failed
    // (every member not finished then fails with it).
    uint8_t finish();

private:
    // Sends the bytes [from, to) of the file to `address` in frames, each
    // packed when that makes it carry more. 4, 130 or 254.
    uint8_t sendRange(uint64_t from, uint64_t to, char address);
    // Asks `member` what it lacks; its ranges, clipped to the file, or none
    // when it finished meanwhile (the checked end given, or a failure).
    std::vector<wire::ByteRange> askLack(Member& member);
    // Waits until the frames sent are at most `ahead` of the line: a port
    // that takes bytes faster than the line carries them (a pseudo-terminal,
    // a network line) must not gather frames the members then hear long
    // after the host stopped waiting for them. False when stopped.
    bool awaitLine(std::chrono::milliseconds ahead);
    void fail(Member& member, uint8_t status);
    void failAllOpen(uint8_t status);
    // A sending that was stopped or lost the line ends every member not
    // finished with its status; finish() then returns 254 for the line, 6
    // (every member finished) otherwise.
    uint8_t endAfterFailedSending(uint8_t status);

    LinkLine& line_;
    Ask ask_;
    uint8_t group_ = 0;
    bool packing_ = false;
    std::vector<Member> members_;
    std::vector<std::pair<char, uint8_t>> unanswered_;
    std::string file_;
    std::size_t sent_ = 0;  // bytes of the file sent to the group
    bool flushed_ = false;
    bool tooLong_ = false;
    LinkLine::TimePoint lineFreeAt_{};  // when the frames sent have crossed the line
};

}  // namespace pendra

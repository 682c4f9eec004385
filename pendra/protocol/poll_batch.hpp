// Several poll records in one reply payload. A lone record goes as it is,
// exactly as a one-record reply (so a record of the full 255 bytes still
// fits); several go as a list of entries, each its length in one byte and
// then its bytes, and the reply's flag bit says which form it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frame.hpp"
#include "wire_message.hpp"

namespace pendra::wire {

struct PackedRecords {
    std::string payload;
    bool listed = false;      // the payload is a list of entries
    std::size_t records = 0;  // how many of the records it holds
};

// As many records from the front of `records` as fit one payload, at most
// `most` (at least one). The first record always goes, in the lone form
// when it is the only one that fits. Nothing when `records` is empty or
// its first record is longer than kMaxPayload.
PackedRecords packRecords(const std::vector<std::string>& records, std::size_t most,
                          std::size_t room = kMaxPayload);

// The records of a reply payload in the form `listed` says. nullopt when a
// list does not add up exactly: no entry, an entry longer than the bytes
// left, or more than kMaxPollBatch entries.
std::optional<std::vector<std::string>> unpackRecords(const std::string& payload, bool listed);

// Numbered records (a reply with kNumberedRecords): the number of the first
// record in four bytes (big-endian), then the records as above; the others
// follow it one by one. Numbers start at 1 and only grow.
struct NumberedRecords {
    uint32_t first = 0;
    std::vector<std::string> records;
};
PackedRecords packNumberedRecords(uint32_t first, const std::vector<std::string>& records,
                                  std::size_t most);
// nullopt when the number is missing or 0, the records do not add up, or
// the last number would pass 2^32 - 1.
std::optional<NumberedRecords> unpackNumberedRecords(const std::string& payload, bool listed);

// The batch request's payload and what a terminal reads from it.
std::string batchRequestPayload(std::size_t most, std::optional<uint32_t> storedThrough,
                                const std::string& callerBytes);
struct BatchAsked {
    std::size_t most = 1;
    std::optional<uint32_t> storedThrough;  // set when numbered records are asked for
    std::string callerBytes;
};
BatchAsked readBatchRequest(const std::string& payload);

}  // namespace pendra::wire

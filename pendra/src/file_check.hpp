// What a terminal should hold of a download: the length and CRC-32 of the
// bytes the caller was told were delivered since the file was announced,
// with the CRC kept at the latest packet boundaries, so that a resume to one
// of them goes on from the right CRC. Pure bookkeeping, no I/O.
#pragma once

#include <cstdint>
#include <map>
#include <string_view>

namespace pendra {

class FileCheck {
public:
    // Resumes go back a few packets at most; older boundaries are dropped.
    static constexpr std::size_t kMaxCheckpoints = 1024;

    // A new file, empty so far.
    void start();
    // Nothing known: the file's end goes without a check.
    void forget();
    bool known() const { return known_; }

    // The caller counts `bytes` as delivered after what came before.
    void add(std::string_view bytes);
    // The terminal keeps the first `offset` bytes and takes the rest again.
    // False, and nothing known any more, when `offset` is not a boundary
    // still remembered.
    bool cutTo(uint64_t offset);

    uint64_t length() const { return length_; }
    uint32_t crc() const { return crc_; }

private:
    bool known_ = false;
    uint64_t length_ = 0;
    uint32_t crc_ = 0;
    std::map<uint64_t, uint32_t> checkpoints_;  // length -> CRC of the bytes before it
};

}  // namespace pendra

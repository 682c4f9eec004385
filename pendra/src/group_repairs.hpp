// What to send again after a round of asking a group's members what they
// lack: each range once, to the group when two or more members lack it
// (every member hears the group), else to the one member that does. Pure
// bookkeeping, no I/O.
#pragma once

#include <cstdint>
#include <vector>

#include "group_messages.hpp"

namespace pendra {

struct MemberLack {
    char address = 0;
    std::vector<wire::ByteRange> missing;  // ascending and apart
};

struct Repair {
    wire::ByteRange range;
    char address = 0;  // wire::kGroupAddress or one member's own
};

// In file order; neighbouring pieces for the same address are joined.
std::vector<Repair> planRepairs(const std::vector<MemberLack>& lacks);

}  // namespace pendra

#include "group_repairs.hpp"

#include <algorithm>

namespace pendra {

std::vector<Repair> planRepairs(const std::vector<MemberLack>& lacks) {
    // Every place where some member's lack starts or ends cuts the file into
    // pieces that each the same members lack.
    std::vector<uint64_t> cuts;
    for (const MemberLack& lack : lacks) {
        for (const wire::ByteRange& range : lack.missing) {
            cuts.push_back(range.offset);
            cuts.push_back(range.end());
        }
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());

    std::vector<Repair> repairs;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        const uint64_t from = cuts[i];
        const uint64_t to = cuts[i + 1];
        std::size_t lacking = 0;
        char only = 0;
        for (const MemberLack& lack : lacks) {
            const bool lacksPiece = std::any_of(
                lack.missing.begin(), lack.missing.end(), [&](const wire::ByteRange& range) {
                    return range.offset <= from && to <= range.end();
                });
            if (lacksPiece) {
                ++lacking;
                only = lack.address;
            }
        }
        if (lacking == 0) continue;
        const char address = lacking >= 2 ? wire::kGroupAddress : only;
        if (!repairs.empty() && repairs.back().address == address &&
            repairs.back().range.end() == from) {
            repairs.back().range.length += static_cast<uint32_t>(to - from);
            continue;
        }
        repairs.push_back(
            {{static_cast<uint32_t>(from), static_cast<uint32_t>(to - from)}, address});
    }
    return repairs;
}

}  // namespace pendra

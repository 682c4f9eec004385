// The poll-batch reply parser and the batch request's reader on any payload
// from the line: no crash, no read past a buffer, never more records than a
// batch holds, and what parses packs back to the same payload.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "poll_batch.hpp"

using namespace pendra::wire;

namespace {

void require(bool holds) {
    if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the form, as the reply's flag bit would.
    const bool listed = (data[0] & 1) != 0;
    const std::string payload(reinterpret_cast<const char*>(data + 1), size - 1);

    if (const auto records = unpackRecords(payload, listed)) {
        require(!records->empty() && records->size() <= kMaxPollBatch);
        if (listed && records->size() > 1 && payload.size() <= kMaxPayload) {
            const PackedRecords packed = packRecords(*records, kMaxPollBatch);
            require(packed.listed && packed.records == records->size() &&
                    packed.payload == payload);
        }
    }
    if (const auto numbered = unpackNumberedRecords(payload, listed)) {
        require(numbered->first != 0 && !numbered->records.empty() &&
                numbered->records.size() <= kMaxPollBatch);
        require(numbered->records.size() - 1 <= UINT32_MAX - numbered->first);
    }
    const BatchAsked asked = readBatchRequest(payload);
    require(asked.most >= 1 && asked.most <= kMaxPollBatch);
    require(asked.callerBytes.size() <= payload.size());
    return 0;
}

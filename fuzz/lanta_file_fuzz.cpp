// The Lanta configuration file reader from any bytes: no crash and no read
// beyond the text; a record it builds always holds whole fields within the
// limits the terminals take, and a refusal names a line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "dialogs/lanta_record.hpp"

using namespace zelo::dialogs;

namespace {

void require(bool holds) {
    if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const LantaRecordResult result = BuildLantaRecord(text, "fuzz.K40");
    switch (result.kind) {
        case LantaRecordResult::Kind::kRefused:
            require(result.record.empty());
            require(!result.message.empty());
            break;
        case LantaRecordResult::Kind::kNoFields:
        case LantaRecordResult::Kind::kBuilt: {
            // Two delimiters, the field count, ten bytes a field, the end.
            require(result.record.size() >= 3);
            const int fields = static_cast<unsigned char>(result.record[2]) - 64;
            require(fields >= 0 && static_cast<std::size_t>(fields) <= kMaxLantaFields);
            require(result.record.size() == 3 + 10 * static_cast<std::size_t>(fields) + 1);
            for (int k = 0; k < fields; ++k) {
                const int length = static_cast<unsigned char>(
                                       result.record[11 + 10 * static_cast<std::size_t>(k)]) -
                                   64;
                require(length >= 0 && length <= kMaxLantaFieldLength);
            }
            break;
        }
    }
    return 0;
}

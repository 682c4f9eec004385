// Packed frames and packets from the line (version 3) on any bytes: no
// crash, no read past a buffer, an unpacked frame is exactly the length it
// claims or refused, and whatever is packed unpacks to itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "download_messages.hpp"
#include "packed_bytes.hpp"

using namespace pendra::wire;

namespace {

void require(bool holds) {
    if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The first byte splits the rest into a dictionary and a payload.
    const std::size_t split = size == 0 ? 0 : std::min<std::size_t>(data[0] * 4, size - 1);
    const std::string_view dictionary = input.substr(size == 0 ? 0 : 1, split);
    const std::string_view payload = input.substr(std::min(size, split + 1));

    if (const auto frame = decodePackedData(payload)) {
        if (const auto bytes = unpack(dictionary, frame->packed, frame->rawLength)) {
            require(bytes->size() == frame->rawLength);
        }
    }
    if (const auto packet = decodePackedPacket(payload)) {
        if (const auto bytes = unpack(dictionary, packet->packed, packet->rawLength)) {
            require(bytes->size() == packet->rawLength);
        }
    }
    if (const auto packed = packPrefix(dictionary, payload, kPackedDataBytes, kMaxPackedRaw)) {
        require(packed->bytes.size() <= kPackedDataBytes &&
                packed->bytes.size() < packed->rawLength);
        require(unpack(dictionary, packed->bytes, packed->rawLength) ==
                payload.substr(0, packed->rawLength));
    }
    return 0;
}

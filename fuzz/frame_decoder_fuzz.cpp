// The frame decoder and the message codec on any bytes from the line: no
// crash, no read past a buffer, and every frame found survives a round trip
// through the encoder, and its message through the codec.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "frame.hpp"
#include "message_codec.hpp"

using namespace pendra::wire;

namespace {

void require(bool holds) {
    if (!holds) std::abort();
}

void checkRoundTrip(const Frame& frame) {
    const std::string bytes = encodeFrame(frame);
    require(!bytes.empty());
    FrameDecoder again;
    again.feed(bytes);
    const auto event = again.next();
    require(event && event->kind == FrameDecoder::Kind::Complete && event->frame == frame);

    if (const auto request = requestFromFrame(frame)) {
        const auto encoded = requestFrame(*request, frame.tag);
        require(encoded.has_value());
        const auto decoded = requestFromFrame(*encoded);
        require(decoded && decoded->command == request->command &&
                decoded->payload == request->payload && decoded->argument == request->argument);
    }
    if (frame.direction == Direction::Reply) (void)replyFromFrame(frame);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FrameDecoder decoder;
    // Fed in two pieces, as bytes arrive from a port, split where the
    // first byte says.
    const std::size_t split = size == 0 ? 0 : data[0] % (size + 1);
    decoder.feed(data, split);
    while (auto event = decoder.next()) {
        if (event->kind == FrameDecoder::Kind::Complete) checkRoundTrip(event->frame);
    }
    decoder.feed(data + split, size - split);
    while (auto event = decoder.next()) {
        if (event->kind == FrameDecoder::Kind::Complete) checkRoundTrip(event->frame);
    }
    require(decoder.missingBytes() <= kMaxFrameSize);
    return 0;
}

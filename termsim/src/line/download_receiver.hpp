// The terminal's side of a streamed download (protocol version 2): data
// frames are taken in order of their offsets, each answered with how much of
// the file the terminal holds, so the host learns what arrived and what to
// send again. The checked end keeps the file only when its length and CRC-32
// match what the terminal holds; otherwise the download is dropped and
// refused, and a file of that name from before stays as it was.
#pragma once

#include <cstdint>
#include <optional>

#include "terminal_line.hpp"
#include "wire_message.hpp"

namespace termsim {

class DownloadReceiver {
public:
    // `flipStoredByte`: a test aid; the byte at that offset of every
    // streamed download is stored with its lowest bit flipped, as a terminal
    // with failing memory would, so the end's check must catch it.
    DownloadReceiver(TerminalLine& terminals, std::optional<std::uint64_t> flipStoredByte)
        : terminals_(terminals), flipStoredByte_(flipStoredByte) {}

    // A data frame: the reply to send back, or nullopt to stay silent (a
    // frame past a gap already reported, or nobody at the address).
    std::optional<pendra::wire::Reply> data(const pendra::wire::Request& request);

    // The checked end request: the reply, or nullopt when nobody is at the
    // address.
    std::optional<pendra::wire::Reply> end(const pendra::wire::Request& request);

private:
    pendra::wire::Reply held(uint8_t status, uint8_t epoch, std::uint64_t stored) const;
    // Hands `bytes` to the terminal as a data packet; its status.
    uint8_t store(const pendra::wire::Request& request, std::uint64_t offset, std::string bytes);

    TerminalLine& terminals_;
    std::optional<std::uint64_t> flipStoredByte_;
    // The gap last reported, so that the frames behind it do not each
    // report it again; reported anew once the host goes back.
    char gapAddress_ = 0;
    std::optional<std::uint64_t> gapAt_;
    std::uint64_t gapTrigger_ = 0;
};

}  // namespace termsim

// What the simulator's line side (framing, pacing, fault injection on a
// pseudo-terminal or serial device) asks of the terminals it plays.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "wire_message.hpp"

namespace termsim {

// The answer of the simulated modem to one command line.
struct ModemAnswer {
    std::vector<std::string> lines;  // e.g. "OK", "CONNECT 9600", "NO CARRIER"
    bool connected = false;          // the line now carries frames
    bool hungUp = false;             // the line went back to command mode
};

class TerminalLine {
public:
    virtual ~TerminalLine() = default;

    // A request for the terminal at request.address. nullopt when no
    // terminal answers (no such address, or one told to stay silent): the
    // host then times out.
    virtual std::optional<pendra::wire::Reply> handle(const pendra::wire::Request& request) = 0;

    // Whether the line starts behind a modem in command mode.
    virtual bool hasModem() const = 0;

    // One command line typed to the modem (without its CR).
    virtual ModemAnswer modemCommand(const std::string& line) = 0;

    // Whether a terminal answers at `address`. The line side answers a
    // damaged request with a negative acknowledgement only there, as on a
    // real line only the addressed terminal would.
    virtual bool servesAddress(char /*address*/) const { return true; }

    // For sending upload packets ahead: the packet `ahead` packets past the
    // one the next packet request to `address` would get, without handing
    // it out; empty at the end of the file. nullopt when the terminal has no
    // upload open, or cannot look ahead (it is then served stop-and-wait).
    virtual std::optional<std::string> uploadPacketAhead(char /*address*/, std::size_t /*ahead*/) {
        return std::nullopt;
    }
    // For the check that ends a streamed upload: the whole file the terminal
    // at `address` is sending, and the offset of the packet the next packet
    // request would get. nullopt when no upload is open there.
    struct UploadProgress {
        std::string file;
        std::uint64_t position = 0;
    };
    virtual std::optional<UploadProgress> uploadProgress(char /*address*/) { return std::nullopt; }
    // For packing an upload packet (version 3): the bytes just before the
    // packet `ahead` packets past the position, at most `most` of them and
    // none before where the upload or its resume started, and how many
    // bytes lie between that start and the packet.
    struct UploadHistory {
        std::string bytes;
        std::uint64_t sinceStart = 0;
    };
    virtual std::optional<UploadHistory> uploadHistory(char /*address*/, std::size_t /*ahead*/,
                                                       std::size_t /*most*/) {
        return std::nullopt;
    }

    // For sending poll records in batches: the records the next polls to
    // `address` would get, from the front, at most `most`, without handing
    // them out. Empty when there are none or the terminal cannot look ahead
    // (it is then polled one record per reply).
    virtual std::vector<std::string> pollRecordsAhead(char /*address*/, std::size_t /*most*/) {
        return {};
    }
    // For numbered batches: the number of the record at the front of
    // `address`'s queue (nullopt: the terminal does not number), and the
    // host's word that it has the records through `number`.
    virtual std::optional<uint32_t> pollFrontNumber(char /*address*/) { return std::nullopt; }
    virtual void dropPollRecordsThrough(char /*address*/, uint32_t /*number*/) {}
    // For streamed downloads: how many bytes of its open download the
    // terminal at `address` holds, and the bytes themselves. nullopt when no
    // download is open there.
    virtual std::optional<std::uint64_t> downloadLength(char /*address*/) { return std::nullopt; }
    virtual std::optional<std::string> downloadedBytes(char /*address*/) { return std::nullopt; }
};

}  // namespace termsim

// One link: a serial port, the frame exchange with the terminals on it and
// the modem's command mode. Used from one thread at a time.
//
// The port and the clock come from outside (production: the serial driver
// and steady time), so that tests run the link on a fake of each. The
// version-2 streams have classes of their own (upload_stream.hpp,
// streamed_downloads.hpp, poll_batches.hpp); all of them read and write
// through one LinkLine.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "group_download.hpp"
#include "link_clock.hpp"
#include "link_line.hpp"
#include "modem_lines.hpp"
#include "peer_serials.hpp"
#include "poll_batches.hpp"
#include "serial_port.hpp"
#include "streamed_downloads.hpp"
#include "upload_stream.hpp"
#include "wire_message.hpp"

namespace pendra {

class Link {
public:
    using Outcome = pendra::Outcome;
    // Opens the device at a path with the line's settings.
    using PortOpener = std::function<platform::OpenResult(const std::string& path,
                                                          const platform::LineSettings& settings)>;

    explicit Link(PortOpener openPort = platform::openSerialPort, LinkClock& clock = steadyClock());
    // Tells the terminals of acknowledgements still waiting in a batch of
    // poll records before the port closes.
    ~Link();
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    // Opens the device of COM port `port` with the Pendra_SetupEx
    // characters, closing any port this link held before. False, with the
    // reason traced, when the characters are not known or the device cannot
    // be had.
    bool setup(int32_t port, int16_t baud, int16_t stop, int16_t parity);
    bool connected() const { return line_.connected(); }

    // Sends the request and waits for its reply. A reply that does not come
    // or fails its check makes the link send the same request again under
    // the same serial, which the terminal answers from memory without acting
    // twice, up to retransmissions() times. The status is the terminal's, or
    // one of the link's own results (link_line.hpp), with an empty reply.
    // When the line goes away meanwhile, kResultLineFailure at once.
    Outcome exchange(const wire::Request& request);

    // Repeats of a request after its reply was lost or damaged
    // (PENDRA_RETRANSMISSIONS, 0 to 10; 2 when unset).
    int retransmissions() const { return line_.retransmissions(); }

    // The highest protocol version this link offers (PENDRA_PROTOCOL, 1 or
    // 2; 2 when unset). Version 1 is strict stop-and-wait.
    int protocol() const { return protocol_; }

    // Acknowledges the last reply received from `address`. Nothing is sent
    // when no reply came back from the last request to it.
    int16_t acknowledge(char address);

    // Numbered poll records (see PollBatches::number and ::stored).
    void pollNumber(char address, uint32_t& number, std::size_t& held) const;
    void pollStored(char address, uint32_t number);

    // Group downloads (pendra.h, Pendra_group_open and the calls after it).
    // Gathers those of `addresses` whose accepted announce allows a group
    // transfer and that join; joined[i] says which. How many joined.
    uint8_t groupOpen(const char* addresses, uint8_t count, uint8_t* joined);
    uint8_t groupData(std::string_view bytes);
    // results[i] and held[i] for each address of the open.
    uint8_t groupFinish(int16_t* results, uint32_t* held);
    void groupCancel();

    // Writes a command line to the modem, followed by CR. A line starting
    // with "+++" is sent with guard time: silence, "+++", silence, then the
    // rest of the line (e.g. ATH) when there is one.
    int16_t modemCommand(const std::string& line);

    // Hands out the modem's next answer line; waits at most kModemPollMs.
    struct ModemAnswer {
        int16_t number = 0;  // modemResultNumber of the line, 0 when none
        std::string text;
        bool haveLine = false;
    };
    ModemAnswer modemAnswer();

    static constexpr int kModemPollMs = 20;

private:
    struct Peer {
        PeerSerials serials;
        UploadStream upload;
        PollBatches polls;
    };

    void noteAnswer(const wire::Request& request, Peer& peer, uint8_t serial,
                    const Outcome& outcome, const LinkLine::Timing& timing);
    void flushPollAcknowledgements();

    PortOpener openPort_;
    std::string path_;  // of the device open, for the operator
    int protocol_;
    std::chrono::milliseconds modemGuard_;
    LinkLine line_;
    StreamedDownloads downloads_;
    GroupDownload group_;
    std::string groupAddresses_;  // of the open, in the caller's order
    uint8_t groupNumber_ = 0;
    ModemLineCollector modemLines_;
    std::array<Peer, 256> peers_;
};

}  // namespace pendra

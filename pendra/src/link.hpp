// One link: a serial port, the frame exchange with the terminals on it and
// the modem's command mode. Used from one thread at a time.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "download_stream.hpp"
#include "frame.hpp"
#include "modem_lines.hpp"
#include "platform/serial_port.hpp"
#include "poll_read_ahead.hpp"
#include "upload_window.hpp"
#include "wire_message.hpp"

namespace pendra {

// Results the link produces itself, besides the terminal's own.
inline constexpr uint8_t kResultNak = 5;
inline constexpr uint8_t kResultTimeOut = 130;
inline constexpr uint8_t kResultDamagedReply = 253;
inline constexpr uint8_t kResultLineFailure = 254;  // no open port, device gone, bad argument

class Link {
public:
    Link();
    // Tells the terminals of acknowledgements still waiting in a batch of
    // poll records before the port closes.
    ~Link();

    // Opens the device of COM port `port` with the Pendra_SetupEx
    // characters, closing any port this link held before. False, with the
    // reason traced, when the characters are not known or the device cannot
    // be had.
    bool setup(int32_t port, int16_t baud, int16_t stop, int16_t parity);
    bool connected() const { return port_ != nullptr; }

    // Sends the request and waits for its reply. A reply that does not come
    // or fails its check makes the link send the same request again under
    // the same serial, which the terminal answers from memory without acting
    // twice, up to retransmissions() times. The status is the terminal's, or
    // one of the link's own results above, with an empty reply.
    struct Outcome {
        uint8_t status = kResultTimeOut;
        wire::Reply reply;
    };
    Outcome exchange(const wire::Request& request);

    // Repeats of a request after its reply was lost or damaged
    // (PENDRA_RETRANSMISSIONS, 0 to 10; 2 when unset).
    int retransmissions() const { return retransmissions_; }

    // The highest protocol version this link offers (PENDRA_PROTOCOL, 1 or
    // 2; 2 when unset). Version 1 is strict stop-and-wait.
    int protocol() const { return protocol_; }

    // Acknowledges the last reply received from `address`. Nothing is sent
    // when no reply came back from the last request to it.
    int16_t acknowledge(char address);

    // Numbered poll records (link_poll_batches.cpp): the number of the
    // record handed out last to the caller (0 when the terminal does not
    // number) and how many more are held; and the caller's word that it
    // has the records through `number` on stable storage.
    void pollNumber(char address, uint32_t& number, std::size_t& held) const;
    void pollStored(char address, uint32_t number);

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
    // What the link remembers per terminal address, to number exchanges:
    // every request carries the serial after that of the last reply
    // received, so a request that went unanswered is asked again under the
    // same serial.
    struct Peer {
        uint8_t repliedSerial = 0;  // serial of the last reply received
        bool replied = false;       // a reply came at all since the link was made
        bool acknowledged = false;  // the host acknowledged that reply
        // The terminal accepted an upload and speaks version 2: its
        // packets may stream. Cleared by any other request to it.
        bool uploadMayStream = false;
        std::chrono::milliseconds turnaround{0};  // measured on that acceptance
        UploadWindow window;
        // The last streamed packet handed to the caller, until acknowledged:
        // asked for again before that, it is handed out again.
        std::optional<wire::Reply> handedOut;
        // The terminal polls in version 2 (its poll reply said so): records
        // come in batches, held here.
        bool pollMayBatch = false;
        PollReadAhead pollAhead;
        DownloadStream download;  // version 2 (link_download.cpp)
    };

    bool sendFrame(const wire::Frame& frame);
    void lineFailed(const std::string& why);
    Outcome attempt(const wire::Request& request, const wire::Frame& frame, uint8_t serial,
                    Peer* streaming = nullptr);
    Outcome awaitReply(const wire::Request& request, uint8_t serial, std::size_t requestBytes,
                       Peer* streaming);
    Outcome streamedPacket(const wire::Request& request, Peer& peer);
    // Holds a streamed packet frame when it belongs to `peer`'s window.
    void offerToWindow(const wire::Frame& frame, Peer& peer);
    void collectArrived(char address, Peer& peer);
    // Waits at most `within` for the packet under `serial` to come ahead.
    std::optional<wire::Reply> awaitStreamed(char address, Peer& peer, uint8_t serial,
                                             std::chrono::milliseconds within);
    // Polling in batches (link_poll_batches.cpp).
    Outcome batchedPoll(const wire::Request& request, Peer& peer);
    void settlePollAhead(Peer& peer);
    bool deferAcknowledgement(Peer& peer);
    void flushPollAcknowledgements();
    void noteAnswer(const wire::Request& request, Peer& peer, uint8_t serial,
                    const Outcome& outcome, std::chrono::milliseconds took,
                    std::size_t requestBytes);

    // Version-2 downloads (link_download.cpp). downloadBefore answers a
    // request itself, or settles the stream before it goes as in version 1;
    // downloadAfter learns from the terminal's answer.
    struct StreamNews {
        bool advanced = false;  // the terminal holds more
        bool setback = false;   // frames reported missing or damaged
    };
    std::optional<Outcome> downloadBefore(const wire::Request& request, Peer& peer);
    void downloadAfter(const wire::Request& request, Peer& peer, Outcome& outcome,
                       std::chrono::milliseconds took, std::size_t requestBytes);
    Outcome streamedData(char address, Peer& peer, const std::string& bytes);
    bool pumpDownload(char address, Peer& peer, bool untilSettled);
    bool settleDownload(char address, Peer& peer);
    bool takeDownloadReplies(char address, Peer& peer, int waitMs, StreamNews& news);
    bool streamFailed(Peer& peer, uint8_t status);
    void endStream(Peer& peer);
    std::optional<char> downloadStreaming_;  // the terminal a download streams to

    std::unique_ptr<platform::SerialPort> port_;
    platform::LineSettings settings_;
    wire::FrameDecoder decoder_;
    ModemLineCollector modemLines_;
    std::array<Peer, 256> peers_;
    std::chrono::milliseconds answerAllowance_;
    std::chrono::milliseconds modemGuard_;
    int retransmissions_;
    int protocol_;
};

}  // namespace pendra

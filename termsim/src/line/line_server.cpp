#include "line_server.hpp"

#include <map>
#include <set>
#include <thread>
#include <vector>

#include "delay_line.hpp"
#include "download_receiver.hpp"
#include "exchange_memory.hpp"
#include "frame.hpp"
#include "group_messages.hpp"
#include "group_receiver.hpp"
#include "line_pacer.hpp"
#include "message_codec.hpp"
#include "packed_bytes.hpp"
#include "poll_batches.hpp"
#include "upload_streamer.hpp"

namespace termsim {

namespace wire = pendra::wire;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::size_t kMaxCommandLine = 255;
constexpr int kReadSliceMs = 20;

bool isDownloadStream(wire::Command command) {
    return command == wire::Command::StreamData || command == wire::Command::CheckedEnd ||
           command == wire::Command::PackedData;
}

bool isGroupExchange(wire::Command command) {
    return command == wire::Command::JoinGroup || command == wire::Command::Lacking;
}

bool isGroupFrame(wire::Command command) {
    return command == wire::Command::GroupData || command == wire::Command::GroupPacked;
}

// A download's announce or resume: its acceptance lists the versions spoken.
bool isDownloadAnnounce(const wire::Request& request) {
    return request.command == wire::Command::Text && !request.payload.empty() &&
           request.payload[0] == 'L';
}

}  // namespace

// The state of one run of the server; lives on the serving thread only.
class LineServer::Session {
public:
    Session(LineServer& server)
        : server_(server),
          terminals_(server.terminals_),
          port_(*server.port_),
          counters_(server.counters_),
          faults_(server.options_.faults),
          pacer_(server.options_.baud, *server.port_),
          escapeSilence_(server.options_.modemGuard * 4 / 5),
          commandMode_(server.terminals_.hasModem()),
          think_(server.options_.think),
          streaming_(server.options_.streaming),
          packing_(streaming_ && server.options_.packing && wire::packingAvailable()),
          streamer_(server.terminals_, server.options_.flipUploadByte),
          polls_(server.terminals_),
          receiver_(server.terminals_, server.options_.flipDownloadByte),
          groups_(server.terminals_, server.options_.flipDownloadByte),
          input_(server.options_.oneWayDelay) {
        if (server.options_.oneWayDelay.count() > 0) {
            delayedOutput_ =
                std::make_unique<DelayedWriter>(*server.port_, server.options_.oneWayDelay);
        }
    }

    void run() {
        uint8_t buffer[1024];
        while (!server_.stopping_.load(std::memory_order_acquire)) {
            std::string bytes;
            Clock::time_point since;
            auto status = pendra::platform::ReadStatus::Data;
            if (!pacer_.takeEarlyInput(bytes, since)) {
                std::size_t received = 0;
                const int wait =
                    streamer_.canSend() ? 0 : input_.millisecondsToNext(Clock::now(), kReadSliceMs);
                status = port_.read(buffer, sizeof buffer, wait, received);
                since = Clock::now();
                bytes.assign(reinterpret_cast<const char*>(buffer), received);
            }
            if (status == pendra::platform::ReadStatus::Failed) {
                // The host side is gone for now (a closed device); wait for it.
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                continue;
            }
            if (status == pendra::platform::ReadStatus::Data) {
                if (atWrongSpeed()) {
                    // Sent at another speed than the terminal's: noise to it.
                    counters_.wrongSpeed.fetch_add(1, std::memory_order_relaxed);
                } else if (delayedOutput_) {
                    input_.arrived(std::move(bytes), since);
                } else {
                    take(bytes, since);
                }
            }
            bool took = status == pendra::platform::ReadStatus::Data && !delayedOutput_;
            std::string due;
            Clock::time_point at;
            while (input_.takeDue(Clock::now(), due, at)) {
                take(due, at);
                took = true;
            }
            if (!took) finishEscapeIfSilent(Clock::now());
            if (auto frame = streamer_.nextFrame()) sendAhead(frame->first, frame->second);
        }
    }

private:
    bool atWrongSpeed() const {
        if (!server_.options_.hostSpeed) return false;
        const int32_t speed = server_.options_.hostSpeed();
        return speed != 0 && speed != server_.options_.baud;
    }

    // Bytes that reached the terminal, the first of them at `now`.
    void take(const std::string& bytes, Clock::time_point now) {
        pacer_.arrived(bytes.size(), now);
        if (commandMode_) {
            commandBytes(bytes);
        } else {
            dataBytes(bytes, now);
        }
        lastInput_ = now;
    }

    // --- modem command mode -------------------------------------------------

    void commandBytes(const std::string& bytes) {
        for (char c : bytes) {
            if (!commandMode_) {
                // CONNECT came in the middle of the bytes: the rest are data.
                decoder_.feed(reinterpret_cast<const uint8_t*>(&c), 1);
                continue;
            }
            if (c == '\r') {
                commandLine(line_);
                line_.clear();
            } else if (c != '\n' && line_.size() < kMaxCommandLine) {
                line_.push_back(c);
            }
        }
        if (!commandMode_) frames();
    }

    void commandLine(const std::string& line) {
        if (line.empty()) return;
        counters_.modemLines.fetch_add(1, std::memory_order_relaxed);
        const ModemAnswer answer = terminals_.modemCommand(line);
        std::string text;
        for (const std::string& answerLine : answer.lines) text += answerLine + "\r\n";
        send(text);
        if (answer.connected) {
            commandMode_ = false;
            decoder_.clear();
        }
        if (answer.hungUp) commandMode_ = true;
    }

    // "+++" alone between two guard times leaves data mode.
    void dataBytes(const std::string& bytes, Clock::time_point now) {
        const bool quietBefore = now - lastInput_ >= escapeSilence_;
        if (terminals_.hasModem() && (quietBefore || !pluses_.empty()) &&
            bytes.find_first_not_of('+') == std::string::npos &&
            pluses_.size() + bytes.size() <= 3) {
            pluses_ += bytes;
            return;
        }
        if (!pluses_.empty()) {
            decoder_.feed(pluses_);
            pluses_.clear();
        }
        decoder_.feed(bytes);
        frames();
    }

    void finishEscapeIfSilent(Clock::time_point now) {
        if (pluses_.size() != 3 || now - lastInput_ < escapeSilence_) return;
        pluses_.clear();
        commandMode_ = true;
        line_.clear();
        send("OK\r\n");
    }

    // --- frames ---------------------------------------------------------------

    void frames() {
        while (auto event = decoder_.next()) {
            const wire::Frame& frame = event->frame;
            if (frame.direction != wire::Direction::Request) continue;  // another terminal's
            const uint8_t serial = frame.tag & wire::kSerialMask;
            if (event->kind == wire::FrameDecoder::Kind::Damaged) {
                counters_.damaged.fetch_add(1, std::memory_order_relaxed);
                wire::Request damaged;
                damaged.command = static_cast<wire::Command>(frame.command);
                damaged.address = static_cast<char>(frame.address);
                // Ack frames and group frames are never answered.
                if (damaged.command != wire::Command::Ack && !isGroupFrame(damaged.command) &&
                    terminals_.servesAddress(damaged.address)) {
                    reply(damaged, serial, negativeAcknowledgement(), Fault::None);
                }
                continue;
            }
            auto request = wire::requestFromFrame(frame);
            if (!request) continue;
            counters_.requests.fetch_add(1, std::memory_order_relaxed);
            handle(*request, serial, (frame.tag & wire::kTagFlag) != 0);
        }
    }

    static wire::Reply negativeAcknowledgement() {
        wire::Reply nak;
        nak.status = 5;
        return nak;
    }

    void handle(const wire::Request& request, uint8_t serial, bool flag) {
        if (isGroupFrame(request.command)) {
            if (packing_) groupFrame(request);  // unknown to v2
            return;
        }
        const bool ack = request.command == wire::Command::Ack;
        const Fault fault = faults_.next(ack);
        if (fault != Fault::None) counters_.faults.fetch_add(1, std::memory_order_relaxed);
        if (fault == Fault::Drop) return;
        if (ack) {
            if (streamer_.streaming(request.address)) {
                streamer_.acknowledge(serial);
            } else if (polls_.active(request.address)) {
                polls_.acknowledge(request.address, serial);
            } else if (memory_.acknowledge(request.address, serial)) {
                terminals_.handle(request);
            }
            return;
        }
        if (request.command == wire::Command::StreamPacked && !packing_) return;  // unknown to v2
        if (request.command == wire::Command::StreamPackets && !streaming_)
            return;  // unknown to v1
        // Nor does a version-1 terminal know batches of poll records.
        if (request.command == wire::Command::PollBatch && !streaming_) return;
        if (isDownloadStream(request.command) && !streaming_) return;
        if (request.command == wire::Command::PackedData && !packing_) return;  // unknown to v2
        if (isGroupExchange(request.command) && !packing_) return;              // unknown to v2
        if (fault == Fault::Nak) {
            reply(request, serial, negativeAcknowledgement(), Fault::None);
            return;
        }
        // Any request but the group's own ends the terminal's membership.
        if (!isGroupExchange(request.command)) groups_.leave(request.address);
        if (request.command == wire::Command::StreamData ||
            request.command == wire::Command::PackedData) {
            // Stored as it comes, without a turn of its own.
            counters_.downloadFrames.fetch_add(1, std::memory_order_relaxed);
            if (request.command == wire::Command::PackedData)
                counters_.packedFrames.fetch_add(1, std::memory_order_relaxed);
            if (const auto held = receiver_.data(request)) reply(request, serial, *held, fault);
            return;
        }
        if (think_.count() > 0) sleepUnlessStopped(think_);
        if (request.command == wire::Command::StreamPackets ||
            request.command == wire::Command::StreamPacked) {
            streamRequest(request, serial, flag);
            return;
        }
        if (request.command == wire::Command::PollBatch) {
            batchRequest(request, serial, flag, fault);
            return;
        }
        polls_.otherRequest(request.address, serial, flag);
        if (streamer_.streaming(request.address)) streamer_.end();
        const ExchangeMemory::Decision decision = memory_.arrived(request, serial, flag);
        if (decision.replay) {
            counters_.replayed.fetch_add(1, std::memory_order_relaxed);
            reply(request, serial, *decision.replay, fault);
            return;
        }
        if (decision.ackFirst) {
            counters_.recoveredAcks.fetch_add(1, std::memory_order_relaxed);
            wire::Request lostAck;
            lostAck.command = wire::Command::Ack;
            lostAck.address = request.address;
            terminals_.handle(lostAck);
        }
        auto answer = request.command == wire::Command::CheckedEnd  ? receiver_.end(request)
                      : request.command == wire::Command::JoinGroup ? groups_.join(request)
                      : request.command == wire::Command::Lacking   ? groups_.lack(request)
                                                                    : terminals_.handle(request);
        if (!answer) return;  // nobody at that address
        if (streaming_ && answer->status == 4 &&
            (request.command == wire::Command::UploadRequest || isDownloadAnnounce(request))) {
            answer->payload = {static_cast<char>(wire::kVersionStopAndWait),
                               static_cast<char>(wire::kVersionStreaming)};
            if (packing_) answer->payload += static_cast<char>(wire::kVersionPacked);
        }
        // Version 2: a poll reply's flag says the terminal also polls in batches.
        if (streaming_ && request.command == wire::Command::Poll) answer->more = true;
        memory_.answered(request, serial, *answer);
        reply(request, serial, *answer, fault);
    }

    // Version 2: poll records in batches (poll_batches.hpp). The request's
    // flag may still acknowledge a stop-and-wait reply before it.
    void batchRequest(const wire::Request& request, uint8_t serial, bool flag, Fault fault) {
        if (streamer_.streaming(request.address)) streamer_.end();
        if (memory_.arrived(request, serial, flag).ackFirst) {
            counters_.recoveredAcks.fetch_add(1, std::memory_order_relaxed);
            wire::Request lostAck;
            lostAck.command = wire::Command::Ack;
            lostAck.address = request.address;
            terminals_.handle(lostAck);
        }
        memory_.forget(request.address);
        bool repeated = false;
        const auto answer = polls_.request(request, serial, flag, repeated);
        if (!answer) return;  // nobody at that address
        if (repeated) counters_.replayed.fetch_add(1, std::memory_order_relaxed);
        reply(request, serial, *answer, fault);
    }

    // Version 2: the packets from `serial` on go out ahead, one per turn of
    // the serving loop, so that Ack frames are taken in between.
    void streamRequest(const wire::Request& request, uint8_t serial, bool flag) {
        if (!terminals_.uploadPacketAhead(request.address, 0)) {
            // No upload open (or nobody there): answered as the packet
            // request it stands for, once.
            wire::Request packet = request;
            packet.command = wire::Command::NextPacket;
            const auto answer = terminals_.handle(packet);
            if (answer) reply(request, serial, *answer, Fault::None);
            return;
        }
        memory_.forget(request.address);
        const uint8_t window =
            request.payload.empty() ? 1 : static_cast<uint8_t>(request.payload[0]);
        streamer_.request(request.address, serial, flag, window,
                          request.command == wire::Command::StreamPacked);
    }

    // Version 3: a group frame, heard by every member when it goes to the
    // group, else by the one it is addressed to. Each member meets the
    // line's faults on its own: one may miss a frame another takes.
    void groupFrame(const wire::Request& request) {
        counters_.groupFrames.fetch_add(1, std::memory_order_relaxed);
        std::vector<char> listeners;
        if (request.address == wire::kGroupAddress) {
            listeners = groups_.members();
        } else if (groups_.member(request.address)) {
            listeners.push_back(request.address);
        }
        const auto offset = frameOffset(request);
        for (char member : listeners) {
            const Fault fault = memberFaults(member).next(false);
            const bool missed = fault == Fault::Drop || fault == Fault::Nak ||
                                fault == Fault::Corrupt ||
                                (server_.options_.missesGroupFrame && offset &&
                                 missedBefore_.insert({member, *offset}).second &&
                                 server_.options_.missesGroupFrame(member, *offset));
            if (missed) {
                counters_.groupFramesMissed.fetch_add(1, std::memory_order_relaxed);
                continue;
            }
            groups_.frame(member, request);
        }
    }

    static std::optional<uint32_t> frameOffset(const wire::Request& request) {
        if (request.command == wire::Command::GroupPacked) {
            const auto packed = wire::decodePackedData(request.payload);
            return packed ? std::optional(packed->offset) : std::nullopt;
        }
        const auto data = wire::decodeStreamData(request.payload);
        return data ? std::optional(data->offset) : std::nullopt;
    }

    // Each terminal's own draw of the configured faults, seeded from the
    // line's seed and its address, so a run is reproduced exactly.
    FaultInjector& memberFaults(char address) {
        auto found = memberFaults_.find(address);
        if (found == memberFaults_.end()) {
            FaultSettings settings = faults_.settings();
            settings.seed = settings.seed * 2654435761u + static_cast<uint8_t>(address);
            found = memberFaults_.emplace(address, FaultInjector(settings)).first;
        }
        return found->second;
    }

    void sendAhead(uint8_t serial, const wire::Reply& packet) {
        Fault fault = faults_.next(false);
        if (fault != Fault::None) counters_.faults.fetch_add(1, std::memory_order_relaxed);
        if (fault == Fault::Drop) fault = Fault::Silent;  // lost on its way
        if (fault == Fault::Nak) fault = Fault::None;     // requests only
        wire::Request request;
        request.command = streamer_.command();
        request.address = streamer_.address();
        counters_.streamed.fetch_add(1, std::memory_order_relaxed);
        if (packet.more) counters_.packedPackets.fetch_add(1, std::memory_order_relaxed);
        reply(request, serial, packet, fault);
    }

    void reply(const wire::Request& request, uint8_t serial, const wire::Reply& answer,
               Fault fault) {
        if (fault == Fault::Silent) return;
        const auto frame = wire::replyFrame(request, answer, serial);
        if (!frame) return;  // a payload over 255 bytes cannot be sent
        std::string bytes = wire::encodeFrame(*frame);
        if (fault == Fault::Corrupt) faults_.damage(bytes);
        if (fault == Fault::Late) sleepUnlessStopped(faults_.settings().lateBy);
        counters_.replies.fetch_add(1, std::memory_order_relaxed);
        send(bytes);
    }

    void send(const std::string& bytes) {
        if (bytes.empty()) return;
        pacer_.waitForArrival();
        if (delayedOutput_) {
            pacer_.write(*delayedOutput_, bytes);
        } else {
            pacer_.write(port_, bytes);
        }
    }

    void sleepUnlessStopped(std::chrono::milliseconds time) {
        const auto until = Clock::now() + time;
        while (Clock::now() < until && !server_.stopping_.load(std::memory_order_acquire)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    LineServer& server_;
    TerminalLine& terminals_;
    pendra::platform::SerialPort& port_;
    LineCounters& counters_;
    FaultInjector faults_;
    LinePacer pacer_;
    ExchangeMemory memory_;
    wire::FrameDecoder decoder_;
    const Clock::duration escapeSilence_;
    bool commandMode_;
    std::string line_;    // command line being typed
    std::string pluses_;  // a possible escape sequence
    Clock::time_point lastInput_{};
    const std::chrono::milliseconds think_;
    const bool streaming_;
    const bool packing_;
    UploadStreamer streamer_;
    PollBatches polls_;
    DownloadReceiver receiver_;
    GroupReceiver groups_;
    std::map<char, FaultInjector> memberFaults_;
    std::set<std::pair<char, uint32_t>> missedBefore_;  // offsets the test aid was asked about
    DelayedInput input_;
    std::unique_ptr<DelayedWriter> delayedOutput_;  // only when the line has a delay
};

LineServer::LineServer(TerminalLine& terminals, std::unique_ptr<pendra::platform::SerialPort> port,
                       LineOptions options)
    : terminals_(terminals), port_(std::move(port)), options_(std::move(options)) {}

LineServer::~LineServer() { stop(); }

void LineServer::start() {
    stopping_.store(false, std::memory_order_release);
    thread_ = std::thread([this] { run(); });
}

void LineServer::run() {
    Session session(*this);
    session.run();
}

void LineServer::stop() {
    stopping_.store(true, std::memory_order_release);
    if (thread_.joinable()) thread_.join();
}

}  // namespace termsim

#include "network_port.hpp"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "com_port_control.hpp"
#include "network_address.hpp"
#include "stop_check.hpp"
#include "tcp_connection.hpp"
#include "trace.hpp"

namespace pendra::platform {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using telnet::ComPortCommand;

constexpr milliseconds kDefaultStepLimit{3000};
// Each arrival is read in pieces of at most this; line data never grows
// in decoding, so a piece never yields more than a read can take.
constexpr std::size_t kPiece = 4096;
// A connection that keeps sending on a discard is read this often at most.
constexpr int kMaxDiscardReads = 64;
// Room for a short answer to go out without holding the line.
constexpr int kReplyWaitMs = 1000;
constexpr int kFarewellWaitMs = 200;
constexpr int kMaxInUseAttempts = 20;
constexpr milliseconds kInUsePause{100};

int millisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(left);
}

// What a server said before it closed, fit for a sentence: its printable
// characters, at most 80.
std::string quoted(const std::string& said) {
    std::string text;
    for (char c : said) {
        if (text.size() >= 80) break;
        if (c >= 0x20 && c < 0x7F)
            text.push_back(c);
        else if (!text.empty() && text.back() != ' ')
            text.push_back(' ');
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text.empty() ? std::string() : " saying \"" + text + "\"";
}

class NetworkPort final : public SerialPort {
public:
    NetworkPort(std::unique_ptr<TcpConnection> connection, std::string path, bool comPortControl)
        : connection_(std::move(connection)), path_(std::move(path)) {
        if (comPortControl) receiver_ = std::make_unique<telnet::Receiver>();
    }
    NetworkPort(const NetworkPort&) = delete;
    NetworkPort& operator=(const NetworkPort&) = delete;

    ~NetworkPort() override {
        // DTR down at the far end, as a local port drops it when closed,
        // so that a modem there hangs up.
        if (receiver_ && settingsApplied_) {
            const std::string off =
                telnet::comPortCommand(ComPortCommand::SetControl, telnet::kControlDtrOff);
            sendRaw(off, kFarewellWaitMs);
        }
    }

    bool write(const uint8_t* data, std::size_t length, int timeoutMs) override {
        if (!receiver_) return sendRaw(data, length, timeoutMs);
        return sendRaw(telnet::escaped(data, length), timeoutMs);
    }

    ReadStatus read(uint8_t* data, std::size_t capacity, int timeoutMs,
                    std::size_t& received) override {
        received = 0;
        const auto deadline = Clock::now() + milliseconds(timeoutMs);
        while (pending_.empty()) {
            const ReadStatus status = receiveInto(millisecondsUntil(deadline), pending_);
            if (status != ReadStatus::Data) return status;
            if (pending_.empty() && millisecondsUntil(deadline) == 0) return ReadStatus::TimedOut;
        }
        received = std::min(capacity, pending_.size());
        std::copy_n(pending_.begin(), received, data);
        pending_.erase(0, received);
        return ReadStatus::Data;
    }

    // The bytes are with the system once sent; a network line has no
    // output queue of its own to wait for.
    bool drain() override { return true; }

    void discardInput() override {
        std::string dropped;
        for (int i = 0; i < kMaxDiscardReads; ++i) {
            if (receiveInto(0, dropped) != ReadStatus::Data) break;
        }
        pending_.clear();
        // And what the far end received from its device and has not sent yet.
        if (receiver_) {
            sendRaw(telnet::comPortCommand(ComPortCommand::PurgeData, telnet::kPurgeReceived),
                    kReplyWaitMs);
        }
    }

    // Binary both ways and com-port control, then the line settings, DTR and
    // RTS; the server's answers to the settings must match what was asked.
    // None, or the failure with `error` saying why.
    OpenFailure setUp(const LineSettings& settings, milliseconds limit, std::string& error) {
        if (!sendRaw(telnet::openingRequests(), kReplyWaitMs)) {
            error = "the connection failed as it began";
            return OpenFailure::Other;
        }
        std::string said;
        auto deadline = Clock::now() + limit;
        while (!receiver_->ready() && receiver_->refusal().empty()) {
            const auto status = receiveBefore(deadline, said);
            if (!status) {
                error = kStoppedText;
                return OpenFailure::Other;
            }
            if (status == ReadStatus::Failed) {
                error = "the server closed the connection" + quoted(said) +
                        " (another client may hold the port, or its device would not open)";
                return OpenFailure::InUse;
            }
            if (status == ReadStatus::TimedOut) {
                error = "no answer from the server within " + durationText(limit) +
                        " to the request for com-port control (is it a Telnet port with "
                        "RFC 2217? a raw TCP port is socket://)";
                return OpenFailure::Other;
            }
        }
        if (!receiver_->refusal().empty()) {
            error = receiver_->refusal();
            return OpenFailure::Other;
        }
        const char parity = settings.parity == 'O' ? 2 : settings.parity == 'E' ? 3 : 1;
        const std::vector<std::pair<ComPortCommand, std::string>> required = {
            {ComPortCommand::SetBaudRate,
             telnet::baudRateValue(static_cast<uint32_t>(settings.baud))},
            {ComPortCommand::SetDataSize, std::string(1, 8)},
            {ComPortCommand::SetParity, std::string(1, parity)},
            {ComPortCommand::SetStopSize, std::string(1, static_cast<char>(settings.stopBits))},
        };
        std::string requests;
        for (const auto& [command, value] : required) {
            requests += telnet::comPortCommand(command, value);
        }
        // Asked, but not waited for: a device without modem lines (a
        // pseudo-terminal behind ser2net) leaves them unanswered.
        requests +=
            telnet::comPortCommand(ComPortCommand::SetControl, telnet::kControlNoFlowControl);
        requests += telnet::comPortCommand(ComPortCommand::SetControl, telnet::kControlDtrOn);
        requests += telnet::comPortCommand(ComPortCommand::SetControl, telnet::kControlRtsOn);
        requests += telnet::comPortCommand(ComPortCommand::PurgeData, telnet::kPurgeBoth);
        if (!sendRaw(requests, kReplyWaitMs)) {
            error = "the connection failed while the line was being set";
            return OpenFailure::Other;
        }
        std::vector<bool> answered(required.size(), false);
        std::size_t outstanding = required.size();
        deadline = Clock::now() + limit;
        while (outstanding > 0) {
            while (const auto answer = receiver_->takeAnswer()) {
                for (std::size_t i = 0; i < required.size(); ++i) {
                    if (answered[i] || required[i].first != answer->command) continue;
                    if (answer->value != required[i].second) {
                        error = "the server set its port to " +
                                answerText(answer->command, answer->value) + " instead of " +
                                answerText(answer->command, required[i].second);
                        return OpenFailure::SettingsRefused;
                    }
                    answered[i] = true;
                    --outstanding;
                    break;
                }
                if (answer->command == ComPortCommand::SetControl) noteControl(answer->value);
            }
            if (outstanding == 0) break;
            const auto status = receiveBefore(deadline, said);
            if (!status) {
                error = kStoppedText;
                return OpenFailure::Other;
            }
            if (status == ReadStatus::Failed) {
                error =
                    "the server closed the connection while the line was being set" + quoted(said);
                return OpenFailure::Other;
            }
            if (status == ReadStatus::TimedOut) {
                error = "no answer from the server within " + durationText(limit) +
                        " to the line settings";
                return OpenFailure::SettingsRefused;
            }
        }
        settingsApplied_ = true;
        pending_.clear();  // what came before the purge is not this line's
        return OpenFailure::None;
    }

private:
    bool sendRaw(const uint8_t* data, std::size_t length, int timeoutMs) {
        if (connection_->send(data, length, timeoutMs)) return true;
        trace::note(path_ + ": cannot send: the connection failed or stayed full");
        return false;
    }
    bool sendRaw(const std::string& bytes, int timeoutMs) {
        return sendRaw(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), timeoutMs);
    }

    // One arrival before `deadline` (TimedOut once it has passed), looking
    // at the stop check between short waits; nothing when it says to stop.
    std::optional<ReadStatus> receiveBefore(Clock::time_point deadline, std::string& data) {
        for (;;) {
            if (stopAsked()) return std::nullopt;
            const int left = millisecondsUntil(deadline);
            const ReadStatus status = receiveInto(std::min(left, kStopLookMs), data);
            if (status != ReadStatus::TimedOut || left <= kStopLookMs) return status;
        }
    }

    // One arrival: line data appended to `data`, Telnet negotiation
    // answered at once.
    ReadStatus receiveInto(int timeoutMs, std::string& data) {
        uint8_t piece[kPiece];
        std::size_t got = 0;
        const ReadStatus status = connection_->receive(piece, sizeof piece, timeoutMs, got);
        if (status == ReadStatus::Failed) {
            trace::note(path_ + ": the connection was closed or broke");
            return status;
        }
        if (status != ReadStatus::Data) return status;
        if (!receiver_) {
            data.append(reinterpret_cast<const char*>(piece), got);
            return status;
        }
        receiver_->feed(piece, got, data);
        const std::string replies = receiver_->takeReplies();
        if (!replies.empty() && !sendRaw(replies, kReplyWaitMs)) return ReadStatus::Failed;
        return status;
    }

    void noteControl(const std::string& value) {
        if (value.size() != 1) return;
        if (value[0] == telnet::kControlDtrOff) {
            trace::note(path_ + ": the server's port did not raise DTR; carrying on without it");
        }
    }

    static std::string answerText(ComPortCommand command, const std::string& value) {
        const auto byte = [&](std::size_t i) {
            return i < value.size() ? static_cast<uint8_t>(value[i]) : 0u;
        };
        switch (command) {
            case ComPortCommand::SetBaudRate:
                return std::to_string((byte(0) << 24) | (byte(1) << 16) | (byte(2) << 8) |
                                      byte(3)) +
                       " baud";
            case ComPortCommand::SetDataSize: return std::to_string(byte(0)) + " data bits";
            case ComPortCommand::SetParity:
                return byte(0) == 1   ? "no parity"
                       : byte(0) == 2 ? "odd parity"
                       : byte(0) == 3 ? "even parity"
                                      : "parity " + std::to_string(byte(0));
            case ComPortCommand::SetStopSize: return std::to_string(byte(0)) + " stop bit(s)";
            default: return "value " + std::to_string(byte(0));
        }
    }

    std::unique_ptr<TcpConnection> connection_;
    std::string path_;
    std::unique_ptr<telnet::Receiver> receiver_;  // null on a raw TCP line
    std::string pending_;                         // line data received, not yet read
    bool settingsApplied_ = false;
};

OpenResult failed(const std::string& path, OpenFailure failure, const std::string& why) {
    OpenResult result;
    result.failure = failure;
    result.error = path + ": " + why;
    return result;
}

}  // namespace

milliseconds networkStepLimit() {
    const char* text = std::getenv("PENDRA_CONNECT_MS");
    if (text == nullptr || text[0] == 0) return kDefaultStepLimit;
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (end == text || *end != 0 || value < 100 || value > 60'000) return kDefaultStepLimit;
    return milliseconds(value);
}

OpenResult openNetworkPort(const std::string& path, const LineSettings& settings) {
    std::string error;
    const auto address = parseNetworkAddress(path, error);
    if (!address) return failed(path, OpenFailure::NoSuchDevice, error);
    const milliseconds limit = networkStepLimit();
    const bool control = address->kind == NetworkAddress::Kind::ComPortControl;
    // A server keeps its port a moment after a client leaves (ser2net
    // closes the device first) and turns the next client away meanwhile:
    // the speed search and a command right after another meet that, so a
    // port in use is tried again, for at most one step's limit.
    const auto giveUp = Clock::now() + limit;
    for (int attempt = 1;; ++attempt) {
        Connected connected = connectTcp(address->host, address->port, limit);
        if (!connected.connection) {
            if (connected.stopped) return failed(path, OpenFailure::Other, connected.error);
            return failed(
                path,
                connected.error == "unknown host" ? OpenFailure::NoSuchDevice : OpenFailure::Other,
                connected.error);
        }
        if (!control) {
            OpenResult result;
            result.failure = OpenFailure::None;
            result.port =
                std::make_unique<NetworkPort>(std::move(connected.connection), path, false);
            return result;
        }
        OpenResult result =
            setUpComPortLine(std::move(connected.connection), path, settings, limit);
        if (result.failure == OpenFailure::InUse && attempt < kMaxInUseAttempts &&
            Clock::now() + kInUsePause < giveUp && !stopAsked()) {
            std::this_thread::sleep_for(kInUsePause);
            continue;
        }
        return result;
    }
}

OpenResult setUpComPortLine(std::unique_ptr<TcpConnection> connection, const std::string& path,
                            const LineSettings& settings, milliseconds limit) {
    auto port = std::make_unique<NetworkPort>(std::move(connection), path, true);
    std::string error;
    const OpenFailure refused = port->setUp(settings, limit, error);
    if (refused != OpenFailure::None) return failed(path, refused, error);
    OpenResult result;
    result.failure = OpenFailure::None;
    result.port = std::move(port);
    return result;
}

}  // namespace pendra::platform

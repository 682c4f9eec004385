// The simulator's side of the line: reads frames from a serial device or a
// pseudo-terminal, hands each request to the terminals it plays, frames
// their replies back at the line's pace, injects the configured faults, and
// plays the modem's command mode when the line has one.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "fault_injector.hpp"
#include "serial_port.hpp"
#include "terminal_line.hpp"

namespace termsim {

struct LineOptions {
    // Line speed for pacing: bytes travel at baud / 10 per second in both
    // directions. 0: as fast as the device takes them.
    int32_t baud = 0;
    FaultSettings faults;
    // Silence needed before and after "+++" to leave data mode; 80 % of it
    // is accepted, as the host's own timing is not exact.
    std::chrono::milliseconds modemGuard{1000};
    // When set: the speed the host sends at (0 unknown). Bytes that arrive
    // while it differs from `baud` are lost, as a terminal fixed at one
    // speed would hear only noise.
    std::function<int32_t()> hostSpeed;
    // Time bytes take from one end to the other on top of their line time,
    // both ways: a long line or a modem chain.
    std::chrono::milliseconds oneWayDelay{0};
    // Time a terminal takes over each request before it answers.
    std::chrono::milliseconds think{0};
    // Speak protocol version 2 (stream upload packets and download data)
    // besides version 1.
    bool streaming = true;
    // Speak protocol version 3 (packed transfers) as well; only with
    // `streaming`.
    bool packing = true;
    // A test aid (see DownloadReceiver): a byte of every streamed download
    // stored altered.
    std::optional<std::uint64_t> flipDownloadByte;
    // A test aid (see UploadStreamer): a byte of every streamed upload sent
    // altered.
    std::optional<std::uint64_t> flipUploadByte;
    // A test aid: whether the terminal at `member` misses the group frame
    // for `offset` the first time one goes out (on top of the seeded
    // faults), so that a test can choose who lacks what.
    std::function<bool(char member, std::uint32_t offset)> missesGroupFrame;
};

struct LineCounters {
    std::atomic<uint64_t> requests{0};  // request frames that passed their checks
    std::atomic<uint64_t> damaged{0};   // request frames that failed the CRC-16
    std::atomic<uint64_t> replies{0};   // reply frames sent
    std::atomic<uint64_t> replayed{0};
    std::atomic<uint64_t> recoveredAcks{
        0};  // lost Ack frames made good by a request's flag    // replies sent again from memory
    std::atomic<uint64_t> streamed{0};    // upload packet frames sent ahead
    std::atomic<uint64_t> faults{0};      // faults injected
    std::atomic<uint64_t> modemLines{0};  // command lines handed to the modem
    std::atomic<uint64_t> wrongSpeed{0};  // reads lost to a host at another speed

    // Streamed download data frames taken, and how many of them came packed.
    std::atomic<uint64_t> downloadFrames{0};
    std::atomic<uint64_t> packedFrames{0};
    // Upload packets sent packed.
    std::atomic<uint64_t> packedPackets{0};
    // Group download frames on the line, and how often a member missed one.
    std::atomic<uint64_t> groupFrames{0};
    std::atomic<uint64_t> groupFramesMissed{0};
};

class LineServer {
public:
    LineServer(TerminalLine& terminals, std::unique_ptr<pendra::platform::SerialPort> port,
               LineOptions options);
    LineServer(const LineServer&) = delete;
    LineServer& operator=(const LineServer&) = delete;
    ~LineServer();

    // Serves on a thread of its own until stop() or destruction.
    void start();
    // Serves on the calling thread until requestStop() or stop().
    void run();
    // Asks the serving loop to end within its read slice (20 ms); only
    // stores an atomic flag, so a signal handler may call it.
    void requestStop() noexcept { stopping_.store(true, std::memory_order_release); }
    // Ends serving and waits for the thread that start() made.
    void stop();

    const LineCounters& counters() const { return counters_; }

private:
    class Session;

    TerminalLine& terminals_;
    std::unique_ptr<pendra::platform::SerialPort> port_;
    LineOptions options_;
    LineCounters counters_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace termsim

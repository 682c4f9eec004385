// Payload throughput of the link layer as a fraction of the line rate:
// uploads of 255-byte packets (Pendra_ESC_Y + Pendra_ACK) and downloads of
// 120-byte packets (Pendra_DBG "Y" + escaped bytes + Pendra_ACK), through
// libpendra and the simulator's line server on a pseudo-terminal paced at
// 9600 and 57600 baud, for text and for random binary data.
//
// Usage: link_throughput [seconds per run, default 4]
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <random>
#include <string>

#include "escaped_form.hpp"
#include "line_server.hpp"
#include "pendra.h"
#include "pseudo_terminal.hpp"

namespace {

using Clock = std::chrono::steady_clock;
namespace wire = pendra::wire;

constexpr int32_t kPort = 42;

// A terminal that serves one upload and takes downloaded packets.
class BenchTerminal : public termsim::TerminalLine {
public:
    explicit BenchTerminal(std::string upload) : upload_(std::move(upload)) {}

    std::optional<wire::Reply> handle(const wire::Request& request) override {
        std::lock_guard<std::mutex> guard(mutex_);
        wire::Reply reply;
        switch (request.command) {
            case wire::Command::Ack:
                offset_ += pending_;
                pending_ = 0;
                return std::nullopt;
            case wire::Command::NextPacket:
                pending_ = std::min<std::size_t>(255, upload_.size() - offset_);
                reply.status = pending_ == 0 ? 3 : 1;
                reply.payload = upload_.substr(offset_, pending_);
                return reply;
            case wire::Command::Text: reply.status = 4; return reply;
            default: return std::nullopt;
        }
    }
    bool hasModem() const override { return false; }
    termsim::ModemAnswer modemCommand(const std::string&) override { return {}; }

private:
    std::mutex mutex_;
    std::string upload_;
    std::size_t offset_ = 0;
    std::size_t pending_ = 0;
};

std::string sampleData(bool binary, std::size_t size) {
    std::mt19937 random(1);
    const char* words = "the quick brown fox jumps over the lazy dog 0123456789\r\n";
    std::string data;
    for (std::size_t i = 0; i < size; ++i) {
        data.push_back(binary ? static_cast<char>(random() & 0xFF) : words[i % std::strlen(words)]);
    }
    return data;
}

struct Run {
    std::size_t payloadBytes = 0;
    double seconds = 0;

    double percentOf(double bytesPerSecond) const {
        return seconds > 0 ? 100.0 * static_cast<double>(payloadBytes) / seconds / bytesPerSecond
                           : 0;
    }
};

Run upload(PendraHandle h, double budgetSeconds) {
    Run run;
    const auto start = Clock::now();
    for (;;) {
        char buf[256] = "Y";
        uint8_t n = 1;
        const int16_t result = Pendra_ESC_Y(h, 'A', buf, &n);
        if (result != 1 || n == 0) break;
        run.payloadBytes += n;
        Pendra_ACK(h, 'A');
        run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (run.seconds > budgetSeconds) break;
    }
    return run;
}

Run download(PendraHandle h, const std::string& data, double budgetSeconds) {
    Run run;
    const auto start = Clock::now();
    for (std::size_t offset = 0; offset + 120 <= data.size(); offset += 120) {
        const std::string text = "Y" + zelo::escaped(std::string_view(data).substr(offset, 120));
        char buf[256] = {};
        std::memcpy(buf, text.data(), text.size());
        uint8_t n = static_cast<uint8_t>(text.size());
        if (Pendra_DBG(h, 'A', buf, &n) != 4) break;
        Pendra_ACK(h, 'A');
        run.payloadBytes += 120;
        run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (run.seconds > budgetSeconds) break;
    }
    return run;
}

bool measure(int32_t baud, char speedCharacter, bool binary, double budgetSeconds) {
    const std::size_t size = static_cast<std::size_t>(baud / 10 * budgetSeconds * 2);
    const std::string data = sampleData(binary, size);
    BenchTerminal terminal(data);
    std::string error;
    auto pty = termsim::PseudoTerminal::create(error);
    if (!pty) {
        std::fprintf(stderr, "link_throughput: %s\n", error.c_str());
        return false;
    }
    ::setenv(("PENDRA_PORT" + std::to_string(kPort)).c_str(), pty->slavePath().c_str(), 1);
    termsim::LineOptions options;
    options.baud = baud;
    termsim::LineServer server(terminal, pty->takeMaster(), options);
    server.start();

    const PendraHandle h = Pendra_Create();
    if (Pendra_SetupEx(h, kPort, speedCharacter, '1', 'N') == 0) {
        std::fprintf(stderr, "link_throughput: cannot open %s\n", pty->slavePath().c_str());
        Pendra_Destroy(h);
        return false;
    }
    const double lineRate = baud / 10.0;  // bytes per second, 8N1
    const Run up = upload(h, budgetSeconds);
    const Run down = download(h, data, budgetSeconds);
    Pendra_Destroy(h);
    server.stop();

    const char* kind = binary ? "binary" : "text";
    std::printf("%6d baud  %-6s  upload   255-byte packets: %7zu bytes in %5.2f s = %5.1f %%\n",
                baud, kind, up.payloadBytes, up.seconds, up.percentOf(lineRate));
    std::printf("%6d baud  %-6s  download 120-byte packets: %7zu bytes in %5.2f s = %5.1f %%\n",
                baud, kind, down.payloadBytes, down.seconds, down.percentOf(lineRate));
    return up.payloadBytes > 0 && down.payloadBytes > 0;
}

}  // namespace

int main(int argc, char** argv) {
    const double budget = argc > 1 ? std::atof(argv[1]) : 4.0;
    if (budget <= 0) {
        std::fprintf(stderr, "usage: link_throughput [seconds per run]\n");
        return 2;
    }
    std::printf("Payload as a fraction of the line rate (baud / 10 bytes per second)\n");
    bool ok = true;
    for (const auto& [baud, character] : {std::pair{9600, '7'}, std::pair{57600, 'A'}}) {
        for (bool binary : {false, true}) ok = measure(baud, character, binary, budget) && ok;
    }
    return ok ? 0 : 1;
}

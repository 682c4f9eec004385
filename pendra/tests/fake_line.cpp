#include "fake_line.hpp"

#include <algorithm>
#include <cstring>

namespace pendra::testing {

namespace {

class FakePort final : public platform::SerialPort {
public:
    explicit FakePort(std::shared_ptr<FakeLine> line) : line_(std::move(line)) {
        line_->open = true;
    }
    ~FakePort() override { line_->open = false; }

    bool write(const uint8_t* data, std::size_t length, int /*timeoutMs*/) override {
        if (line_->failsNow()) return false;
        const std::string bytes(reinterpret_cast<const char*>(data), length);
        line_->fromHost.feed(bytes);
        bool framed = false;
        while (auto event = line_->fromHost.next()) {
            framed = true;
            const wire::Frame& request = event->frame;
            line_->requests.push_back(request);
            if (!line_->terminals) continue;
            for (const wire::Frame& reply : line_->terminals(request)) {
                line_->arrive(wire::encodeFrame(reply), line_->clock.now());
            }
        }
        if (!framed && line_->modem) {
            line_->fromHost.clear();
            line_->arrive(line_->modem(bytes), line_->clock.now());
        }
        return true;
    }

    platform::ReadStatus read(uint8_t* data, std::size_t capacity, int timeoutMs,
                              std::size_t& received) override {
        received = 0;
        if (line_->failsNow()) return platform::ReadStatus::Failed;
        FakeLine& line = *line_;
        const auto until = line.clock.now() + std::chrono::milliseconds(timeoutMs);
        if (line.incoming.empty() || line.incoming.front().first > until) {
            line.clock.sleepFor(std::chrono::milliseconds(timeoutMs));
            return platform::ReadStatus::TimedOut;
        }
        if (line.incoming.front().first > line.clock.now()) {
            line.clock.sleepFor(std::chrono::duration_cast<std::chrono::milliseconds>(
                line.incoming.front().first - line.clock.now()));
        }
        received = line.take(data, capacity);
        return platform::ReadStatus::Data;
    }

    bool drain() override { return !line_->failsNow(); }

    void discardInput() override {
        FakeLine& line = *line_;
        while (!line.incoming.empty() && line.incoming.front().first <= line.clock.now()) {
            line.incoming.pop_front();
        }
    }

private:
    std::shared_ptr<FakeLine> line_;
};

}  // namespace

void FakeLine::arrive(const std::string& bytes, LinkClock::TimePoint at) {
    if (bytes.empty()) return;
    lastArrival = std::max(lastArrival, at) + frameGap;
    incoming.emplace_back(lastArrival, bytes);
}

std::size_t FakeLine::take(uint8_t* out, std::size_t capacity) {
    std::size_t taken = 0;
    while (taken < capacity && !incoming.empty() && incoming.front().first <= clock.now()) {
        std::string& bytes = incoming.front().second;
        const std::size_t n = std::min(capacity - taken, bytes.size());
        std::memcpy(out + taken, bytes.data(), n);
        taken += n;
        bytes.erase(0, n);
        if (bytes.empty()) incoming.pop_front();
    }
    return taken;
}

bool FakeLine::failsNow() {
    if (failAt > 0 && operations >= failAt) {
        ++afterFailure;
        return true;
    }
    ++operations;
    return failAt > 0 && operations == failAt;
}

std::unique_ptr<Link> linkOn(const std::shared_ptr<FakeLine>& line) {
    auto link = std::make_unique<Link>(
        [line](const std::string&, const platform::LineSettings&) {
            platform::OpenResult opened;
            opened.port = std::make_unique<FakePort>(line);
            opened.failure = platform::OpenFailure::None;
            return opened;
        },
        line->clock);
    link->setup(1, '7', '1', 'N');
    return link;
}

wire::Frame replyTo(const wire::Frame& request, uint8_t status, std::string payload, int serial,
                    bool more) {
    wire::Frame reply;
    reply.direction = wire::Direction::Reply;
    reply.address = request.address;
    reply.command = request.command;
    reply.status = status;
    const uint8_t tag = serial < 0 ? request.tag : static_cast<uint8_t>(serial);
    reply.tag = static_cast<uint8_t>((tag & wire::kSerialMask) | (more ? wire::kTagFlag : 0));
    reply.payload = std::move(payload);
    return reply;
}

}  // namespace pendra::testing

#include "upload_window.hpp"

#include <algorithm>

#include "frame.hpp"

namespace pendra {

namespace {

uint8_t distance(uint8_t from, uint8_t to) {
    return static_cast<uint8_t>((to - from) & wire::kSerialMask);
}

}  // namespace

void UploadWindow::start(uint8_t size) {
    stop();
    active_ = true;
    size_ = std::clamp<uint8_t>(size, 1, wire::kMaxUploadWindow);
}

void UploadWindow::stop() {
    active_ = false;
    for (auto& reply : held_) reply.reset();
}

bool UploadWindow::hold(uint8_t serial, uint8_t next, wire::Reply reply) {
    if (!active_) return false;
    const uint8_t ahead = distance(next, serial);
    if (ahead >= size_) return false;
    held_[serial & wire::kSerialMask] = std::move(reply);
    return true;
}

std::optional<wire::Reply> UploadWindow::take(uint8_t serial) {
    auto& slot = held_[serial & wire::kSerialMask];
    std::optional<wire::Reply> reply = std::move(slot);
    slot.reset();
    return reply;
}

uint8_t UploadWindow::sizeFor(long long turnaroundMs, long long frameMs) {
    const long long frame = std::max(frameMs, 1LL);
    const long long frames = (std::max(turnaroundMs, 0LL) + frame - 1) / frame;
    return static_cast<uint8_t>(std::clamp<long long>(frames + 2, 2, wire::kMaxUploadWindow));
}

}  // namespace pendra

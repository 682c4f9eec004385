#include "download_window.hpp"

#include <algorithm>

#include "download_messages.hpp"
#include "frame.hpp"
#include "packed_bytes.hpp"
#include "wire_message.hpp"

namespace pendra {

namespace {

// Bytes gathered before a packed frame is made: enough for the longest
// prefix a frame may stand for.
constexpr std::size_t kPackingBatch = 4096;

}  // namespace

void DownloadWindow::start(uint8_t epoch, uint32_t offset, uint8_t size, bool packing) {
    stop();
    packing_ = packing;
    active_ = true;
    epoch_ = epoch;
    size_ = std::clamp<uint8_t>(size, 1, wire::kMaxUploadWindow);
    acknowledged_ = offset;
}

void DownloadWindow::stop() {
    active_ = false;
    frames_.clear();
    queued_.clear();
    history_.clear();
    next_ = 0;
    sent_ = 0;
}

void DownloadWindow::queue(std::string_view bytes) {
    queued_ += bytes;
    const std::size_t batch = packing_ ? kPackingBatch : wire::kStreamDataBytes;
    while (queued_.size() >= batch) makeFrame();
}

void DownloadWindow::flush() {
    while (!queued_.empty()) makeFrame();
}

void DownloadWindow::makeFrame() {
    Frame frame;
    std::size_t length = std::min(queued_.size(), wire::kStreamDataBytes);
    if (packing_) {
        auto packed = wire::packPrefix(history_, queued_, wire::kPackedDataBytes,
                                       std::min(kPackingBatch, wire::kMaxPackedRaw));
        // Packed only when the frame then carries at least what a raw one
        // would: incompressible bytes go raw, never longer.
        if (packed && packed->rawLength >= length) {
            length = packed->rawLength;
            frame.packed = std::move(packed->bytes);
            frame.dictionary =
                static_cast<uint16_t>(std::min(history_.size(), wire::kMaxDictionary));
        }
        history_.append(queued_, 0, length);
        if (history_.size() > 2 * wire::kMaxDictionary) {
            history_.erase(0, history_.size() - wire::kMaxDictionary);
        }
    }
    frame.offset = frames_.empty()
                       ? acknowledged_
                       : frames_.back().offset + static_cast<uint32_t>(frames_.back().bytes.size());
    frame.bytes = queued_.substr(0, length);
    frame.serial = nextSerial_;
    nextSerial_ = static_cast<uint8_t>((nextSerial_ + 1) & wire::kSerialMask);
    queued_.erase(0, length);
    frames_.push_back(std::move(frame));
}

const DownloadWindow::Frame* DownloadWindow::nextToSend() const {
    if (!active_ || next_ >= frames_.size() || next_ >= size_) return nullptr;
    return &frames_[next_];
}

void DownloadWindow::markSent() {
    if (next_ < frames_.size()) ++next_;
    sent_ = std::max(sent_, next_);
}

bool DownloadWindow::held(uint8_t epoch, uint32_t stored) {
    if (!active_ || epoch != epoch_) return false;
    if (stored == acknowledged_) return true;
    // Only a length at the end of a frame already sent is one the terminal
    // can hold (also one sent before a go-back, answered late).
    std::size_t through = 0;
    while (through < sent_ && frames_[through].offset + frames_[through].bytes.size() != stored) {
        ++through;
    }
    if (through == sent_) return false;
    const std::size_t done = through + 1;
    frames_.erase(frames_.begin(), frames_.begin() + static_cast<std::ptrdiff_t>(done));
    next_ = next_ > done ? next_ - done : 0;
    sent_ -= done;
    acknowledged_ = stored;
    return true;
}

void DownloadWindow::goBack() { next_ = 0; }

void DownloadWindow::goBackTo(uint8_t serial) {
    for (std::size_t i = 0; i < sent_; ++i) {
        if (frames_[i].serial == serial) {
            next_ = std::min(next_, i);
            return;
        }
    }
}

}  // namespace pendra

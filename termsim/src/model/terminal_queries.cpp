// What a terminal tells about itself: memory sizes, directories, identity,
// firmware version, whether a file exists; and the program-area size, whose
// reply is read like a query's.
#include <algorithm>
#include <cstdio>

#include "reply_status.hpp"
#include "simulated_terminal.hpp"

namespace termsim {

using pendra::wire::Reply;

namespace {

// A number as exactly `width` decimal digits, held at the largest number
// that fits: the host reads fixed positions and cannot take more digits.
std::string fixedDigits(std::uint64_t value, int width) {
    std::uint64_t largest = 1;
    for (int i = 0; i < width; ++i) largest *= 10;
    char text[24];
    std::snprintf(text, sizeof text, "%0*llu", width,
                  static_cast<unsigned long long>(std::min(value, largest - 1)));
    return text;
}

std::uint64_t kilobytesUsed(std::uint64_t bytes) { return (bytes + 1023) / 1024; }

std::uint64_t freeKb(std::uint64_t totalKb, std::uint64_t usedKb) {
    return totalKb > usedKb ? totalKb - usedKb : 0;
}

// A reply text goes back in the host's 128-byte request buffer, from its
// third byte and zero-terminated.
constexpr std::size_t kMaxReplyText = 125;

}  // namespace

Reply SimulatedTerminal::memorySizes() const {
    const ModelProfile& model = profile();
    const std::uint64_t total = config_.ramKb.value_or(model.ramKb);
    const std::uint64_t programArea = settings_.programAreaKb;
    const std::uint64_t free = freeKb(total, programArea + kilobytesUsed(ram_.usedBytes()));
    switch (model.sizeLayout) {
        case SizeLayout::ThreeDigits:
            return textReply(fixedDigits(total, 3) + fixedDigits(programArea, 3) +
                             fixedDigits(free, 3));
        case SizeLayout::FourDigits:
            return textReply(fixedDigits(total, 4) + fixedDigits(programArea, 4) +
                             fixedDigits(free, 4));
        case SizeLayout::ThreeDigitsEms: {
            const std::uint64_t emsTotal = config_.emsKb.value_or(model.emsKb);
            const std::uint64_t emsFree = freeKb(emsTotal, kilobytesUsed(ems_.usedBytes()));
            return textReply(fixedDigits(total, 3) + fixedDigits(programArea, 3) +
                             fixedDigits(free, 3) + fixedDigits(emsTotal, 4) +
                             fixedDigits(emsFree, 4));
        }
    }
    return statusReply(status::kIllegal);
}

Reply SimulatedTerminal::flashSizes() const {
    const std::uint64_t total = config_.flashKb.value_or(profile().flashKb);
    return textReply(fixedDigits(total, 4) +
                     fixedDigits(freeKb(total, kilobytesUsed(flash_.usedBytes())), 4));
}

Reply SimulatedTerminal::flashListing() const {
    // Whole names only: a listing cut inside a name would offer the user a
    // file that does not exist.
    std::string listing;
    for (const auto& name : flash_.list()) {
        const std::size_t needed = name.size() + (listing.empty() ? 0 : 1);
        if (listing.size() + needed > kMaxReplyText) break;
        if (!listing.empty()) listing += ',';
        listing += name;
    }
    return textReply(listing);
}

Reply SimulatedTerminal::firmwareVersion() const {
    const std::string text(config_.versionText.value_or(std::string(profile().versionText)));
    if (text.empty()) return statusReply(status::kNone);
    return textReply(text.substr(0, kMaxReplyText));
}

Reply SimulatedTerminal::terminalId() const {
    const std::string text(config_.idText.value_or(std::string(profile().idText)));
    if (text.empty()) return statusReply(status::kNone);
    return textReply(text.substr(0, kMaxReplyText));
}

Reply SimulatedTerminal::fileExists(std::string_view request) const {
    const auto file = parseTerminalFileName(request, false);
    if (!file) return statusReply(status::kRefused);
    const FileStore* store = storeFor(file->drive);
    if (store == nullptr) return statusReply(status::kRefused);
    if (auto size = store->sizeOf(file->name)) {
        return {status::kDone, std::to_string(*size), false};
    }
    if (file->drive == Drive::Ram) {
        if (auto size = flash_.sizeOf(file->name)) {
            return {status::kInFlash, std::to_string(*size), false};
        }
    }
    return statusReply(status::kRefused);
}

// The host appends an entry only while the flag is set, and stops at the
// first reply without it; so every reply that carries an entry sets the flag
// (the last entry too) and the reply after the last carries neither.
Reply SimulatedTerminal::directoryFirst() {
    listing_ = ram_.list();
    listingNext_ = 0;
    return directoryNext();
}

Reply SimulatedTerminal::directoryNext() {
    if (listingNext_ >= listing_.size()) return {status::kReplyText, {}, false};
    return {status::kReplyText, listing_[listingNext_++], true};
}

Reply SimulatedTerminal::setProgramArea(std::string_view digits) {
    if (digits.size() != 3 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        ++settings_.illegalRequests;
        return statusReply(status::kIllegal);
    }
    const unsigned size =
        static_cast<unsigned>((digits[0] - '0') * 100 + (digits[1] - '0') * 10 + (digits[2] - '0'));
    // The program area can only be moved while the RAM disk is empty.
    if (!ram_.list().empty()) return textReply("1");
    if (size > config_.ramKb.value_or(profile().ramKb)) return textReply("2");
    settings_.programAreaKb = size;
    return textReply("0");
}

}  // namespace termsim

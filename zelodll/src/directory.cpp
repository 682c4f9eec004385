// Directory listings of a terminal's RAM disk and flash ROM: file names
// joined by ",", written into the caller's ZELO_LISTING_SIZE-byte buffer.
#include <array>
#include <cstring>

#include "c_boundary.hpp"
#include "caller_buffers.hpp"
#include "link_interface.hpp"
#include "single_request.hpp"
#include "stop_cuts.hpp"
#include "zelodll.h"

namespace zelo {

namespace {

constexpr std::size_t kFindAreaSize = 512;

// The link layer's directory walk: one entry per call, and a flag that says
// whether more entries follow. The work area is the link layer's own and is
// kept from the first call to the last.
class DirectoryWalk {
public:
    explicit DirectoryWalk(int32_t address) : address_(linkAddress(address)) {}

    int16_t first() {
        return Pendra_FindFirst(linkHandle(), address_, work_.data(), entry_.data(), &more_);
    }
    int16_t next() {
        entry_.fill(0);
        return Pendra_FindNext(linkHandle(), address_, work_.data(), entry_.data(), &more_);
    }

    // The entry text, never read past the entry buffer.
    std::string_view entry() const {
        const void* end = std::memchr(entry_.data(), 0, entry_.size());
        return {entry_.data(),
                end ? static_cast<std::size_t>(static_cast<const char*>(end) - entry_.data())
                    : entry_.size()};
    }
    bool moreFollow() const { return more_ != 0; }

private:
    int16_t address_;
    std::array<char, kFindAreaSize> work_{};
    std::array<char, kFindAreaSize> entry_{};
    uint8_t more_ = 0;
};

// Appends the entries to the listing. The entry that arrives with a clear
// flag ends the walk unwritten; so does one that no longer fits the
// listing, while the result stays the link's.
int16_t listEntries(DirectoryWalk& walk, ListingWriter& listing) {
    int16_t linkResult = walk.first();
    if (linkResult != 1) return linkResult;
    for (;;) {
        if (!listing.append(walk.entry())) return linkResult;
        linkResult = walk.next();
        if (walk.moreFollow() && !listing.append(",")) return linkResult;
        if (linkResult != 1 || !walk.moreFollow()) return linkResult;
    }
}

}  // namespace

}  // namespace zelo

using namespace zelo;

extern "C" {

int32_t ZELO_API HM_dir(int32_t port, int32_t address, char* listing) try {
    // The caller's buffer holds a text from an earlier call; clear it.
    if (listing != nullptr) clearLeadingBytes(listing, strnlen(listing, ZELO_LISTING_SIZE));
    ListingWriter writer(listing, ZELO_LISTING_SIZE);
    DirectoryWalk walk(address);
    const StopCutsWaits stopCuts;  // the program's probe for a terminal
    SentResult sent =
        sendWrapped(port, address, Wrap::OffThenOn, [&] { return listEntries(walk, writer); });
    return translate(sent, {PENDRA_REPLY});
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_dir_ROM(int32_t port, int32_t address, char* listing) try {
    clearLeadingBytes(listing, 4);
    RequestBuffer<128> request;
    request.assign("D/ROM");
    SentResult sent = sendWrapped(port, address, Wrap::OffThenOn, textRequest(address, request));
    if (sent == PENDRA_REPLY) {
        if (request.length > 2)
            ListingWriter(listing, ZELO_LISTING_SIZE).append(request.replyText());
        return ZELO_OK;
    }
    return translate(sent, {});
} catch (...) {
    return zelo::failedInsideLibrary();
}

}  // extern "C"

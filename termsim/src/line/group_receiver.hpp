// The terminal's side of a group download (protocol version 3): a terminal
// with a download open joins the group the host names, takes the group's
// frames as they come (in any order: a frame past a gap is held aside, a
// packed one too until the bytes before it, its dictionary, are held), never
// answers them, and tells when asked which ranges it still lacks. Any other
// request to the terminal ends its membership; the checked end is the one
// of a streamed download (DownloadReceiver).
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "download_messages.hpp"
#include "terminal_line.hpp"
#include "wire_message.hpp"

namespace termsim {

class GroupReceiver {
public:
    // Held aside per terminal at most, in bytes as they came and in frames:
    // past either, a frame is dropped and the host sends it again later.
    static constexpr std::size_t kMaxAsideBytes = std::size_t{1} << 20;
    static constexpr std::size_t kMaxAsideFrames = 4096;

    // `flipStoredByte`: the test aid of DownloadReceiver, for group
    // downloads too.
    GroupReceiver(TerminalLine& terminals, std::optional<std::uint64_t> flipStoredByte)
        : terminals_(terminals), flipStoredByte_(flipStoredByte) {}

    // The join request: the reply, or nullopt when nobody is at the address.
    std::optional<pendra::wire::Reply> join(const pendra::wire::Request& request);
    // Whether the terminal at `address` belongs to a group now.
    bool member(char address) const { return members_.count(address) != 0; }
    // The terminals that belong to a group now, in address order.
    std::vector<char> members() const;
    // A group frame (GroupData or GroupPacked) that reached the terminal at
    // `address`; taken when it belongs to the frame's group.
    void frame(char address, const pendra::wire::Request& request);
    // The lack question: the reply, or nullopt when nobody is at the address.
    std::optional<pendra::wire::Reply> lack(const pendra::wire::Request& request);
    // Another request reached the terminal: it is no member any more.
    void leave(char address) { members_.erase(address); }

private:
    struct Aside {
        uint32_t length = 0;  // file bytes it stands for
        std::string raw;      // when sent raw
        std::optional<pendra::wire::PackedData> packed;
        std::size_t footprint() const { return raw.size() + (packed ? packed->packed.size() : 0); }
    };
    struct Membership {
        uint8_t group = 0;
        std::map<uint64_t, Aside> aside;  // by offset, all past the length held
        std::size_t asideBytes = 0;
    };

    // Stores what of the frame at `offset` lies past `stored`, the length the
    // terminal holds; false when it cannot (unpacking failed, refused).
    bool take(char address, uint64_t offset, const Aside& frame, uint64_t stored);
    // Takes every frame held aside that now follows on.
    void takeAside(char address, Membership& membership);

    TerminalLine& terminals_;
    std::optional<std::uint64_t> flipStoredByte_;
    std::map<char, Membership> members_;
};

}  // namespace termsim

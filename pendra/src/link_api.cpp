// The link layer's exported functions: argument checks, the caller's buffer
// forms, and the handle table. Each call becomes one exchange on a Link.
// No exception crosses this interface: each export is a function-try-block
// whose handler returns the call's failure value (0 or 254).
//
// Buffer forms written when a reply arrives (any status); a call that ends
// in 130, 253 or 254 leaves the caller's buffer and length as they were:
//   Pendra_DBG           buf: address, the request's first character, the
//                        reply text, a zero; at most 128 bytes in all (the
//                        caller's buffer may be 128 bytes). *n = 2 + text.
//   Pendra_POLL          the record from buf[0], at most 128 bytes, a zero
//                        after it when it is shorter. *n = its length.
//   Pendra_ESC_I/R/J     the text from buf[0], at most 127 bytes and a zero.
//   Pendra_ESC_Y         the packet from buf[0], at most 255 bytes, a zero
//                        after it. *n = its length.
//   Pendra_FindFirst/Next entry: at most 511 bytes and a zero; *more 0 or 1.
//                        The work area is not used.
#define PENDRA_BUILDING
#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "last_open_error.hpp"
#include "link.hpp"
#include "pendra.h"
#include "platform/stop_check.hpp"

namespace pendra {
namespace {

using wire::Command;

constexpr std::size_t kTextReplyBuffer = 128;
constexpr std::size_t kPacketBuffer = 256;
constexpr std::size_t kEntryBuffer = 512;

// The caller's stop check, asked through the platform's one (stop_check.hpp).
std::atomic<PendraStopCheck> callerStopCheck{nullptr};

bool askCaller() {
    const PendraStopCheck check = callerStopCheck.load(std::memory_order_acquire);
    return check != nullptr && check() != 0;
}

struct HandleTable {
    std::mutex mutex;
    std::map<PendraHandle, std::shared_ptr<Link>> links;
    PendraHandle next = 1;
};

HandleTable& handles() {
    static HandleTable table;
    return table;
}

std::shared_ptr<Link> linkFor(PendraHandle h) {
    HandleTable& table = handles();
    std::lock_guard<std::mutex> guard(table.mutex);
    const auto found = table.links.find(h);
    return found == table.links.end() ? nullptr : found->second;
}

char addressOf(int16_t a) { return static_cast<char>(a & 0xFF); }

bool repliedFromTerminal(uint8_t status) {
    return status != kResultTimeOut && status != kResultDamagedReply &&
           status != kResultLineFailure;
}

// One exchange; `reply` receives the terminal's reply when there was one.
int16_t exchange(PendraHandle h, Command command, int16_t a, std::string payload,
                 wire::Reply* reply = nullptr, int16_t argument = 0) {
    const auto link = linkFor(h);
    if (!link) return kResultLineFailure;
    wire::Request request;
    request.command = command;
    request.address = addressOf(a);
    request.argument = argument;
    request.payload = std::move(payload);
    Link::Outcome outcome;
    try {
        outcome = link->exchange(request);
    } catch (...) {  // out of memory: no exception crosses the C interface
        return kResultLineFailure;
    }
    if (reply != nullptr && repliedFromTerminal(outcome.status)) *reply = std::move(outcome.reply);
    return outcome.status;
}

// A caller's text of `length` bytes, refused when it does not fit a frame.
bool textArgument(const char* text, int16_t length, std::string& out) {
    if (length < 0 || length > static_cast<int16_t>(wire::kMaxPayload)) return false;
    if (length > 0 && text == nullptr) return false;
    out.assign(text == nullptr ? "" : text, static_cast<std::size_t>(length));
    return true;
}

int16_t textRequest(PendraHandle h, Command command, int16_t a, const char* text, int16_t length) {
    std::string payload;
    if (!textArgument(text, length, payload)) return kResultLineFailure;
    return exchange(h, command, a, std::move(payload));
}

// Copies a reply payload to buf from `offset`, with room for `capacity`
// bytes in all; a zero follows when it fits. Returns the bytes copied.
std::size_t copyReply(const std::string& payload, char* buf, std::size_t offset,
                      std::size_t capacity, bool zeroAlways) {
    const std::size_t room = capacity - offset - (zeroAlways ? 1 : 0);
    const std::size_t length = std::min(payload.size(), room);
    if (length > 0) std::memcpy(buf + offset, payload.data(), length);
    if (offset + length < capacity) buf[offset + length] = 0;
    return length;
}

// The requests that hand a reply back in buf from its first byte.
int16_t bufferRequest(PendraHandle h, Command command, int16_t a, char* buf, uint8_t* n,
                      std::string payload, std::size_t capacity, bool zeroAlways) {
    if (buf == nullptr || n == nullptr) return kResultLineFailure;
    wire::Reply reply;
    const int16_t status = exchange(h, command, a, std::move(payload), &reply);
    if (repliedFromTerminal(static_cast<uint8_t>(status))) {
        *n = static_cast<uint8_t>(copyReply(reply.payload, buf, 0, capacity, zeroAlways));
    }
    return status;
}

int16_t directoryRequest(PendraHandle h, Command command, int16_t a, char* entry, uint8_t* more) {
    if (entry == nullptr || more == nullptr) return kResultLineFailure;
    wire::Reply reply;
    const int16_t status = exchange(h, command, a, {}, &reply);
    if (repliedFromTerminal(static_cast<uint8_t>(status))) {
        copyReply(reply.payload, entry, 0, kEntryBuffer, true);
        *more = reply.more ? 1 : 0;
    }
    return status;
}

}  // namespace
}  // namespace pendra

using namespace pendra;

extern "C" {

PendraHandle PENDRA_API Pendra_Create(void) try {
    auto link = std::make_shared<Link>();
    HandleTable& table = handles();
    std::lock_guard<std::mutex> guard(table.mutex);
    const PendraHandle h = table.next++;
    if (table.next == 0) table.next = 1;
    table.links[h] = std::move(link);
    return h;
} catch (...) {
    return 0;
}

int16_t PENDRA_API Pendra_SetupEx(PendraHandle h, int32_t port, int16_t baud, int16_t stop,
                                  int16_t parity) try {
    const auto link = linkFor(h);
    return link && link->setup(port, baud, stop, parity) ? 1 : 0;
} catch (...) {
    return 0;
}

int16_t PENDRA_API Pendra_Connect(PendraHandle h) try {
    const auto link = linkFor(h);
    return link && link->connected() ? 1 : 0;
} catch (...) {
    return 0;
}

void PENDRA_API Pendra_Destroy(PendraHandle h) try {
    std::shared_ptr<Link> link;
    {
        HandleTable& table = handles();
        std::lock_guard<std::mutex> guard(table.mutex);
        const auto found = table.links.find(h);
        if (found == table.links.end()) return;
        link = std::move(found->second);
        table.links.erase(found);
    }
    // The port closes (drained, DTR down, locks released) as `link` goes.
} catch (...) {
    return;
}

int16_t PENDRA_API Pendra_DBG(PendraHandle h, int16_t a, char* buf, uint8_t* n) try {
    if (buf == nullptr || n == nullptr) return kResultLineFailure;
    const std::string request(buf, *n);
    wire::Reply reply;
    const int16_t status = exchange(h, Command::Text, a, request, &reply);
    if (repliedFromTerminal(static_cast<uint8_t>(status))) {
        buf[0] = addressOf(a);
        buf[1] = request.empty() ? 0 : request[0];
        *n = static_cast<uint8_t>(2 + copyReply(reply.payload, buf, 2, kTextReplyBuffer, true));
    }
    return status;
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_POLL(PendraHandle h, int16_t a, char* buf, uint8_t* n) try {
    if (buf == nullptr || n == nullptr) return kResultLineFailure;
    std::string request(buf, std::min<std::size_t>(*n, kTextReplyBuffer));
    return bufferRequest(h, Command::Poll, a, buf, n, std::move(request), kTextReplyBuffer, false);
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_ACK(PendraHandle h, int16_t a) try {
    const auto link = linkFor(h);
    return link ? link->acknowledge(addressOf(a)) : kResultLineFailure;
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_poll_number(PendraHandle h, int16_t a, uint32_t* number,
                                      uint8_t* held) try {
    const auto link = linkFor(h);
    if (!link || number == nullptr || held == nullptr) return PENDRA_LINE_FAILURE;
    std::size_t count = 0;
    link->pollNumber(addressOf(a), *number, count);
    *held = static_cast<uint8_t>(std::min<std::size_t>(count, 255));
    return PENDRA_REPLY;
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_poll_stored(PendraHandle h, int16_t a, uint32_t number) try {
    const auto link = linkFor(h);
    if (!link) return PENDRA_LINE_FAILURE;
    link->pollStored(addressOf(a), number);
    return PENDRA_REPLY;
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

// Group downloads: the link's GroupDownload does the work; here only the
// arguments are checked.
int16_t PENDRA_API Pendra_group_open(PendraHandle h, const char* addresses, uint8_t count,
                                     uint8_t* joined) try {
    const auto link = linkFor(h);
    if (!link || addresses == nullptr || joined == nullptr) return 0;
    return link->groupOpen(addresses, count, joined);
} catch (...) {
    return 0;
}

int16_t PENDRA_API Pendra_group_data(PendraHandle h, const char* data, int16_t length) try {
    const auto link = linkFor(h);
    if (!link || data == nullptr || length < 1 || length > 4096) return PENDRA_LINE_FAILURE;
    return link->groupData(std::string_view(data, static_cast<std::size_t>(length)));
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_group_finish(PendraHandle h, int16_t* results, uint32_t* held) try {
    const auto link = linkFor(h);
    if (!link || results == nullptr || held == nullptr) return PENDRA_LINE_FAILURE;
    return link->groupFinish(results, held);
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_group_cancel(PendraHandle h) try {
    if (const auto link = linkFor(h)) link->groupCancel();
    return PENDRA_REPLY;
} catch (...) {
    return PENDRA_REPLY;
}

int16_t PENDRA_API Pendra_ESC_A(PendraHandle h, int16_t a) try {
    return exchange(h, Command::WarmStart, a, {});
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_ESC_H(PendraHandle h, int16_t a) try {
    return exchange(h, Command::ColdStart, a, {});
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_ESC_0(PendraHandle h, int16_t a, const char* data, int16_t length) try {
    return textRequest(h, Command::Data, a, data, length);
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_ESC_5(PendraHandle h, int16_t old_a, int16_t new_a) try {
    return exchange(h, Command::SetAddress, old_a, {}, nullptr, new_a);
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_ESC_E(PendraHandle h, int16_t a, const char* text, int16_t length) try {
    return textRequest(h, Command::Delete, a, text, length);
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_ESC_X(PendraHandle h, int16_t a, const char* text, int16_t length) try {
    return textRequest(h, Command::Execute, a, text, length);
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_ESC_O(PendraHandle h, int16_t a, const char* text, int16_t length) try {
    return textRequest(h, Command::AutoBoot, a, text, length);
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_ESC_U(PendraHandle h, int16_t a, const char* text, int16_t length) try {
    return textRequest(h, Command::UploadRequest, a, text, length);
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_ESC_I(PendraHandle h, int16_t a, char* buf, uint8_t* n) try {
    return bufferRequest(h, Command::RunningProgram, a, buf, n, {}, kTextReplyBuffer, true);
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_ESC_R(PendraHandle h, int16_t a, char* buf, uint8_t* n) try {
    return bufferRequest(h, Command::TerminalId, a, buf, n, {}, kTextReplyBuffer, true);
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_ESC_J(PendraHandle h, int16_t a, char* buf, uint8_t* n) try {
    if (buf == nullptr || n == nullptr) return kResultLineFailure;
    std::string name(buf, std::min<std::size_t>(*n, kTextReplyBuffer - 1));
    return bufferRequest(h, Command::FileExists, a, buf, n, std::move(name), kTextReplyBuffer,
                         true);
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_ESC_Y(PendraHandle h, int16_t a, char* buf, uint8_t* n) try {
    if (buf == nullptr || n == nullptr) return kResultLineFailure;
    std::string request(buf, *n);
    return bufferRequest(h, Command::NextPacket, a, buf, n, std::move(request), kPacketBuffer,
                         false);
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_ESC_K(PendraHandle h, int16_t a, int16_t code) try {
    return exchange(h, Command::Keypad, a, {}, nullptr, code);
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_ESC_N(PendraHandle h, int16_t a, int16_t digit) try {
    return exchange(h, Command::Buzzer, a, {}, nullptr, digit);
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_FindFirst(PendraHandle h, int16_t a, char* /*work*/, char* entry,
                                    uint8_t* more) try {
    return directoryRequest(h, Command::DirFirst, a, entry, more);
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_FindNext(PendraHandle h, int16_t a, char* /*work*/, char* entry,
                                   uint8_t* more) try {
    return directoryRequest(h, Command::DirNext, a, entry, more);
} catch (...) {
    return PENDRA_LINE_FAILURE;
}

int16_t PENDRA_API Pendra_ModemATCmd(PendraHandle h, const char* command) try {
    const auto link = linkFor(h);
    if (!link || command == nullptr) return 0;
    const std::size_t length = ::strnlen(command, wire::kMaxPayload + 1);
    if (length > wire::kMaxPayload) return 0;
    return link->modemCommand(std::string(command, length));
} catch (...) {
    return 0;
}

int16_t PENDRA_API Pendra_ModemEcho(PendraHandle h, char* buf, int16_t room) try {
    const auto link = linkFor(h);
    if (!link || buf == nullptr || room <= 0) return 0;
    const Link::ModemAnswer answer = link->modemAnswer();
    const std::size_t length =
        std::min<std::size_t>(answer.text.size(), static_cast<std::size_t>(room) - 1);
    if (length > 0) std::memcpy(buf, answer.text.data(), length);
    buf[length] = 0;
    return answer.number;
} catch (...) {
    return 0;
}

int32_t PENDRA_API Pendra_last_error_text(char* buf, int32_t room) {
    static_assert(static_cast<int32_t>(platform::OpenFailure::Other) == PENDRA_OPEN_OTHER);
    static_assert(static_cast<int32_t>(platform::OpenFailure::LineLost) == PENDRA_OPEN_LINE_LOST);
    const OpenError error = lastOpenError();
    if (buf != nullptr && room > 0) {
        const std::size_t length =
            std::min<std::size_t>(error.text.size(), static_cast<std::size_t>(room) - 1);
        if (length > 0) std::memcpy(buf, error.text.data(), length);
        buf[length] = 0;
    }
    return static_cast<int32_t>(error.failure);
}

void PENDRA_API Pendra_set_stop_check(PendraStopCheck check) {
    callerStopCheck.store(check, std::memory_order_release);
    platform::setStopCheck(check != nullptr ? &askCaller : nullptr);
}

}  // extern "C"

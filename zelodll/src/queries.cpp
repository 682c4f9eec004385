// Queries: memory sizes, program area size, firmware version, identity and
// whether a file exists. (The directory listings are in directory.cpp.)
#include <algorithm>
#include <cstring>
#include <string_view>

#include "c_boundary.hpp"
#include "caller_buffers.hpp"
#include "library_state.hpp"
#include "link_interface.hpp"
#include "single_request.hpp"
#include "stop_cuts.hpp"
#include "zelodll.h"

namespace zelo {

namespace {

// The size replies carry fixed-width decimal fields. Each character counts
// as its value minus that of "0", unchecked, as the terminal sends them.
// `position` counts from 1, as the reply layouts are described.
template <std::size_t N>
int32_t decimalField(const RequestBuffer<N>& reply, std::size_t position, std::size_t digits) {
    int32_t value = 0;
    for (std::size_t i = position - 1; i < position - 1 + digits && i < N; ++i) {
        value = value * 10 + (reply.bytes[i] - '0');
    }
    return value;
}

// A reply length in decimal characters, read by the C library's
// text-to-integer rule (leading blanks, a sign, digits up to the first
// other character), clamped to 32 bits.
int32_t lengthFromDigits(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
    }
    if (negative) value = -value;
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

constexpr std::size_t kFileLengthDigits = 14;  // the most a length reply holds

}  // namespace

}  // namespace zelo

using namespace zelo;

extern "C" {

int32_t ZELO_API HM_ram_size(int32_t port, int32_t address, int32_t* total, int32_t* program_area,
                             int32_t* free_size, int32_t* ems_total, int32_t* ems_free) try {
    for (int32_t* out : {total, program_area, free_size, ems_total, ems_free}) storeThrough(out, 0);
    RequestBuffer<256> request;
    request.assign("G");
    SentResult sent = sendWrapped(port, address, Wrap::OffThenOn, textRequest(address, request));
    if (sent != PENDRA_REPLY && sent != PENDRA_ACCEPTED) return translate(sent, {});

    // Three layouts, told apart by the reply's length; the first two
    // characters are the link's and are not read.
    const std::size_t length = request.replyText(0).size();
    if (length >= 19) {
        storeThrough(total, decimalField(request, 3, 3));
        storeThrough(program_area, decimalField(request, 6, 3));
        storeThrough(free_size, decimalField(request, 9, 3));
        storeThrough(ems_total, decimalField(request, 12, 4));
        storeThrough(ems_free, decimalField(request, 16, 4));
    } else if (length == 14) {
        storeThrough(total, decimalField(request, 3, 4));
        storeThrough(program_area, decimalField(request, 7, 4));
        storeThrough(free_size, decimalField(request, 11, 4));
    } else {
        storeThrough(total, decimalField(request, 3, 3));
        storeThrough(program_area, decimalField(request, 6, 3));
        storeThrough(free_size, decimalField(request, 9, 3));
    }
    return ZELO_OK;
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_flash_size(int32_t port, int32_t address, int32_t* total,
                               int32_t* free_size) try {
    storeThrough(total, 0);
    storeThrough(free_size, 0);
    RequestBuffer<256> request;
    request.assign("G/ROM");
    SentResult sent = sendWrapped(port, address, Wrap::OffThenOn, textRequest(address, request));
    if (sent != PENDRA_REPLY && sent != PENDRA_ACCEPTED) return translate(sent, {});
    storeThrough(total, decimalField(request, 3, 4));
    storeThrough(free_size, decimalField(request, 7, 4));
    return ZELO_OK;
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_exe_size(int32_t port, int32_t address, int32_t size) try {
    // Three digits are all the request has room for.
    if (size < 0 || size > 999) return ZELO_UNKNOWN_RESPONSE;
    const char digits[] = {static_cast<char>('0' + size / 100),
                           static_cast<char>('0' + size / 10 % 10),
                           static_cast<char>('0' + size % 10)};
    RequestBuffer<128> request;
    request.assign("F", {digits, sizeof digits});
    SentResult sent = sendWrapped(port, address, Wrap::OffThenOn, textRequest(address, request));
    if (sent != PENDRA_REPLY) return translate(sent, {});
    switch (request.replyCode()) {
        case 0: return ZELO_OK;
        case 1: return ZELO_RAM_DISK_NOT_EMPTY;
        case 2: return ZELO_OUT_OF_MEMORY_SIZE;
        default: return ZELO_UNKNOWN_RESPONSE;
    }
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_firmware_version(int32_t port, int32_t address, char* text) try {
    clearLeadingBytes(text, 4);
    const StopCutsWaits stopCuts;  // the program's probe for a Brisa terminal
    RequestBuffer<128> request;
    request.assign("v");
    SentResult sent = sendWrapped(port, address, Wrap::OffOnly, textRequest(address, request));
    if (sent == PENDRA_REPLY) {
        state().returnSlots[kTextLengthSlot] = copyReplyOut(text, request.replyText());
    }
    return translate(sent, {PENDRA_REPLY}, {{PENDRA_NONE, ZELO_NO_PROGRAM}});
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_terminal_id(int32_t port, int32_t address, char* text) try {
    clearLeadingBytes(text, 4);
    RequestBuffer<128> reply;
    reply.length = 128;
    SentResult sent = sendWrapped(port, address, Wrap::OffOnly, [&] {
        return Pendra_ESC_R(linkHandle(), linkAddress(address), reply.data(), reply.lengthByte());
    });
    if (sent == PENDRA_REPLY)
        state().returnSlots[kTextLengthSlot] = copyReplyOut(text, reply.replyText(0));
    return translate(sent, {PENDRA_REPLY}, {{PENDRA_NONE, ZELO_MORE}});
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_file_exist(int32_t port, int32_t address, const char* name,
                               int32_t* length) try {
    // The name is cut to what the request buffer holds.
    RequestBuffer<128> request;
    request.assign({}, {name ? name : "", std::min<std::size_t>(boundedLength(name, 127), 127)});
    SentResult sent = sendWrapped(port, address, Wrap::OffThenOn, [&] {
        return Pendra_ESC_J(linkHandle(), linkAddress(address), request.data(),
                            request.lengthByte());
    });
    if (sent == PENDRA_DONE || sent == PENDRA_IN_FLASH) {
        const std::size_t digits = std::min<std::size_t>(request.length, kFileLengthDigits);
        storeThrough(length, lengthFromDigits({request.bytes.data(), digits}));
    }
    return translate(sent, {PENDRA_DONE},
                     {{PENDRA_IN_FLASH, ZELO_FILE_IN_FLASH},
                      {PENDRA_REFUSED, ZELO_NO_SUCH_FILE},
                      {PENDRA_ACCEPTED, ZELO_BAD_BLOCK}});
} catch (...) {
    return zelo::failedInsideLibrary();
}

}  // extern "C"

// Control and settings commands: one request each, differing only in the
// request, the power-saving wrap, the pauses and the results that count as
// success. A text that does not fit the buffer its request is built in is
// refused with ZELO_UNKNOWN_RESPONSE before anything is sent.
#include <cstring>
#include <string>

#include "c_boundary.hpp"
#include "caller_buffers.hpp"
#include "escaped_form.hpp"
#include "library_state.hpp"
#include "link_interface.hpp"
#include "single_request.hpp"
#include "zelodll.h"

namespace zelo {

namespace {

using FileNameCall = int16_t(PENDRA_API*)(PendraHandle, int16_t, const char*, int16_t);

// Sends a file or program name with one of the link calls that take a text
// and its length, built in a buffer of N bytes.
template <std::size_t N>
int32_t sendFileName(int32_t port, int32_t address, const char* name, FileNameCall call,
                     std::initializer_list<int32_t> successes,
                     std::initializer_list<LinkMeaning> meanings) {
    RequestBuffer<N> request;
    if (!request.assign({}, callerText(name, N - 1))) return ZELO_UNKNOWN_RESPONSE;
    SentResult sent = sendWrapped(port, address, Wrap::OffThenOn, [&] {
        return call(linkHandle(), linkAddress(address), request.data(), request.length);
    });
    return translate(sent, successes, meanings);
}

// The tables, the clock and the password: a letter and the caller's text.
// The terminal takes a moment to store the setting, and power saving stays
// off afterwards.
int32_t sendSetting(int32_t port, int32_t address, char letter, const char* text) {
    constexpr int32_t kSettlingMs = 100;
    RequestBuffer<128> request;
    if (!request.assign({&letter, 1}, callerText(text, 127))) return ZELO_UNKNOWN_RESPONSE;
    SentResult sent =
        sendWrapped(port, address, Wrap::OffOnly, textRequest(address, request), kSettlingMs);
    return translate(sent, {PENDRA_REPLY, PENDRA_ACCEPTED, PENDRA_DONE},
                     {{PENDRA_REFUSED, ZELO_ILLEGAL_COMMAND}});
}

// Data for the running program, in the escaped form so that no byte of it
// is zero. The whole escaped text is sent, or exactly its first four
// characters when `sendFourCharacters` is set.
int32_t sendData(int32_t port, int32_t address, const char* text, bool sendFourCharacters) {
    constexpr int32_t kPauseMs = 5;
    RequestBuffer<128> request;
    if (!request.assign({}, escaped(callerText(text, 127)))) return ZELO_UNKNOWN_RESPONSE;
    const int16_t length = sendFourCharacters ? 4 : request.length;
    SentResult sent = sendWrapped(port, address, Wrap::OffThenOn, [&] {
        return Pendra_ESC_0(linkHandle(), linkAddress(address), request.data(), length);
    });
    if (!sent) return ZELO_POWER_SAVING_ON;
    HM_time_delay(kPauseMs);
    return translate(sent, {PENDRA_REPLY, PENDRA_ACCEPTED});
}

}  // namespace

}  // namespace zelo

using namespace zelo;

extern "C" {

// ---- Restarts and leaving the protocol -----------------------------------

int32_t ZELO_API HM_warm_start(int32_t port, int32_t address) try {
    constexpr int32_t kRestartPauseMs = 10;
    SentResult sent = sendWrapped(
        port, address, Wrap::OffThenOn,
        [&] { return Pendra_ESC_A(linkHandle(), linkAddress(address)); }, kRestartPauseMs);
    return translate(sent, {PENDRA_ACCEPTED});
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_cold_start(int32_t port, int32_t address) try {
    SentResult sent = sendWrapped(port, address, Wrap::OffOnly,
                                  [&] { return Pendra_ESC_H(linkHandle(), linkAddress(address)); });
    const int32_t code = translate(sent, {PENDRA_ACCEPTED});
    // An answer the command does not know may come from a terminal that is
    // restarting; give it a moment before the caller asks again.
    if (code == ZELO_UNKNOWN_RESPONSE) HM_time_delay(100);
    return code;
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_kermit(int32_t port, int32_t address) try {
    constexpr int32_t kLeavePauseMs = 10;
    RequestBuffer<256> request;
    request.assign("k");
    SentResult sent =
        sendWrapped(port, address, Wrap::OffOnly, textRequest(address, request), kLeavePauseMs);
    return translate(sent, {PENDRA_REPLY, PENDRA_ACCEPTED});
} catch (...) {
    return zelo::failedInsideLibrary();
}

// ---- Polling -------------------------------------------------------------

int32_t ZELO_API HM_poll(int32_t /*port*/, int32_t address, char* record, int32_t* length) try {
    clearLeadingBytes(record, 4);
    RequestBuffer<ZELO_POLL_RECORD_SIZE> buffer;
    buffer.length = 4;
    const int16_t linkResult =
        Pendra_POLL(linkHandle(), linkAddress(address), buffer.data(), buffer.lengthByte());
    if (linkResult == PENDRA_REPLY || linkResult == PENDRA_MORE_DATA) {
        Pendra_ACK(linkHandle(), linkAddress(address));
        storeThrough(length, buffer.length);
        state().returnSlots[kTextLengthSlot] = buffer.length;
        // The record is read as a text; it ends within the buffer whatever
        // the terminal sent.
        buffer.bytes.back() = 0;
        if (record != nullptr) std::memcpy(record, buffer.data(), buffer.bytes.size());
    }
    return translate(linkResult, {PENDRA_REPLY, PENDRA_ACCEPTED},
                     {{PENDRA_MORE_DATA, ZELO_NO_DATA}, {PENDRA_END, ZELO_NO_DATA}});
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_poll_number(int32_t address, uint32_t* number, int32_t* held) try {
    if (number == nullptr || held == nullptr) return ZELO_UNKNOWN_RESPONSE;
    uint8_t count = 0;
    *number = 0;
    *held = 0;
    if (Pendra_poll_number(linkHandle(), linkAddress(address), number, &count) != PENDRA_REPLY)
        return ZELO_UNKNOWN_RESPONSE;
    *held = count;
    return ZELO_OK;
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_poll_stored(int32_t address, uint32_t number) try {
    return Pendra_poll_stored(linkHandle(), linkAddress(address), number) == PENDRA_REPLY
               ? ZELO_OK
               : ZELO_UNKNOWN_RESPONSE;
} catch (...) {
    return zelo::failedInsideLibrary();
}

// ---- Programs and files ----------------------------------------------------

int32_t ZELO_API HM_exec(int32_t port, int32_t address, const char* program) try {
    return sendFileName<256>(port, address, program, Pendra_ESC_X, {PENDRA_DONE},
                             {{PENDRA_REFUSED, ZELO_NO_SUCH_FILE}});
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_run(int32_t port, int32_t address, const char* program) try {
    return sendFileName<256>(port, address, program, Pendra_ESC_X, {PENDRA_DONE},
                             {{PENDRA_REFUSED, ZELO_NO_SUCH_FILE}});
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_delete(int32_t port, int32_t address, const char* file_name) try {
    return sendFileName<256>(port, address, file_name, Pendra_ESC_E, {PENDRA_DONE},
                             {{PENDRA_REFUSED, ZELO_NO_SUCH_FILE}});
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_autoboot(int32_t port, int32_t address, const char* program) try {
    return sendFileName<128>(port, address, program, Pendra_ESC_O, {PENDRA_ACCEPTED, PENDRA_DONE},
                             {{PENDRA_REFUSED, ZELO_ILLEGAL_FILE_NAME}});
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_autoboot_rom(int32_t port, int32_t address, const char* program) try {
    RequestBuffer<128> request;
    std::string name(callerText(program, 127));
    if (!request.assign("O", name + "/ROM")) return ZELO_UNKNOWN_RESPONSE;
    return translate(sendWrapped(port, address, Wrap::OffThenOn, textRequest(address, request)),
                     {PENDRA_REPLY, PENDRA_ACCEPTED, PENDRA_DONE},
                     {{PENDRA_REFUSED, ZELO_ILLEGAL_FILE_NAME}});
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_exec_file(int32_t port, int32_t address, char* text) try {
    RequestBuffer<128> reply;
    SentResult sent = sendWrapped(port, address, Wrap::OffOnly, [&] {
        return Pendra_ESC_I(linkHandle(), linkAddress(address), reply.data(), reply.lengthByte());
    });
    if (sent == PENDRA_REPLY)
        state().returnSlots[kTextLengthSlot] = copyReplyOut(text, reply.replyText(0));
    return translate(sent, {PENDRA_REPLY}, {{PENDRA_NONE, ZELO_NO_PROGRAM}});
} catch (...) {
    return zelo::failedInsideLibrary();
}

// ---- Data for the running program ----------------------------------------

int32_t ZELO_API HM_send_data(int32_t port, int32_t address, const char* text) try {
    return sendData(port, address, text, false);
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_send_data1(int32_t port, int32_t address, const char* text,
                               int32_t /*unused*/) try {
    return sendData(port, address, text, true);
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_sendback(int32_t port, int32_t address, const char* text, char* reply) try {
    RequestBuffer<128> request;
    if (!request.assign("9", callerText(text, 127))) return ZELO_UNKNOWN_RESPONSE;
    request.length = 4;  // the terminal takes "9" and three characters
    SentResult sent = sendWrapped(port, address, Wrap::OffThenOn, textRequest(address, request));
    if (sent == PENDRA_REPLY || sent == PENDRA_ACCEPTED) {
        state().returnSlots[kTextLengthSlot] = copyReplyOut(reply, request.replyText());
    }
    return translate(sent, {PENDRA_REPLY, PENDRA_ACCEPTED});
} catch (...) {
    return zelo::failedInsideLibrary();
}

// ---- Terminal settings -----------------------------------------------------

int32_t ZELO_API HM_set_address(int32_t port, int32_t address, int32_t new_address) try {
    if (!powerSavingOffPart(port, address)) return ZELO_POWER_SAVING_ON;
    const int16_t linkResult =
        Pendra_ESC_5(linkHandle(), linkAddress(address), linkAddress(new_address));
    // Changed or not, the terminal is asked at its new address from now on.
    powerSavingOnPart(port, new_address);
    return translate(linkResult, {PENDRA_DONE}, {{PENDRA_REFUSED, ZELO_ILLEGAL_COMMAND}});
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_ups(int32_t port, int32_t address) try {
    RequestBuffer<128> request;
    request.assign("F");
    return translate(sendWrapped(port, address, Wrap::None, textRequest(address, request)),
                     {PENDRA_REPLY, PENDRA_ACCEPTED, PENDRA_DONE});
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_keypad(int32_t port, int32_t address, int32_t code) try {
    // Small codes are sent as their digit character ("0" for 0).
    const auto sentCode = static_cast<int16_t>(code < 32 ? code + '0' : code);
    SentResult sent = sendWrapped(port, address, Wrap::OffThenOn, [&] {
        return Pendra_ESC_K(linkHandle(), linkAddress(address), sentCode);
    });
    return translate(sent, {PENDRA_REPLY, PENDRA_ACCEPTED, PENDRA_DONE},
                     {{PENDRA_REFUSED, ZELO_ILLEGAL_COMMAND}});
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_system_font(int32_t port, int32_t address, const char* font) try {
    RequestBuffer<128> request;
    if (!request.assign("f", callerText(font, 127))) return ZELO_UNKNOWN_RESPONSE;
    SentResult sent = sendWrapped(port, address, Wrap::OffThenOn, textRequest(address, request));
    if (sent != PENDRA_REPLY) return translate(sent, {});
    switch (request.replyCode()) {
        case 0: return ZELO_OK;
        case 1: return ZELO_ILLEGAL_COMMAND;
        default: return ZELO_TIMEOUT;
    }
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_buzzer(int32_t port, int32_t address, int32_t volume) try {
    const auto digit = static_cast<int16_t>(std::to_string(volume).front());
    SentResult sent = sendWrapped(port, address, Wrap::OffThenOn, [&] {
        return Pendra_ESC_N(linkHandle(), linkAddress(address), digit);
    });
    return translate(sent, {PENDRA_ACCEPTED});
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_term_tab(int32_t port, int32_t address, const char* table) try {
    return sendSetting(port, address, 'T', table);
} catch (...) {
    return zelo::failedInsideLibrary();
}
int32_t ZELO_API HM_comm_tab(int32_t port, int32_t address, const char* table) try {
    return sendSetting(port, address, 'C', table);
} catch (...) {
    return zelo::failedInsideLibrary();
}
int32_t ZELO_API HM_dev_tab(int32_t port, int32_t address, const char* table) try {
    return sendSetting(port, address, 'V', table);
} catch (...) {
    return zelo::failedInsideLibrary();
}
int32_t ZELO_API HM_bar_tab(int32_t port, int32_t address, const char* table) try {
    return sendSetting(port, address, 'B', table);
} catch (...) {
    return zelo::failedInsideLibrary();
}
int32_t ZELO_API HM_date_time(int32_t port, int32_t address, const char* date_time) try {
    return sendSetting(port, address, 'M', date_time);
} catch (...) {
    return zelo::failedInsideLibrary();
}
int32_t ZELO_API HM_password(int32_t port, int32_t address, const char* password) try {
    return sendSetting(port, address, 'P', password);
} catch (...) {
    return zelo::failedInsideLibrary();
}

}  // extern "C"

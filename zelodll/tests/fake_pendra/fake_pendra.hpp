// A scriptable stand-in for the link layer, built as a shared library named
// libpendra so that it takes the real one's place. It records every call the
// terminal command library makes, with the request bytes it was handed, and
// answers with scripted results and reply bytes.
//
// Replies come, in this order of preference, from the responder (when one is
// set and it answers), from the queue of the called function, or from the
// function's default (Create, SetupEx and Connect succeed; every terminal
// request times out with 130, as on a silent line).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#if defined(_WIN32)
#define FAKE_PENDRA_EXPORT __declspec(dllexport)
#else
#define FAKE_PENDRA_EXPORT __attribute__((visibility("default")))
#endif

namespace fake_pendra {

enum class Fn {
    Create,
    SetupEx,
    Connect,
    Destroy,
    DBG,
    POLL,
    ACK,
    ESC_A,
    ESC_H,
    ESC_0,
    ESC_5,
    ESC_E,
    ESC_X,
    ESC_O,
    ESC_U,
    ESC_I,
    ESC_R,
    ESC_J,
    ESC_Y,
    ESC_K,
    ESC_N,
    FindFirst,
    FindNext,
    ModemATCmd,
    ModemEcho,
    GroupOpen,    // request: the addresses offered
    GroupData,    // request: the bytes; answered as any call (default 4, taken)
    GroupFinish,  // one round of repairs
    GroupCancel,  // default 1
};

struct Call {
    Fn fn{};
    uint32_t handle = 0;
    int16_t address = 0;  // a; the old address for ESC_5
    int32_t port = 0;     // SetupEx
    int16_t arg1 = 0;  // SetupEx baud; ESC_5 new address; ESC_K code; ESC_N digit; ModemEcho room
    int16_t arg2 = 0;  // SetupEx stop bits
    int16_t arg3 = 0;  // SetupEx parity
    std::string request;     // the bytes handed in: buf[0, *n), text[0, length), a command line
    int requestLength = -1;  // *n or the length argument as passed, -1 where there is none
};

struct Reply {
    int16_t result = 0;
    std::string bytes;  // written to buf / entry, or appended by ModemEcho
    int length = -1;    // *n on return; -1 means bytes.size()
    uint8_t more = 0;   // FindFirst / FindNext more-flag
};

using Responder = std::function<std::optional<Reply>(const Call&)>;

// A reply with `result`, and `bytes` handed back (`length` as *n, -1 for
// their size).
inline Reply reply(int16_t result, std::string bytes = {}, int length = -1) {
    Reply r;
    r.result = result;
    r.bytes = std::move(bytes);
    r.length = length;
    return r;
}

FAKE_PENDRA_EXPORT void reset();
FAKE_PENDRA_EXPORT void push(Fn fn, Reply reply);
FAKE_PENDRA_EXPORT void pushResults(Fn fn, std::initializer_list<int16_t> results);
FAKE_PENDRA_EXPORT void setDefault(Fn fn, Reply reply);
FAKE_PENDRA_EXPORT void setResponder(Responder responder);
// Numbered poll records (Pendra_poll_number, Pendra_poll_stored), kept out
// of calls(): until set, every record is unnumbered and none held.
struct PollNumbering {
    std::function<std::pair<uint32_t, uint8_t>(int16_t address)> number;  // number, held
    std::function<void(int16_t address, uint32_t number)> stored;
};
FAKE_PENDRA_EXPORT void setPollNumbering(PollNumbering numbering);
// Group downloads (Pendra_group_open, Pendra_group_finish); their calls are
// recorded in calls() all the same. Until set, nobody joins a group and a
// finish fails the line (254).
struct GroupLink {
    // Whether an offered address joins the group.
    std::function<bool(char address)> joins;
    // One round of repairs after the last bytes, `round` counting from 1:
    // 2 for another round, or 6 with each member's result and the length it
    // holds written in the order of the open's addresses (`members`).
    std::function<int16_t(int round, const std::string& members, int16_t* results, uint32_t* held)>
        finish;
};
FAKE_PENDRA_EXPORT void setGroupLink(GroupLink link);

// What Pendra_last_error_text answers until the next reset.
FAKE_PENDRA_EXPORT void setLastError(int32_t reason, const std::string& text);

// What the stop check the library installed says now (false when none);
// a responder asks it as the real link layer does while it waits.
FAKE_PENDRA_EXPORT bool stopCheckSays();

FAKE_PENDRA_EXPORT const std::vector<Call>& calls();
FAKE_PENDRA_EXPORT std::vector<Call> callsOf(Fn fn);
FAKE_PENDRA_EXPORT int count(Fn fn);
FAKE_PENDRA_EXPORT const char* name(Fn fn);

// A readable trace of the calls ("DBG(A,"7")"), one per line, for failure messages.
FAKE_PENDRA_EXPORT std::string transcript();

}  // namespace fake_pendra

#include "fake_pendra.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>

#define PENDRA_BUILDING
#include "pendra.h"

namespace {

// Kept across reset(): the library installs it once, when it creates its link.
std::atomic<PendraStopCheck> installedStopCheck{nullptr};

}  // namespace

namespace fake_pendra {

namespace {

struct Script {
    std::vector<Call> calls;
    std::map<Fn, std::deque<Reply>> queues;
    std::map<Fn, Reply> defaults;
    Responder responder;
    PollNumbering numbering;
    GroupLink group;
    std::string groupMembers;
    int groupRound = 0;
    int32_t lastErrorReason = 0;
    std::string lastErrorText;
};

Script& script() {
    static Script s;
    return s;
}

Reply builtInDefault(Fn fn) {
    Reply r;
    switch (fn) {
        case Fn::Create: r.result = 1; break;
        case Fn::SetupEx:
        case Fn::Connect: r.result = 1; break;
        case Fn::Destroy:
        case Fn::ModemATCmd:
        case Fn::ModemEcho: r.result = 0; break;
        case Fn::GroupData: r.result = 4; break;
        case Fn::GroupCancel: r.result = 1; break;
        default: r.result = 130; break;
    }
    return r;
}

Reply answer(const Call& call) {
    Script& s = script();
    s.calls.push_back(call);
    if (s.responder) {
        if (auto r = s.responder(call)) return *r;
    }
    auto queue = s.queues.find(call.fn);
    if (queue != s.queues.end() && !queue->second.empty()) {
        Reply r = queue->second.front();
        queue->second.pop_front();
        return r;
    }
    auto fallback = s.defaults.find(call.fn);
    return fallback != s.defaults.end() ? fallback->second : builtInDefault(call.fn);
}

Call makeCall(Fn fn, PendraHandle h, int16_t a) {
    Call c;
    c.fn = fn;
    c.handle = h;
    c.address = a;
    return c;
}

// A request in buf with its length in *n; the reply goes back the same way.
int16_t bufferRequest(Fn fn, PendraHandle h, int16_t a, char* buf, uint8_t* n) {
    Call c = makeCall(fn, h, a);
    c.requestLength = *n;
    c.request.assign(buf, *n);
    Reply r = answer(c);
    if (!r.bytes.empty()) std::memcpy(buf, r.bytes.data(), r.bytes.size());
    *n = static_cast<uint8_t>(r.length >= 0 ? r.length : static_cast<int>(r.bytes.size()));
    return r.result;
}

int16_t textRequest(Fn fn, PendraHandle h, int16_t a, const char* text, int16_t length) {
    Call c = makeCall(fn, h, a);
    c.requestLength = length;
    if (text != nullptr && length > 0) c.request.assign(text, static_cast<std::size_t>(length));
    return answer(c).result;
}

int16_t findRequest(Fn fn, PendraHandle h, int16_t a, char* entry, uint8_t* more) {
    Reply r = answer(makeCall(fn, h, a));
    std::size_t size = std::min<std::size_t>(r.bytes.size(), 511);
    std::memcpy(entry, r.bytes.data(), size);
    entry[size] = 0;
    *more = r.more;
    return r.result;
}

}  // namespace

void reset() { script() = Script{}; }
void push(Fn fn, Reply reply) { script().queues[fn].push_back(std::move(reply)); }
void pushResults(Fn fn, std::initializer_list<int16_t> results) {
    for (int16_t result : results) {
        Reply r;
        r.result = result;
        push(fn, r);
    }
}
void setDefault(Fn fn, Reply reply) { script().defaults[fn] = std::move(reply); }
void setResponder(Responder responder) { script().responder = std::move(responder); }
void setPollNumbering(PollNumbering numbering) { script().numbering = std::move(numbering); }
void setGroupLink(GroupLink link) { script().group = std::move(link); }
void setLastError(int32_t reason, const std::string& text) {
    script().lastErrorReason = reason;
    script().lastErrorText = text;
}

bool stopCheckSays() {
    const PendraStopCheck check = installedStopCheck.load();
    return check != nullptr && check() != 0;
}

const std::vector<Call>& calls() { return script().calls; }

std::vector<Call> callsOf(Fn fn) {
    std::vector<Call> out;
    for (const Call& c : script().calls)
        if (c.fn == fn) out.push_back(c);
    return out;
}

int count(Fn fn) {
    return static_cast<int>(std::count_if(script().calls.begin(), script().calls.end(),
                                          [fn](const Call& c) { return c.fn == fn; }));
}

const char* name(Fn fn) {
    static constexpr std::array<const char*, 29> names = {
        "Create",    "SetupEx",   "Connect",   "Destroy",     "DBG",        "POLL",
        "ACK",       "ESC_A",     "ESC_H",     "ESC_0",       "ESC_5",      "ESC_E",
        "ESC_X",     "ESC_O",     "ESC_U",     "ESC_I",       "ESC_R",      "ESC_J",
        "ESC_Y",     "ESC_K",     "ESC_N",     "FindFirst",   "FindNext",   "ModemATCmd",
        "ModemEcho", "GroupOpen", "GroupData", "GroupFinish", "GroupCancel"};
    return names[static_cast<std::size_t>(fn)];
}

std::string transcript() {
    std::string out;
    for (const Call& c : script().calls) {
        out += name(c.fn);
        out += '(';
        if (c.address != 0) out += static_cast<char>(c.address);
        if (!c.request.empty()) {
            out += ",\"";
            for (unsigned char ch : c.request) {
                if (ch >= 0x20 && ch < 0x7F) {
                    out += static_cast<char>(ch);
                } else {
                    char hex[8];
                    std::snprintf(hex, sizeof hex, "\\x%02X", ch);
                    out += hex;
                }
            }
            out += '"';
        }
        out += ")\n";
    }
    return out;
}

}  // namespace fake_pendra

using namespace fake_pendra;

extern "C" {

PendraHandle PENDRA_API Pendra_Create(void) {
    return static_cast<PendraHandle>(answer(makeCall(Fn::Create, 0, 0)).result);
}

int16_t PENDRA_API Pendra_SetupEx(PendraHandle h, int32_t port, int16_t baud, int16_t stop,
                                  int16_t parity) {
    Call c = makeCall(Fn::SetupEx, h, 0);
    c.port = port;
    c.arg1 = baud;
    c.arg2 = stop;
    c.arg3 = parity;
    return answer(c).result;
}

int16_t PENDRA_API Pendra_Connect(PendraHandle h) {
    return answer(makeCall(Fn::Connect, h, 0)).result;
}
void PENDRA_API Pendra_Destroy(PendraHandle h) { answer(makeCall(Fn::Destroy, h, 0)); }

int16_t PENDRA_API Pendra_DBG(PendraHandle h, int16_t a, char* buf, uint8_t* n) {
    return bufferRequest(Fn::DBG, h, a, buf, n);
}
int16_t PENDRA_API Pendra_POLL(PendraHandle h, int16_t a, char* buf, uint8_t* n) {
    return bufferRequest(Fn::POLL, h, a, buf, n);
}
int16_t PENDRA_API Pendra_ACK(PendraHandle h, int16_t a) {
    return answer(makeCall(Fn::ACK, h, a)).result;
}
int16_t PENDRA_API Pendra_poll_number(PendraHandle, int16_t a, uint32_t* number, uint8_t* held) {
    const auto& ask = script().numbering.number;
    const auto answer = ask ? ask(a) : std::pair<uint32_t, uint8_t>{0, 0};
    *number = answer.first;
    *held = answer.second;
    return 1;
}
int16_t PENDRA_API Pendra_poll_stored(PendraHandle, int16_t a, uint32_t number) {
    if (script().numbering.stored) script().numbering.stored(a, number);
    return 1;
}
int16_t PENDRA_API Pendra_group_open(PendraHandle h, const char* addresses, uint8_t count,
                                     uint8_t* joined) {
    Script& s = script();
    Call c = makeCall(Fn::GroupOpen, h, 0);
    c.request.assign(addresses, count);
    c.requestLength = count;
    s.calls.push_back(c);
    s.groupMembers.clear();
    s.groupRound = 0;
    int16_t gathered = 0;
    for (uint8_t i = 0; i < count; ++i) {
        joined[i] = s.group.joins && s.group.joins(addresses[i]) ? 1 : 0;
        gathered = static_cast<int16_t>(gathered + joined[i]);
    }
    if (gathered > 0) s.groupMembers.assign(addresses, count);
    return gathered;
}
int16_t PENDRA_API Pendra_group_data(PendraHandle h, const char* data, int16_t length) {
    return textRequest(Fn::GroupData, h, 0, data, length);
}
int16_t PENDRA_API Pendra_group_finish(PendraHandle h, int16_t* results, uint32_t* held) {
    Script& s = script();
    s.calls.push_back(makeCall(Fn::GroupFinish, h, 0));
    if (!s.group.finish || s.groupMembers.empty()) return 254;
    return s.group.finish(++s.groupRound, s.groupMembers, results, held);
}
int16_t PENDRA_API Pendra_group_cancel(PendraHandle h) {
    const int16_t result = answer(makeCall(Fn::GroupCancel, h, 0)).result;
    script().groupMembers.clear();
    return result;
}
int16_t PENDRA_API Pendra_ESC_A(PendraHandle h, int16_t a) {
    return answer(makeCall(Fn::ESC_A, h, a)).result;
}
int16_t PENDRA_API Pendra_ESC_H(PendraHandle h, int16_t a) {
    return answer(makeCall(Fn::ESC_H, h, a)).result;
}

int16_t PENDRA_API Pendra_ESC_0(PendraHandle h, int16_t a, const char* data, int16_t length) {
    return textRequest(Fn::ESC_0, h, a, data, length);
}

int16_t PENDRA_API Pendra_ESC_5(PendraHandle h, int16_t old_a, int16_t new_a) {
    Call c = makeCall(Fn::ESC_5, h, old_a);
    c.arg1 = new_a;
    return answer(c).result;
}

int16_t PENDRA_API Pendra_ESC_E(PendraHandle h, int16_t a, const char* text, int16_t length) {
    return textRequest(Fn::ESC_E, h, a, text, length);
}
int16_t PENDRA_API Pendra_ESC_X(PendraHandle h, int16_t a, const char* text, int16_t length) {
    return textRequest(Fn::ESC_X, h, a, text, length);
}
int16_t PENDRA_API Pendra_ESC_O(PendraHandle h, int16_t a, const char* text, int16_t length) {
    return textRequest(Fn::ESC_O, h, a, text, length);
}
int16_t PENDRA_API Pendra_ESC_U(PendraHandle h, int16_t a, const char* text, int16_t length) {
    return textRequest(Fn::ESC_U, h, a, text, length);
}

int16_t PENDRA_API Pendra_ESC_I(PendraHandle h, int16_t a, char* buf, uint8_t* n) {
    return bufferRequest(Fn::ESC_I, h, a, buf, n);
}
int16_t PENDRA_API Pendra_ESC_R(PendraHandle h, int16_t a, char* buf, uint8_t* n) {
    return bufferRequest(Fn::ESC_R, h, a, buf, n);
}
int16_t PENDRA_API Pendra_ESC_J(PendraHandle h, int16_t a, char* buf, uint8_t* n) {
    return bufferRequest(Fn::ESC_J, h, a, buf, n);
}
int16_t PENDRA_API Pendra_ESC_Y(PendraHandle h, int16_t a, char* buf, uint8_t* n) {
    return bufferRequest(Fn::ESC_Y, h, a, buf, n);
}

int16_t PENDRA_API Pendra_ESC_K(PendraHandle h, int16_t a, int16_t code) {
    Call c = makeCall(Fn::ESC_K, h, a);
    c.arg1 = code;
    return answer(c).result;
}

int16_t PENDRA_API Pendra_ESC_N(PendraHandle h, int16_t a, int16_t digit) {
    Call c = makeCall(Fn::ESC_N, h, a);
    c.arg1 = digit;
    return answer(c).result;
}

int16_t PENDRA_API Pendra_FindFirst(PendraHandle h, int16_t a, char* /*work*/, char* entry,
                                    uint8_t* more) {
    return findRequest(Fn::FindFirst, h, a, entry, more);
}
int16_t PENDRA_API Pendra_FindNext(PendraHandle h, int16_t a, char* /*work*/, char* entry,
                                   uint8_t* more) {
    return findRequest(Fn::FindNext, h, a, entry, more);
}

int16_t PENDRA_API Pendra_ModemATCmd(PendraHandle h, const char* command) {
    Call c = makeCall(Fn::ModemATCmd, h, 0);
    if (command != nullptr) c.request = command;
    return answer(c).result;
}

int16_t PENDRA_API Pendra_ModemEcho(PendraHandle h, char* buf, int16_t room) {
    Call c = makeCall(Fn::ModemEcho, h, 0);
    c.arg1 = room;
    Reply r = answer(c);
    if (room > 0) {
        std::size_t size =
            std::min<std::size_t>(r.bytes.size(), static_cast<std::size_t>(room - 1));
        std::memcpy(buf, r.bytes.data(), size);
        buf[size] = 0;
    }
    return r.result;
}

void PENDRA_API Pendra_set_stop_check(PendraStopCheck check) { installedStopCheck = check; }

int32_t PENDRA_API Pendra_last_error_text(char* buf, int32_t room) {
    if (buf != nullptr && room > 0) {
        const std::string& text = script().lastErrorText;
        std::size_t size = std::min<std::size_t>(text.size(), static_cast<std::size_t>(room - 1));
        std::memcpy(buf, text.data(), size);
        buf[size] = 0;
    }
    return script().lastErrorReason;
}

}  // extern "C"

// Modem control: a command line to the modem, then its answer collected
// until it has said what it had to say or the time-out has passed. And the
// raw character functions, which do nothing.
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string_view>

#include "c_boundary.hpp"
#include "library_state.hpp"
#include "link_interface.hpp"
#include "modem_result_words.hpp"
#include "shared_body.hpp"
#include "tick_clock.hpp"
#include "zelodll.h"

namespace zelo {

namespace {

constexpr std::size_t kReplySize = ZELO_MODEM_REPLY_SIZE;

// What the modem answers during one call, one line per poll, each line
// followed by a line feed. The text always ends with a zero inside the
// buffer: a line that reaches the last character gets no line feed, and
// once the buffer is full nothing more is collected.
class ModemAnswer {
public:
    struct Poll {
        int16_t result;  // the modem's result number, 0 while it has none
        bool delivered;  // a line of text came with this poll
    };

    Poll poll() {
        char* end = text_.data() + used_;
        const int16_t result = Pendra_ModemEcho(linkHandle(), end, room_);
        text_.back() = 0;
        const std::size_t length = strnlen(end, kReplySize - 1 - used_);
        if (length > 0) {
            used_ += length;
            if (used_ < kReplySize - 1) {
                text_[used_++] = '\n';
                text_[used_] = 0;
            }
            room_ = static_cast<int16_t>(room_ - static_cast<int16_t>(length + 1));
        }
        return {result, length > 0};
    }

    // Kept for HC_modem_return_message until the next modem call.
    void save() const { std::memcpy(state().modemReply.data(), text_.data(), kReplySize); }

private:
    std::array<char, kReplySize> text_{};
    std::size_t used_ = 0;  // where the next line goes; never past the last byte
    int16_t room_ = static_cast<int16_t>(kReplySize);
};

constexpr int32_t kStopPauseStepMs = 20;

int64_t millisecondsSince(uint32_t start) { return static_cast<uint32_t>(tickCountMs() - start); }

// Sends `command` and polls the modem until it has answered with a result
// and fallen silent, or the time-out has passed. Returns the last non-zero
// result number (0 when none came), or nothing when stopped. The answer is
// saved for HC_modem_return_message unless the call was stopped.
//
// The flag is cleared first: the program asks to stop before every hang-up,
// and a flag left set would end every later modem call at once.
std::optional<int16_t> collectAnswer(const char* command, int32_t timeoutMs,
                                     int32_t pauseAfterPollMs) {
    LibraryState& s = state();
    s.clearStop();
    ModemAnswer answer;
    Pendra_ModemATCmd(linkHandle(), command != nullptr ? command : "");
    const uint32_t start = tickCountMs();
    int16_t result = 0;
    for (;;) {
        if (s.stopRequested()) return std::nullopt;
        const ModemAnswer::Poll poll = answer.poll();
        if (poll.result != 0) result = poll.result;
        // The time is read after the dial's pause, so that a call never
        // lasts more than one pause beyond its time-out.
        // The pause in short steps, so that Stop ends the dial within one.
        for (int32_t paused = 0; paused < pauseAfterPollMs && !s.stopRequested();
             paused += kStopPauseStepMs) {
            HM_time_delay(std::min(kStopPauseStepMs, pauseAfterPollMs - paused));
        }
        const bool inTime = millisecondsSince(start) < timeoutMs;
        // Go on while text keeps coming, or while no result has come yet.
        if (!inTime || (!poll.delivered && result != 0)) break;
    }
    answer.save();
    return result;
}

constexpr int32_t kNoResultWord = 200;

int32_t resultWordNumber(std::string_view answer) {
    const modem::ResultWord* word = modem::FindResultWord(answer);
    return word != nullptr ? word->hayesCode : kNoResultWord;
}

// The modem's last result number during a dial, as the program reads it
// (1 is connected): the Hayes code of the link layer's number, but 5 for
// none and no code for a number four words share.
int32_t dialOutcome(int16_t modemResult) {
    if (modemResult == 0) return 5;  // nothing before the time-out
    if (modemResult == modem::kOtherFinalResult) return kNoResultWord;
    for (const modem::ResultWord& word : modem::kResultWords) {
        if (word.echoNumber == modemResult) return word.hayesCode;
    }
    return kNoResultWord;
}

std::string_view savedReply() {
    const auto& reply = state().modemReply;
    return {reply.data(), strnlen(reply.data(), reply.size())};
}

}  // namespace

}  // namespace zelo

using namespace zelo;

extern "C" {

int32_t ZELO_API HC_modem_Init(int32_t /*port*/, const char* command, int32_t timeout_ms) try {
    std::optional<int16_t> result = collectAnswer(command, timeout_ms, 0);
    if (!result) return ZELO_STOPPED;
    return resultWordNumber(savedReply());
} catch (...) {
    return zelo::failedInsideLibrary();
}
ZELO_ALIAS_OF(HC_modem_Hangup, HC_modem_Init, int32_t, int32_t, const char*, int32_t);

int32_t ZELO_API HC_modem_Dial(int32_t /*port*/, const char* command, int32_t timeout_ms) try {
    // A dial answer takes seconds; the pause keeps the line from being
    // polled flat out, at the cost of up to one pause beyond the time-out.
    constexpr int32_t kDialPollPauseMs = 500;
    std::optional<int16_t> result = collectAnswer(command, timeout_ms, kDialPollPauseMs);
    if (!result) return ZELO_STOPPED;
    return dialOutcome(*result);
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HC_modem_return_message(char* text) try {
    if (text == nullptr) return 0;
    const std::string_view reply = savedReply();
    std::memcpy(text, reply.data(), reply.size());
    text[reply.size()] = 0;
    return static_cast<int32_t>(reply.size() + 1);
} catch (...) {
    return zelo::failedInsideLibrary();
}

// The raw character functions are part of the interface and do nothing.
uint8_t ZELO_API HC_getch(int32_t /*port*/) { return 0; }
void ZELO_API HC_putch(int32_t /*port*/, int32_t /*character*/) {}
int32_t ZELO_API HC_modem_cmd_mode(int32_t /*port*/, int32_t /*unused*/) { return 0; }

}  // extern "C"

#include "com_port_control.hpp"

namespace pendra::platform::telnet {

namespace {

// Longer subnegotiations carry nothing a line needs (a server's
// signature text, say); they are read to their end and dropped.
constexpr std::size_t kMaxSubnegotiation = 64;

bool weDo(uint8_t option) {
    return option == kBinary || option == kComPort || option == kSuppressGoAhead;
}
bool theyMay(uint8_t option) { return option == kBinary || option == kSuppressGoAhead; }

}  // namespace

std::string escaped(const uint8_t* data, std::size_t length) {
    std::string out;
    out.reserve(length + 8);
    for (std::size_t i = 0; i < length; ++i) {
        out.push_back(static_cast<char>(data[i]));
        if (data[i] == kIac) out.push_back(static_cast<char>(kIac));
    }
    return out;
}

std::string comPortCommand(ComPortCommand command, const std::string& value) {
    std::string out = {static_cast<char>(kIac), static_cast<char>(kSubBegin),
                       static_cast<char>(kComPort), static_cast<char>(command)};
    out += escaped(reinterpret_cast<const uint8_t*>(value.data()), value.size());
    out += {static_cast<char>(kIac), static_cast<char>(kSubEnd)};
    return out;
}

std::string comPortCommand(ComPortCommand command, uint8_t value) {
    return comPortCommand(command, std::string(1, static_cast<char>(value)));
}

std::string baudRateValue(uint32_t baud) {
    return {static_cast<char>(baud >> 24), static_cast<char>(baud >> 16),
            static_cast<char>(baud >> 8), static_cast<char>(baud)};
}

std::string openingRequests() {
    const auto three = [](uint8_t verb, uint8_t option) {
        return std::string{static_cast<char>(kIac), static_cast<char>(verb),
                           static_cast<char>(option)};
    };
    return three(kWill, kBinary) + three(kDo, kBinary) + three(kWill, kComPort);
}

Receiver::Receiver() {
    options_[kBinary].oursAsked = true;
    options_[kBinary].theirsAsked = true;
    options_[kComPort].oursAsked = true;
}

void Receiver::feed(const uint8_t* raw, std::size_t length, std::string& data) {
    for (std::size_t i = 0; i < length; ++i) {
        const uint8_t byte = raw[i];
        switch (state_) {
            case State::Data:
                if (byte == kIac) {
                    state_ = State::Command;
                } else {
                    data.push_back(static_cast<char>(byte));
                }
                break;
            case State::Command:
                if (byte == kIac) {
                    data.push_back(static_cast<char>(kIac));  // a doubled 0xFF is one data byte
                    state_ = State::Data;
                } else if (byte >= kWill) {
                    verb_ = byte;
                    state_ = State::Option;
                } else if (byte == kSubBegin) {
                    sub_.clear();
                    subTooLong_ = false;
                    state_ = State::Sub;
                } else {
                    state_ = State::Data;  // NOP, go-ahead, data mark...: nothing for a line
                }
                break;
            case State::Option:
                negotiate(verb_, byte);
                state_ = State::Data;
                break;
            case State::Sub:
                if (byte == kIac) {
                    state_ = State::SubCommand;
                } else if (sub_.size() < kMaxSubnegotiation) {
                    sub_.push_back(static_cast<char>(byte));
                } else {
                    subTooLong_ = true;
                }
                break;
            case State::SubCommand:
                if (byte == kIac) {
                    if (sub_.size() < kMaxSubnegotiation) {
                        sub_.push_back(static_cast<char>(kIac));
                    } else {
                        subTooLong_ = true;
                    }
                    state_ = State::Sub;
                } else {
                    // IAC SE ends it; any other command ends it as well, broken.
                    if (byte == kSubEnd && !subTooLong_) subnegotiation();
                    state_ = State::Data;
                }
                break;
        }
    }
}

// Answers only what changes an option's state, so that two ends never
// echo each other's answers for ever.
void Receiver::negotiate(uint8_t verb, uint8_t option) {
    Option& o = options_[option];
    switch (verb) {
        case kDo:
            if (!weDo(option)) {
                reply(kWont, option);
            } else if (!o.ours) {
                o.ours = true;
                if (!o.oursAsked) reply(kWill, option);
            }
            o.oursAsked = false;
            break;
        case kDont:
            if (o.oursAsked) o.oursRefused = true;
            if (o.ours) {
                o.ours = false;
                reply(kWont, option);
            }
            o.oursAsked = false;
            break;
        case kWill:
            if (!theyMay(option)) {
                reply(kDont, option);
            } else if (!o.theirs) {
                o.theirs = true;
                if (!o.theirsAsked) reply(kDo, option);
            }
            o.theirsAsked = false;
            break;
        case kWont:
            if (o.theirsAsked) o.theirsRefused = true;
            if (o.theirs) {
                o.theirs = false;
                reply(kDont, option);
            }
            o.theirsAsked = false;
            break;
        default: break;
    }
}

void Receiver::subnegotiation() {
    if (sub_.size() < 2 || static_cast<uint8_t>(sub_[0]) != kComPort) return;
    const uint8_t code = static_cast<uint8_t>(sub_[1]);
    // Notifications (line and modem state, 106 and 107) and the signature
    // carry nothing a link needs; only answers to the commands it sends are kept.
    const int command = code - kAnswerOffset;
    if (command < 1 || (command > 5 && command != 12)) return;
    if (answers_.size() == kMaxAnswers) answers_.pop_front();
    answers_.push_back({static_cast<ComPortCommand>(code - kAnswerOffset), sub_.substr(2)});
}

void Receiver::reply(uint8_t verb, uint8_t option) {
    replies_ += {static_cast<char>(kIac), static_cast<char>(verb), static_cast<char>(option)};
}

std::string Receiver::takeReplies() {
    std::string out;
    out.swap(replies_);
    return out;
}

std::optional<Receiver::Answer> Receiver::takeAnswer() {
    if (answers_.empty()) return std::nullopt;
    Answer answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
}

bool Receiver::ready() const {
    return options_[kBinary].ours && options_[kBinary].theirs && options_[kComPort].ours;
}

std::string Receiver::refusal() const {
    if (options_[kComPort].oursRefused) {
        return "the server refuses com-port control (a raw TCP port is socket://)";
    }
    if (options_[kBinary].oursRefused || options_[kBinary].theirsRefused) {
        return "the server refuses binary mode, without which frames would be altered";
    }
    return {};
}

}  // namespace pendra::platform::telnet

#include "exchange_memory.hpp"

#include "frame.hpp"

namespace termsim {

namespace {

bool sameRequest(const pendra::wire::Request& a, const pendra::wire::Request& b) {
    return a.command == b.command && a.argument == b.argument && a.payload == b.payload;
}

}  // namespace

bool ExchangeMemory::acknowledge(char address, uint8_t serial) {
    Last& last = last_[static_cast<uint8_t>(address)];
    if (!last.valid || last.acknowledged || last.serial != serial) return false;
    last.acknowledged = true;
    return true;
}

ExchangeMemory::Decision ExchangeMemory::arrived(const pendra::wire::Request& request,
                                                 uint8_t serial, bool flag) {
    Decision decision;
    Last& last = last_[static_cast<uint8_t>(request.address)];
    if (!last.valid || last.acknowledged) return decision;
    if (serial == last.serial && sameRequest(request, last.request)) {
        decision.replay = last.reply;
    } else if (flag && serial == ((last.serial + 1) & pendra::wire::kSerialMask)) {
        last.acknowledged = true;
        decision.ackFirst = true;
    }
    return decision;
}

void ExchangeMemory::answered(const pendra::wire::Request& request, uint8_t serial,
                              const pendra::wire::Reply& reply) {
    if (reply.status == 5) return;
    Last& last = last_[static_cast<uint8_t>(request.address)];
    last.valid = true;
    last.serial = serial;
    last.request = request;
    last.reply = reply;
    last.acknowledged = false;
}

}  // namespace termsim

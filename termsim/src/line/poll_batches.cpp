#include "poll_batches.hpp"

#include <algorithm>

#include "frame.hpp"
#include "poll_batch.hpp"

namespace termsim {

namespace wire = pendra::wire;

namespace {

constexpr uint8_t kRecord = 1;

uint8_t distance(uint8_t from, uint8_t to) {
    return static_cast<uint8_t>((to - from) & wire::kSerialMask);
}

bool carriesRecord(uint8_t status) { return status == 1 || status == 2; }

}  // namespace

std::optional<wire::Reply> PollBatches::request(const wire::Request& request, uint8_t serial,
                                                bool flag, bool& repeated) {
    serial = static_cast<uint8_t>(serial & wire::kSerialMask);
    Batch& batch = batches_[slot(request.address)];
    repeated = batch.active && serial == batch.first && batch.acked == 0 &&
               request.payload == batch.requestPayload;
    if (repeated) return batch.reply;
    if (batch.active && flag) {
        acknowledgeThrough(request.address, batch,
                           static_cast<uint8_t>((serial - 1) & wire::kSerialMask));
    }
    batch = Batch{};
    bool answered = false;
    wire::Reply reply = build(request, batch, answered);
    if (!answered) return std::nullopt;
    batch.active = true;
    batch.first = serial;
    batch.requestPayload = request.payload;
    batch.reply = reply;
    return reply;
}

wire::Reply PollBatches::build(const wire::Request& request, Batch& batch, bool& answered) {
    const wire::BatchAsked asked = wire::readBatchRequest(request.payload);
    const std::size_t most = asked.most;
    wire::Reply reply;
    const auto front =
        asked.storedThrough ? terminals_.pollFrontNumber(request.address) : std::nullopt;
    if (front) terminals_.dropPollRecordsThrough(request.address, *asked.storedThrough);
    const auto records =
        front ? terminals_.pollRecordsAhead(request.address, most) : std::vector<std::string>{};
    const uint32_t first = front ? terminals_.pollFrontNumber(request.address).value_or(*front) : 0;
    const wire::PackedRecords numbered =
        records.empty() ? wire::PackedRecords{} : wire::packNumberedRecords(first, records, most);
    if (front && records.empty()) {
        answered = true;
        reply.status = 3;  // no data
        return reply;
    }
    // A record too long for the numbered form goes as before, unnumbered.
    if (numbered.records > 0) {
        batch.numbered = true;
        answered = true;
        reply.status = wire::kNumberedRecords;
        reply.payload = numbered.payload;
        reply.more = numbered.listed;
        batch.count = numbered.records;
        return reply;
    }
    const auto ahead = terminals_.pollRecordsAhead(request.address, most);
    const wire::PackedRecords packed = wire::packRecords(ahead, most);
    if (packed.records > 0) {
        answered = true;
        reply.status = kRecord;
        reply.payload = packed.payload;
        reply.more = packed.listed;
        batch.count = packed.records;
        return reply;
    }
    // A terminal that cannot look ahead: the poll it stands for, one record.
    wire::Request poll = request;
    poll.command = wire::Command::Poll;
    poll.payload = asked.callerBytes;
    const auto answer = terminals_.handle(poll);
    if (!answer) return reply;
    answered = true;
    reply = *answer;
    reply.more = false;
    batch.count = carriesRecord(reply.status) ? 1 : 0;
    return reply;
}

void PollBatches::acknowledge(char address, uint8_t serial) {
    acknowledgeThrough(address, batches_[slot(address)],
                       static_cast<uint8_t>(serial & wire::kSerialMask));
}

void PollBatches::otherRequest(char address, uint8_t serial, bool flag) {
    Batch& batch = batches_[slot(address)];
    if (!batch.active) return;
    if (flag) {
        acknowledgeThrough(address, batch, static_cast<uint8_t>((serial - 1) & wire::kSerialMask));
    }
    batch.active = false;
}

void PollBatches::acknowledgeThrough(char address, Batch& batch, uint8_t serial) {
    if (!batch.active || batch.numbered) return;
    const std::size_t through = distance(batch.first, serial) + std::size_t{1};
    if (through > batch.count) return;  // not a record of this batch
    wire::Request poll;
    poll.command = wire::Command::Poll;
    poll.address = address;
    wire::Request ack;
    ack.command = wire::Command::Ack;
    ack.address = address;
    for (; batch.acked < through; ++batch.acked) {
        terminals_.handle(poll);
        terminals_.handle(ack);
    }
}

}  // namespace termsim

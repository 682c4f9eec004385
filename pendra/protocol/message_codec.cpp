#include "message_codec.hpp"

namespace pendra::wire {

bool isKnownCommand(uint8_t code) {
    switch (static_cast<Command>(code)) {
        case Command::Text:
        case Command::Poll:
        case Command::Ack:
        case Command::WarmStart:
        case Command::ColdStart:
        case Command::Data:
        case Command::SetAddress:
        case Command::Delete:
        case Command::Execute:
        case Command::AutoBoot:
        case Command::UploadRequest:
        case Command::RunningProgram:
        case Command::TerminalId:
        case Command::FileExists:
        case Command::NextPacket:
        case Command::Keypad:
        case Command::Buzzer:
        case Command::DirFirst:
        case Command::DirNext:
        case Command::StreamPackets:
        case Command::PollBatch:
        case Command::StreamData:
        case Command::CheckedEnd:
        case Command::PackedData:
        case Command::StreamPacked:
        case Command::JoinGroup:
        case Command::GroupData:
        case Command::GroupPacked:
        case Command::Lacking: return true;
    }
    return false;
}

bool carriesArgument(Command command) {
    return command == Command::SetAddress || command == Command::Keypad ||
           command == Command::Buzzer;
}

std::optional<Frame> requestFrame(const Request& request, uint8_t tag) {
    Frame frame;
    frame.direction = Direction::Request;
    frame.address = static_cast<uint8_t>(request.address);
    frame.command = static_cast<uint8_t>(request.command);
    frame.tag = tag;
    if (carriesArgument(request.command)) {
        const auto value = static_cast<uint16_t>(request.argument);
        frame.payload.push_back(static_cast<char>(value & 0xFF));
        frame.payload.push_back(static_cast<char>(value >> 8));
    }
    frame.payload += request.payload;
    if (frame.payload.size() > kMaxPayload) return std::nullopt;
    return frame;
}

std::optional<Request> requestFromFrame(const Frame& frame) {
    if (frame.direction != Direction::Request || !isKnownCommand(frame.command))
        return std::nullopt;
    Request request;
    request.command = static_cast<Command>(frame.command);
    request.address = static_cast<char>(frame.address);
    request.payload = frame.payload;
    if (carriesArgument(request.command)) {
        if (frame.payload.size() < 2) return std::nullopt;
        const auto low = static_cast<uint8_t>(frame.payload[0]);
        const auto high = static_cast<uint8_t>(frame.payload[1]);
        request.argument = static_cast<int16_t>(static_cast<uint16_t>(low | (high << 8)));
        request.payload.erase(0, 2);
    }
    return request;
}

std::optional<Frame> replyFrame(const Request& request, const Reply& reply, uint8_t serial) {
    if (reply.payload.size() > kMaxPayload) return std::nullopt;
    Frame frame;
    frame.direction = Direction::Reply;
    frame.address = static_cast<uint8_t>(request.address);
    frame.command = static_cast<uint8_t>(request.command);
    frame.status = reply.status;
    frame.tag = static_cast<uint8_t>((serial & kSerialMask) | (reply.more ? kTagFlag : 0));
    frame.payload = reply.payload;
    return frame;
}

Reply replyFromFrame(const Frame& frame) {
    Reply reply;
    reply.status = frame.status;
    reply.payload = frame.payload;
    reply.more = (frame.tag & kTagFlag) != 0;
    return reply;
}

}  // namespace pendra::wire

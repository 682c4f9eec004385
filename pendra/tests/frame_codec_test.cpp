// The frame codec, one case per fault the line can inflict.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame.hpp"
#include "message_codec.hpp"

namespace pendra::wire {
namespace {

Frame replyWith(std::string payload) {
    Frame frame;
    frame.direction = Direction::Reply;
    frame.address = 'A';
    frame.command = 'Y';
    frame.status = 1;
    frame.tag = 0x85;
    frame.payload = std::move(payload);
    return frame;
}

std::vector<FrameDecoder::Event> decodeAll(const std::string& bytes) {
    FrameDecoder decoder;
    decoder.feed(bytes);
    std::vector<FrameDecoder::Event> events;
    while (auto event = decoder.next()) events.push_back(*event);
    return events;
}

TEST(FrameCodec, CarriesEveryByteValueInOnePayload) {
    std::string payload;
    for (int value = 0; value < 255; ++value) payload.push_back(static_cast<char>(255 - value));
    const Frame sent = replyWith(payload);
    const std::string bytes = encodeFrame(sent);
    ASSERT_EQ(bytes.size(), kReplyHeaderSize + 255 + kCheckSize);

    const auto events = decodeAll(bytes);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, FrameDecoder::Kind::Complete);
    EXPECT_EQ(events[0].frame, sent);
    // Byte 0 travels too (the loop above stops at 1).
    EXPECT_EQ(decodeAll(encodeFrame(replyWith(std::string(3, '\0'))))[0].frame.payload,
              std::string(3, '\0'));
}

TEST(FrameCodec, RefusesPayloadLongerThanTheLengthByte) {
    EXPECT_TRUE(encodeFrame(replyWith(std::string(256, 'x'))).empty());
}

TEST(FrameCodec, DamagedPayloadIsReportedWithItsHeader) {
    std::string bytes = encodeFrame(replyWith("PACKET DATA"));
    bytes[kReplyHeaderSize + 3] ^= 0x10;
    const auto events = decodeAll(bytes);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events[0].kind, FrameDecoder::Kind::Damaged);
    EXPECT_EQ(events[0].frame.address, 'A');
    EXPECT_EQ(events[0].frame.command, 'Y');
    EXPECT_EQ(events[0].frame.status, 1);
    EXPECT_EQ(events[0].frame.tag, 0x85);
    EXPECT_TRUE(events[0].frame.payload.empty());
}

TEST(FrameCodec, DamagedCheckBytesAreReported) {
    std::string bytes = encodeFrame(replyWith("x"));
    bytes.back() ^= 0x01;
    const auto events = decodeAll(bytes);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, FrameDecoder::Kind::Damaged);
}

TEST(FrameCodec, TruncatedFrameWaitsAndTellsWhatIsMissing) {
    const std::string bytes = encodeFrame(replyWith("0123456789"));
    FrameDecoder decoder;
    decoder.feed(bytes.substr(0, bytes.size() - 4));
    EXPECT_FALSE(decoder.next());
    EXPECT_EQ(decoder.missingBytes(), 4u);
    decoder.feed(bytes.substr(bytes.size() - 4));
    const auto event = decoder.next();
    ASSERT_TRUE(event);
    EXPECT_EQ(event->frame.payload, "0123456789");
    EXPECT_EQ(decoder.missingBytes(), 0u);
}

TEST(FrameCodec, CorruptLengthFailsTheHeaderCheckAndDoesNotSwallowTheNextFrame) {
    std::string first = encodeFrame(replyWith("short"));
    first[kReplyHeaderSize - 2] =
        static_cast<char>(200);  // a length that the header check no longer covers
    const Frame second = replyWith("the real one");
    const auto events = decodeAll(first + encodeFrame(second));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, FrameDecoder::Kind::Complete);
    EXPECT_EQ(events[0].frame, second);
}

TEST(FrameCodec, GarbageBeforeAFrameIsSkipped) {
    std::string garbage;
    for (int i = 0; i < 300; ++i) garbage.push_back(static_cast<char>((i * 37 + 11) & 0xFF));
    garbage += std::string(1, static_cast<char>(kReplySync));  // a lone sync byte right before
    const Frame sent = replyWith("after the noise");
    const auto events = decodeAll(garbage + encodeFrame(sent));
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().kind, FrameDecoder::Kind::Complete);
    EXPECT_EQ(events.back().frame, sent);
}

TEST(FrameCodec, FrameFedOneByteAtATimeIsFound) {
    const Frame sent = replyWith("slow line");
    FrameDecoder decoder;
    std::optional<FrameDecoder::Event> found;
    for (char byte : std::string("\x5A\x01") + encodeFrame(sent)) {
        decoder.feed(reinterpret_cast<const uint8_t*>(&byte), 1);
        if (auto event = decoder.next()) found = event;
    }
    ASSERT_TRUE(found);
    EXPECT_EQ(found->frame, sent);
}

// Readers take up to 1024 bytes at a time; frames sent back to back must
// all be found when such a read lands behind a frame in progress.
TEST(FrameCodec, ALargeReadBehindAFrameInProgressLosesNothing) {
    std::string stream;
    for (char c = 'a'; c < 'a' + 8; ++c) stream += encodeFrame(replyWith(std::string(255, c)));
    FrameDecoder decoder;
    decoder.feed(stream.substr(0, 200));  // a frame in progress
    EXPECT_FALSE(decoder.next());
    std::vector<char> found;
    for (std::size_t at = 200; at < stream.size(); at += 1024) {
        decoder.feed(stream.substr(at, 1024));
        while (auto event = decoder.next()) {
            ASSERT_EQ(event->kind, FrameDecoder::Kind::Complete);
            found.push_back(event->frame.payload[0]);
        }
    }
    EXPECT_EQ(std::string(found.begin(), found.end()), "abcdefgh");
}

TEST(MessageCodec, RequestsRoundTripWithTheirArgument) {
    Request keypad{Command::Keypad, 'B', 0x1234, ""};
    const auto frame = requestFrame(keypad, 7);
    ASSERT_TRUE(frame);
    const auto back = requestFromFrame(*frame);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->command, Command::Keypad);
    EXPECT_EQ(back->argument, 0x1234);
    EXPECT_TRUE(back->payload.empty());

    Request text{Command::Text, 'C', 0, std::string("Y\0\x5C", 3)};
    const auto textBack = requestFromFrame(*requestFrame(text, 1));
    ASSERT_TRUE(textBack);
    EXPECT_EQ(textBack->payload, text.payload);
}

TEST(MessageCodec, UnknownCommandsAndShortArgumentsAreRefused) {
    Frame frame;
    frame.command = 'Z';
    EXPECT_FALSE(requestFromFrame(frame));
    frame.command = static_cast<uint8_t>(Command::SetAddress);
    frame.payload = "B";
    EXPECT_FALSE(requestFromFrame(frame));
    frame.direction = Direction::Reply;
    frame.command = static_cast<uint8_t>(Command::Text);
    EXPECT_FALSE(requestFromFrame(frame));
}

TEST(MessageCodec, ReplyKeepsStatusSerialAndMoreFlag) {
    Reply reply{1, "ENTRY.TXT", true};
    const auto frame = replyFrame(Request{Command::DirFirst, 'A', 0, ""}, reply, 0x93);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->tag & kSerialMask, 0x13);
    EXPECT_EQ(frame->command, 'F');
    EXPECT_EQ(frame->address, 'A');
    const Reply back = replyFromFrame(*frame);
    EXPECT_EQ(back.status, 1);
    EXPECT_EQ(back.payload, "ENTRY.TXT");
    EXPECT_TRUE(back.more);
}

}  // namespace
}  // namespace pendra::wire

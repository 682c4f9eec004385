// The host's bookkeeping of a streamed download: the whole-file check across
// resumes, the window of frames and what the terminal's reports do to it,
// and the texts and payloads the link reads and writes.
#include "download_stream.hpp"

#include <gtest/gtest.h>

#include <string>

#include "crc.hpp"
#include "download_messages.hpp"
#include "escaped_decoding.hpp"
#include "escaped_form.hpp"
#include "packed_bytes.hpp"

namespace pendra {
namespace {

uint32_t crcOf(const std::string& bytes) {
    return wire::crc32(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

TEST(FileCheck, Crc32IsZlibsAndChains) {
    EXPECT_EQ(crcOf("123456789"), 0xCBF43926u);
    EXPECT_EQ(crcOf(""), 0u);
    const std::string a = "first part ", b = "second part";
    const uint32_t first = crcOf(a);
    EXPECT_EQ(wire::crc32(reinterpret_cast<const uint8_t*>(b.data()), b.size(), first),
              crcOf(a + b));
}

TEST(FileCheck, ResumeToABoundaryGoesOnFromItsCrc) {
    FileCheck check;
    check.start();
    check.add("AAAA");
    check.add("BBBB");
    check.add("CCCC");
    EXPECT_EQ(check.crc(), crcOf("AAAABBBBCCCC"));
    ASSERT_TRUE(check.cutTo(4));  // the terminal keeps "AAAA"
    check.add("bbbb");
    EXPECT_EQ(check.length(), 8u);
    EXPECT_EQ(check.crc(), crcOf("AAAAbbbb"));
    // A later boundary dropped by the cut is not one to resume to.
    EXPECT_FALSE(check.cutTo(12));
    EXPECT_FALSE(check.known());
}

TEST(FileCheck, ResumeBetweenBoundariesOrTooFarBackLeavesTheEndUnchecked) {
    FileCheck check;
    check.start();
    check.add("AAAA");
    EXPECT_FALSE(check.cutTo(2));
    EXPECT_FALSE(check.known());
    check.add("ignored");  // nothing known: nothing counted
    EXPECT_FALSE(check.known());

    check.start();
    for (std::size_t i = 0; i <= FileCheck::kMaxCheckpoints; ++i) check.add("x");
    EXPECT_FALSE(check.cutTo(0));  // the oldest boundary was let go
    check.start();
    EXPECT_TRUE(check.cutTo(0));  // a resume to 0 after an announce
    EXPECT_EQ(check.crc(), 0u);
}

std::string bytesOf(std::size_t size, char fill) { return std::string(size, fill); }

TEST(DownloadWindow, CutsFramesAndKeepsAtMostTheWindowOnItsWay) {
    DownloadWindow window;
    window.start(1, 1000, 2);
    window.queue(bytesOf(wire::kStreamDataBytes + 10, 'a'));
    ASSERT_NE(window.nextToSend(), nullptr);
    EXPECT_EQ(window.nextToSend()->offset, 1000u);
    EXPECT_EQ(window.nextToSend()->bytes.size(), wire::kStreamDataBytes);
    window.markSent();
    EXPECT_EQ(window.nextToSend(), nullptr);  // the 10 bytes wait for more
    window.queue(bytesOf(wire::kStreamDataBytes, 'b'));
    window.flush();
    ASSERT_NE(window.nextToSend(), nullptr);
    EXPECT_EQ(window.nextToSend()->offset, 1000u + wire::kStreamDataBytes);
    window.markSent();
    EXPECT_EQ(window.nextToSend(), nullptr);  // two on their way: the window is full
    EXPECT_TRUE(window.framesWaiting());
    EXPECT_FALSE(window.settled());
}

TEST(DownloadWindow, ALostCumulativeAcknowledgementIsMadeGoodByTheNext) {
    DownloadWindow window;
    window.start(3, 0, 4);
    for (char c : {'a', 'b', 'c'}) window.queue(bytesOf(wire::kStreamDataBytes, c));
    for (int i = 0; i < 3; ++i) window.markSent();
    // The report of the first frame is lost; the one of the third says all.
    EXPECT_TRUE(window.held(3, 3 * wire::kStreamDataBytes));
    EXPECT_TRUE(window.settled());
    EXPECT_EQ(window.acknowledged(), 3 * wire::kStreamDataBytes);
}

TEST(DownloadWindow, ALateReportFromBeforeAResumeCountsForNothing) {
    DownloadWindow window;
    window.start(7, 500, 4);
    window.queue(bytesOf(wire::kStreamDataBytes, 'a'));
    window.markSent();
    const uint32_t end = 500 + wire::kStreamDataBytes;
    EXPECT_FALSE(window.held(6, end));      // the stream before the resume
    EXPECT_FALSE(window.held(7, end + 1));  // not where a frame ends
    EXPECT_FALSE(window.held(7, 400));      // before the stream's start
    EXPECT_EQ(window.acknowledged(), 500u);
    EXPECT_TRUE(window.held(7, end));
}

TEST(DownloadWindow, GoesBackToTheFirstMissingFrameAndTakesLateReportsAfterIt) {
    DownloadWindow window;
    window.start(1, 0, 8);
    for (char c : {'a', 'b', 'c', 'd'}) window.queue(bytesOf(wire::kStreamDataBytes, c));
    for (int i = 0; i < 4; ++i) window.markSent();
    EXPECT_TRUE(window.held(1, wire::kStreamDataBytes));  // "a" arrived, "b" did not
    window.goBack();
    ASSERT_NE(window.nextToSend(), nullptr);
    EXPECT_EQ(window.nextToSend()->bytes[0], 'b');
    window.markSent();
    // A report of "c", from before the go-back, still counts.
    EXPECT_TRUE(window.held(1, 3 * wire::kStreamDataBytes));
    ASSERT_NE(window.nextToSend(), nullptr);
    EXPECT_EQ(window.nextToSend()->bytes[0], 'd');
}

TEST(DownloadWindow, ADamagedFrameIsSentAgainFromItsSerial) {
    DownloadWindow window;
    window.start(1, 0, 8);
    for (char c : {'a', 'b', 'c'}) window.queue(bytesOf(wire::kStreamDataBytes, c));
    uint8_t serialOfB = 0;
    for (int i = 0; i < 3; ++i) {
        if (window.nextToSend()->bytes[0] == 'b') serialOfB = window.nextToSend()->serial;
        window.markSent();
    }
    window.goBackTo(static_cast<uint8_t>(serialOfB + 100));  // no such frame: nothing
    EXPECT_EQ(window.nextToSend(), nullptr);
    window.goBackTo(serialOfB);
    ASSERT_NE(window.nextToSend(), nullptr);
    EXPECT_EQ(window.nextToSend()->bytes[0], 'b');
}

TEST(DownloadWindow, AStopDropsEveryCopyHeld) {
    DownloadWindow window;
    window.start(1, 0, 4);
    window.queue(bytesOf(wire::kStreamDataBytes * 2 + 3, 'a'));
    window.markSent();
    window.stop();
    EXPECT_FALSE(window.active());
    EXPECT_TRUE(window.settled());
    EXPECT_EQ(window.nextToSend(), nullptr);
    EXPECT_FALSE(window.held(1, wire::kStreamDataBytes));
}

TEST(DownloadTexts, TellsTheRequestsOfADownloadApart) {
    EXPECT_EQ(downloadTextKind("LDATA.TXT"), DownloadText::Announce);
    EXPECT_EQ(downloadTextKind("LDATA.TXT[360]"), DownloadText::Resume);
    EXPECT_EQ(resumeOffset("LDATA.TXT[360]"), 360u);
    EXPECT_EQ(downloadTextKind("LDATA[x]"), DownloadText::Announce);  // no offset: a name
    EXPECT_EQ(resumeOffset("LA[1234567890123456789]"), std::nullopt);
    EXPECT_EQ(downloadTextKind("Y"), DownloadText::Data);
    EXPECT_EQ(downloadTextKind("Z"), DownloadText::End);
    EXPECT_EQ(downloadTextKind("Zx"), DownloadText::Other);
    EXPECT_EQ(downloadTextKind("z"), DownloadText::Cancel);
    EXPECT_EQ(downloadTextKind(""), DownloadText::Other);
    EXPECT_TRUE(isVersionList(std::string("\x01\x02", 2)));
    EXPECT_FALSE(isVersionList(""));
    EXPECT_FALSE(isVersionList("OK"));
    EXPECT_FALSE(isVersionList(std::string("\x01\x01", 2)));
}

TEST(DownloadTexts, EveryByteValueComesBackFromTheEscapedForm) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(wire::unescaped(zelo::escaped(all)), all);
    // What the form never writes is not guessed at.
    EXPECT_EQ(wire::unescaped(std::string(1, '\0')), std::nullopt);
    EXPECT_EQ(wire::unescaped("\xE1"), std::nullopt);
    EXPECT_EQ(wire::unescaped("ab\\"), std::nullopt);
    EXPECT_EQ(wire::unescaped("\\\x10"), std::nullopt);
    EXPECT_EQ(wire::unescaped("\\\xE1"), std::nullopt);
}

TEST(DownloadMessages, PayloadsRoundTripAndWrongLengthsAreRefused) {
    const auto data = wire::decodeStreamData(wire::encodeStreamData(9, 0x01020304, "xyz"));
    ASSERT_TRUE(data);
    EXPECT_EQ(data->epoch, 9);
    EXPECT_EQ(data->offset, 0x01020304u);
    EXPECT_EQ(data->bytes, "xyz");
    EXPECT_FALSE(wire::decodeStreamData(wire::encodeStreamData(9, 0, "")));
    EXPECT_FALSE(wire::decodeStreamData(
        wire::encodeStreamData(9, 0, bytesOf(wire::kStreamDataBytes + 1, 'a'))));
    const auto held = wire::decodeStreamHeld(wire::encodeStreamHeld({2, 0xFFFFFFFF}));
    ASSERT_TRUE(held);
    EXPECT_EQ(held->stored, 0xFFFFFFFFu);
    EXPECT_FALSE(wire::decodeStreamHeld("1234"));
    const auto end = wire::decodeEndCheck(wire::encodeEndCheck({0xCBF43926, 9}));
    ASSERT_TRUE(end);
    EXPECT_EQ(end->crc, 0xCBF43926u);
    EXPECT_EQ(end->length, 9u);
    EXPECT_FALSE(wire::decodeEndCheck("1234567"));
    // A packed frame may not reach before the file's start nor stand for
    // more than a frame may make the terminal unpack.
    EXPECT_TRUE(wire::decodePackedData(wire::encodePackedData({1, 10, 100, 10, "z"})));
    EXPECT_FALSE(wire::decodePackedData(wire::encodePackedData({1, 10, 100, 11, "z"})));
    EXPECT_FALSE(wire::decodePackedData(wire::encodePackedData({1, 10, 0, 0, "z"})));
    EXPECT_FALSE(
        wire::decodePackedData(wire::encodePackedData({1, 10, wire::kMaxPackedRaw + 1, 0, "z"})));
    EXPECT_FALSE(wire::decodePackedData(wire::encodePackedData({1, 10, 100, 0, ""})));
}

TEST(PackedBytes, TextPacksWithItsDictionaryAndAnythingElseGoesRawOrIsRefused) {
    if (!wire::packingAvailable()) GTEST_SKIP() << "built without zlib";
    std::string text;
    for (int line = 0; text.size() < 20000; ++line)
        text += "49" + std::to_string(1000 + line) + ",GREEN TEA 500ML,128\r\n";
    const std::string before = text.substr(0, 10000);
    const std::string after = text.substr(10000);
    const auto packed = wire::packPrefix(before, after, wire::kPackedDataBytes, 4096);
    ASSERT_TRUE(packed);
    EXPECT_LE(packed->bytes.size(), wire::kPackedDataBytes);
    EXPECT_GT(packed->rawLength, 3 * wire::kStreamDataBytes) << "the dictionary should help";
    EXPECT_EQ(wire::unpack(before, packed->bytes, packed->rawLength),
              after.substr(0, packed->rawLength));
    // Unpacked against another dictionary, or to another length, it is
    // refused, never handed on wrong or longer.
    EXPECT_NE(wire::unpack(std::string(10000, 'x'), packed->bytes, packed->rawLength),
              after.substr(0, packed->rawLength));
    EXPECT_FALSE(wire::unpack(before, packed->bytes, packed->rawLength - 1));
    EXPECT_FALSE(wire::unpack(before, packed->bytes, packed->rawLength + 1));
    EXPECT_FALSE(wire::unpack(before, "\xFF\xFF\xFF", 10));
    // Data that deflate would grow goes raw.
    std::string noise;
    uint32_t state = 12345;
    for (int i = 0; i < 4096; ++i) {
        state = state * 1103515245u + 12345u;
        noise += static_cast<char>(state >> 24);
    }
    EXPECT_FALSE(wire::packPrefix({}, noise, wire::kPackedDataBytes, 4096));
    EXPECT_FALSE(wire::packPrefix({}, "a", wire::kPackedDataBytes, 4096));
}

}  // namespace
}  // namespace pendra

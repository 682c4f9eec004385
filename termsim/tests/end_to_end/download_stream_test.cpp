// Downloads that stream (protocol version 2) through the whole stack: byte
// for byte on a slow line, what the caller's buffers see, a file the
// terminal holds wrongly refused at its end, a stop with frames on their
// way, version 1 still spoken, and faults that never leave a wrong file.
#include "escaped_form.hpp"
#include "line_under_test.hpp"
#include "packed_bytes.hpp"
#include "pendra.h"

namespace termsim::end_to_end {
namespace {

class StreamedDownloads : public LineUnderTest {
protected:
    int32_t downloadStepwise(char address, const std::string& local, const std::string& remote) {
        int32_t offset = 0;
        int32_t result = HM_download1(kPort, address, local.c_str(), remote.c_str(), &offset);
        if (result != ZELO_OK) return result;
        int32_t bytes = 0, packets = 0;
        while ((result = HM_download2(&bytes, &packets)) == ZELO_MORE) {
        }
        return result;
    }

    uint64_t dataFrames() const { return ptyLine_.server().counters().downloadFrames.load(); }
    uint64_t packedFrames() const { return ptyLine_.server().counters().packedFrames.load(); }

    // Every byte value, then random bytes: binary through every path.
    static std::string binaryFile(std::size_t size, uint32_t seed) {
        std::string bytes;
        for (int round = 0; round < 3; ++round) {
            for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
        }
        bytes += randomBytes(size > bytes.size() ? size - bytes.size() : 0, seed);
        bytes.resize(size);
        return bytes;
    }
};

TEST_F(StreamedDownloads, LandByteForByteOnALineWithDelayInBothForms) {
    LineOptions options;
    options.oneWayDelay = std::chrono::milliseconds(40);
    startLine({terminal('A')}, options);
    for (std::size_t size : {std::size_t{1}, std::size_t{250}, std::size_t{9001}}) {
        const std::string bytes = binaryFile(size, static_cast<uint32_t>(size));
        const std::string name = "S" + std::to_string(size) + ".BIN";
        WriteAll(hostFile(name), bytes);
        SCOPED_TRACE(name);
        ASSERT_EQ(downloadStepwise('A', hostFile(name).string(), name), ZELO_OK);
        EXPECT_TRUE(ReadAll(ramFolder('A') / name) == bytes);
        std::filesystem::remove(ramFolder('A') / name);
        ASSERT_EQ(HM_download(kPort, 'A', hostFile(name).c_str(), name.c_str()), ZELO_OK);
        EXPECT_TRUE(ReadAll(ramFolder('A') / name) == bytes);
    }
    EXPECT_GT(dataFrames(), 0u) << "the downloads should have streamed";
}

// The link's own calls hand the caller what a version-1 terminal gives:
// the version list of the acceptance never reaches the buffer.
TEST_F(StreamedDownloads, TheCallersBuffersAreThoseOfVersionOne) {
    startLine({terminal('A')}, {}, std::nullopt, false);
    PendraHandle link = Pendra_Create();
    ASSERT_EQ(Pendra_SetupEx(link, kPort, 'A', '1', 'N'), 1);
    ASSERT_EQ(Pendra_Connect(link), 1);
    char buf[256] = "LCALLS.BIN";
    uint8_t n = 10;
    ASSERT_EQ(Pendra_DBG(link, 'A', buf, &n), 4);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(std::string(buf, 3), std::string("AL\0", 3));
    std::string file;
    for (int packet = 0; packet < 5; ++packet) {
        const std::string bytes = randomBytes(120, static_cast<uint32_t>(packet));
        const std::string text = "Y" + zelo::escaped(bytes);
        std::copy(text.begin(), text.end(), buf);
        n = static_cast<uint8_t>(text.size());
        ASSERT_EQ(Pendra_DBG(link, 'A', buf, &n), 4);
        EXPECT_EQ(n, 2);
        EXPECT_EQ(std::string(buf, 3), std::string("AY\0", 3));
        EXPECT_EQ(Pendra_ACK(link, 'A'), 1);
        file += bytes;
    }
    buf[0] = 'Z';
    n = 1;
    ASSERT_EQ(Pendra_DBG(link, 'A', buf, &n), 4);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(std::string(buf, 3), std::string("AZ\0", 3));
    EXPECT_EQ(Pendra_ACK(link, 'A'), 1);
    Pendra_Destroy(link);
    EXPECT_TRUE(ReadAll(ramFolder('A') / "CALLS.BIN") == file);
    EXPECT_GT(dataFrames(), 0u);
}

// A terminal that stores one byte wrongly, unseen by the link: the check
// at the end refuses the file, the library reports failure, and the version
// the terminal held before stays.
TEST_F(StreamedDownloads, ACrcMismatchAtTheEndRefusesTheFile) {
    LineOptions options;
    options.flipDownloadByte = 300;
    startLine({terminal('A')}, options);
    std::filesystem::create_directories(ramFolder('A'));
    WriteAll(ramFolder('A') / "KEEP.BIN", "the version before");
    const std::string bytes = binaryFile(1000, 3);
    WriteAll(hostFile("KEEP.BIN"), bytes);
    EXPECT_NE(downloadStepwise('A', hostFile("KEEP.BIN").string(), "KEEP.BIN"), ZELO_OK);
    EXPECT_EQ(ReadAll(ramFolder('A') / "KEEP.BIN"), "the version before");
    EXPECT_NE(HM_download(kPort, 'A', hostFile("KEEP.BIN").c_str(), "NEW.BIN"), ZELO_OK);
    EXPECT_FALSE(std::filesystem::exists(ramFolder('A') / "NEW.BIN"));
    // A file shorter than the altered offset is not touched by it.
    WriteAll(hostFile("SHORT.BIN"), bytes.substr(0, 200));
    EXPECT_EQ(downloadStepwise('A', hostFile("SHORT.BIN").string(), "SHORT.BIN"), ZELO_OK);
    EXPECT_EQ(ReadAll(ramFolder('A') / "SHORT.BIN"), bytes.substr(0, 200));
}

TEST_F(StreamedDownloads, AStopWithFramesOnTheirWayCancelsAndKeepsNothing) {
    LineOptions options;
    options.oneWayDelay = std::chrono::milliseconds(40);
    startLine({terminal('A')}, options);
    const std::string bytes = binaryFile(6000, 5);
    WriteAll(hostFile("STOP.BIN"), bytes);
    int32_t offset = 0;
    ASSERT_EQ(HM_download1(kPort, 'A', hostFile("STOP.BIN").c_str(), "STOP.BIN", &offset), ZELO_OK);
    int32_t count = 0, packets = 0;
    for (int packet = 0; packet < 10; ++packet)
        ASSERT_EQ(HM_download2(&count, &packets), ZELO_MORE);
    HM_stop_communication();
    EXPECT_EQ(HM_download2(&count, &packets), ZELO_STOPPED);
    EXPECT_FALSE(std::filesystem::exists(ramFolder('A') / "STOP.BIN"));
    // The next download starts afresh.
    ASSERT_EQ(downloadStepwise('A', hostFile("STOP.BIN").string(), "STOP.BIN"), ZELO_OK);
    EXPECT_TRUE(ReadAll(ramFolder('A') / "STOP.BIN") == bytes);
}

// Version 3: text goes packed and lands byte for byte, in far fewer frames
// than its size needs raw; a version-2 terminal, or a host limited to
// version 2, gets raw frames only.
TEST_F(StreamedDownloads, TextGoesPackedOnlyWhenBothSidesSpeakVersionThree) {
    const std::string text = priceLines(30000);
    WriteAll(hostFile("PRICES.DAT"), text);
    for (const char* host : {"3", "2"}) {
        for (const bool terminalPacks : {true, false}) {
            SCOPED_TRACE(std::string("host ") + host + (terminalPacks ? ", v3" : ", v2"));
            ::setenv("PENDRA_PROTOCOL", host, 1);
            LineOptions options;
            options.packing = terminalPacks;
            startLine({terminal('A')}, options);
            const int32_t result =
                downloadStepwise('A', hostFile("PRICES.DAT").string(), "PRICES.DAT");
            ::unsetenv("PENDRA_PROTOCOL");
            ASSERT_EQ(result, ZELO_OK);
            EXPECT_TRUE(ReadAll(ramFolder('A') / "PRICES.DAT") == text);
            if (terminalPacks && host[0] == '3' && pendra::wire::packingAvailable()) {
                EXPECT_GT(packedFrames(), 0u);
                EXPECT_LT(dataFrames(), text.size() / 250 / 2) << "text should pack over 2:1";
            } else {
                EXPECT_EQ(packedFrames(), 0u);
            }
            stopLine();
        }
    }
}

TEST_F(StreamedDownloads, VersionOneIsStillSpokenEitherSide) {
    LineOptions options;
    options.streaming = false;  // a version-1 terminal
    startLine({terminal('A')}, options);
    const std::string bytes = binaryFile(3000, 8);
    WriteAll(hostFile("V1.BIN"), bytes);
    ASSERT_EQ(downloadStepwise('A', hostFile("V1.BIN").string(), "V1.BIN"), ZELO_OK);
    EXPECT_TRUE(ReadAll(ramFolder('A') / "V1.BIN") == bytes);
    EXPECT_EQ(dataFrames(), 0u);
}

TEST_F(StreamedDownloads, AHostLimitedToVersionOneDoesNotStream) {
    ::setenv("PENDRA_PROTOCOL", "1", 1);
    startLine({terminal('A')});
    const std::string bytes = binaryFile(3000, 9);
    WriteAll(hostFile("H1.BIN"), bytes);
    const int32_t result = downloadStepwise('A', hostFile("H1.BIN").string(), "H1.BIN");
    ::unsetenv("PENDRA_PROTOCOL");
    ASSERT_EQ(result, ZELO_OK);
    EXPECT_TRUE(ReadAll(ramFolder('A') / "H1.BIN") == bytes);
    EXPECT_EQ(dataFrames(), 0u);
}

// Lost, damaged, refused and late frames both ways, with delay: lost windows,
// lost cumulative acknowledgements and late reports from before a resume
// all happen here. Every download lands byte for byte or reports failure.
TEST_F(StreamedDownloads, FaultsNeverLeaveAWrongFileReportedAsDelivered) {
    LineOptions options;
    options.oneWayDelay = std::chrono::milliseconds(10);
    options.faults.seed = 777;
    options.faults.corrupt = 0.03;
    options.faults.drop = 0.03;
    options.faults.nak = 0.02;
    options.faults.late = 0.02;
    options.faults.lateBy = std::chrono::milliseconds(150);
    startLine({terminal('A')}, options);
    int landed = 0;
    for (int round = 0; round < 6; ++round) {
        const std::string bytes =
            binaryFile(5000 + 1777 * static_cast<std::size_t>(round), static_cast<uint32_t>(round));
        const std::string name = "F" + std::to_string(round) + ".BIN";
        WriteAll(hostFile(name), bytes);
        SCOPED_TRACE(name);
        const int32_t result = round % 2 == 0
                                   ? downloadStepwise('A', hostFile(name).string(), name)
                                   : HM_download(kPort, 'A', hostFile(name).c_str(), name.c_str());
        if (result == ZELO_OK) {
            EXPECT_TRUE(ReadAll(ramFolder('A') / name) == bytes);
            ++landed;
        } else {
            EXPECT_FALSE(std::filesystem::exists(ramFolder('A') / name) &&
                         ReadAll(ramFolder('A') / name) != bytes)
                << "a failed download may leave nothing or the right file, never a wrong one";
        }
    }
    EXPECT_GT(landed, 0);
    EXPECT_GT(ptyLine_.server().counters().faults.load(), 0u);
    EXPECT_GT(dataFrames(), 0u);
}

}  // namespace
}  // namespace termsim::end_to_end

// Downloads through the fake link layer: packet sizes and the escaped form,
// the stepwise calls with their resumes and attempts, the whole-file loop,
// the memory form, stop, and the local file faults.
#include <algorithm>
#include <cstring>
#include <map>

#include "transfer_fixture.hpp"

using fake_pendra::Fn;
using namespace transfer_test;

class DownloadTest : public TransferTest {
protected:
    // Runs a stepwise download of `local` to completion; returns the final code.
    int32_t downloadStepwise(const std::string& local, int32_t* size = nullptr) {
        int32_t offset = 0;
        const int32_t opened = HM_download1(1, 'A', local.c_str(), "DATA.TXT", &offset);
        if (size != nullptr) *size = offset;
        if (opened != ZELO_OK) return opened;
        int32_t bytes = 0, packets = 0, code = ZELO_MORE;
        while ((code = HM_download2(&bytes, &packets)) == ZELO_MORE) {
        }
        return code;
    }
};

TEST_F(DownloadTest, FilesGoInPacketsOf120BytesThenTheEndRequest) {
    for (std::size_t size : {0u, 250u, 1000u}) {
        fake_pendra::reset();
        DownloadTerminal terminal;
        serve(terminal);
        const std::string local = path("file" + std::to_string(size));
        WriteAll(local, patternBytes(size));
        int32_t reported = -1;
        EXPECT_EQ(downloadStepwise(local, &reported), ZELO_OK) << size;
        EXPECT_EQ(reported, static_cast<int32_t>(size));
        EXPECT_EQ(terminal.received, patternBytes(size));
        EXPECT_TRUE(terminal.ended);
        EXPECT_EQ(genericRequests().front(), "LDATA.TXT");
        EXPECT_EQ(genericRequests().back(), "Z");
        EXPECT_EQ(files.openFiles, 0);
        EXPECT_EQ(HM_get_return_string_length(6), 0);
        if (size == 250) {
            EXPECT_EQ(terminal.packetSizes, (std::vector<std::size_t>{120, 120, 10}));
        }
        // Once ended, no packet call is taken.
        EXPECT_EQ(HM_download2(nullptr, nullptr), ZELO_NO_OPEN_DOWNLOAD);
    }
}

TEST_F(DownloadTest, PacketBytesTravelEscapedWithTheirLength) {
    DownloadTerminal terminal;
    serve(terminal);
    const std::string local = path("escaped.bin");
    WriteAll(local, std::string("\x00\x41\x5C\xDC\xE1", 5));
    EXPECT_EQ(downloadStepwise(local), ZELO_OK);
    const auto packet = fake_pendra::callsOf(Fn::DBG).at(1);
    EXPECT_EQ(packet.request, std::string("Y\\\x80\x41\\\\\xDC\\\x61", 9));
    EXPECT_EQ(packet.requestLength, 9);
}

TEST_F(DownloadTest, PacketCallWithoutAnOpenDownload) {
    EXPECT_EQ(HM_download2(nullptr, nullptr), ZELO_NO_OPEN_DOWNLOAD);
    EXPECT_EQ(HM_download22("x", 1), ZELO_NO_OPEN_DOWNLOAD);
    EXPECT_TRUE(fake_pendra::calls().empty());
}

TEST_F(DownloadTest, MissingLocalFileIsReportedBeforeAnythingIsSent) {
    HM_set_power_saving_status(1);
    EXPECT_EQ(HM_download(1, 'A', path("absent").c_str(), "DATA.TXT"), ZELO_NO_SUCH_FILE);
    int32_t offset = 0;
    EXPECT_EQ(HM_download1(1, 'A', path("absent").c_str(), "DATA.TXT", &offset), ZELO_NO_SUCH_FILE);
    EXPECT_TRUE(fake_pendra::calls().empty());
}

// The stepwise call counts a packet only once accepted, the whole-file call
// before sending it: the same failure resumes at different offsets.
TEST_F(DownloadTest, ResumeOffsetsOfTheStepwiseAndWholeFileCalls) {
    DownloadTerminal stepwise;
    stepwise.packetFailures[3] = 130;
    serve(stepwise);
    const std::string local = path("resume.bin");
    WriteAll(local, patternBytes(600));
    EXPECT_EQ(downloadStepwise(local), ZELO_OK);
    EXPECT_EQ(stepwise.resumeOffsets, std::vector<long>{240});
    EXPECT_EQ(stepwise.received, patternBytes(600));

    fake_pendra::reset();
    DownloadTerminal whole;
    whole.packetFailures[3] = 130;
    serve(whole);
    EXPECT_EQ(HM_download(1, 'A', local.c_str(), "DATA.TXT"), ZELO_OK);
    EXPECT_EQ(whole.resumeOffsets, std::vector<long>{360});
    EXPECT_EQ(genericRequests().at(5), "LDATA.TXT[360]");
    EXPECT_EQ(whole.received, patternBytes(600));
    EXPECT_EQ(files.openFiles, 0);
}

TEST_F(DownloadTest, TerminalThatNeverAcceptsEndsAfterNineAttempts) {
    DownloadTerminal terminal;
    terminal.acceptResult = 9;
    serve(terminal);
    const std::string local = path("refused.bin");
    WriteAll(local, patternBytes(300));
    EXPECT_EQ(downloadStepwise(local), ZELO_UNKNOWN_RESPONSE);
    const auto requests = genericRequests();
    ASSERT_EQ(requests.size(), 1u + 9 * 2);
    for (std::size_t i = 1; i < requests.size(); i += 2) {
        EXPECT_EQ(requests[i][0], 'Y');
        EXPECT_EQ(requests[i + 1], "LDATA.TXT[0]");
    }
    EXPECT_EQ(files.openFiles, 0);

    // The whole-file call: retry times less one resumes, then the packet's result.
    fake_pendra::reset();
    DownloadTerminal whole;
    whole.acceptResult = 128;
    serve(whole);
    EXPECT_EQ(HM_download(1, 'A', local.c_str(), "DATA.TXT"), ZELO_ILLEGAL_COMMAND);
    EXPECT_EQ(whole.dataPackets, 10);
    EXPECT_EQ(whole.resumeOffsets.size(), 9u);
    EXPECT_FALSE(whole.ended);
    EXPECT_EQ(files.openFiles, 0);
}

TEST_F(DownloadTest, WholeFileDownloadAcknowledgesTheEnd) {
    DownloadTerminal terminal;
    serve(terminal);
    const std::string local = path("whole.bin");
    WriteAll(local, patternBytes(250));
    EXPECT_EQ(HM_download(1, 'E', local.c_str(), "DATA.TXT"), ZELO_OK);
    EXPECT_EQ(terminal.received, patternBytes(250));
    EXPECT_EQ(genericRequests().back(), "Z");
    EXPECT_EQ(fake_pendra::calls().back().fn, Fn::ACK);
    for (const auto& call : fake_pendra::calls()) EXPECT_EQ(call.address, 'E');
    EXPECT_EQ(files.openFiles, 0);
}

TEST_F(DownloadTest, StopCancelsAndClosesTheFile) {
    DownloadTerminal terminal;
    serve(terminal);
    const std::string local = path("stop.bin");
    WriteAll(local, patternBytes(1000));
    int32_t offset = 0;
    ASSERT_EQ(HM_download1(1, 'A', local.c_str(), "DATA.TXT", &offset), ZELO_OK);
    ASSERT_EQ(HM_download2(nullptr, nullptr), ZELO_MORE);
    HM_stop_communication();
    EXPECT_EQ(HM_download2(nullptr, nullptr), ZELO_STOPPED);
    EXPECT_TRUE(terminal.cancelled);
    EXPECT_FALSE(terminal.ended);
    EXPECT_EQ(files.openFiles, 0);

    fake_pendra::reset();
    DownloadTerminal whole;
    fake_pendra::setResponder([&whole](const fake_pendra::Call& c) {
        if (c.fn == Fn::ACK) HM_stop_communication();
        return whole.answer(c);
    });
    EXPECT_EQ(HM_download(1, 'A', local.c_str(), "DATA.TXT"), ZELO_STOPPED);
    EXPECT_EQ(whole.dataPackets, 1);
    EXPECT_TRUE(whole.cancelled);
    EXPECT_EQ(files.openFiles, 0);
}

// A file that cannot be read in its middle is cancelled, never ended: the
// terminal must not keep a truncated file as if it were whole.
TEST_F(DownloadTest, ReadErrorCancelsInsteadOfEnding) {
    DownloadTerminal terminal;
    serve(terminal);
    const std::string local = path("broken.bin");
    WriteAll(local, patternBytes(1000));
    files.readsBeforeFailure = 2;
    EXPECT_EQ(downloadStepwise(local), ZELO_UNKNOWN_RESPONSE);
    EXPECT_EQ(terminal.dataPackets, 2);
    EXPECT_TRUE(terminal.cancelled);
    EXPECT_FALSE(terminal.ended);
    EXPECT_EQ(files.openFiles, 0);

    fake_pendra::reset();
    DownloadTerminal whole;
    serve(whole);
    files.readsBeforeFailure = 1;
    EXPECT_EQ(HM_download(1, 'A', local.c_str(), "DATA.TXT"), ZELO_UNKNOWN_RESPONSE);
    EXPECT_TRUE(whole.cancelled);
    EXPECT_FALSE(whole.ended);
    EXPECT_EQ(files.openFiles, 0);
}

TEST_F(DownloadTest, StartsThatLeaveNoFileOpen) {
    const std::string local = path("start.bin");
    WriteAll(local, "abc");
    // Result 1 counts as success, but nothing is opened then.
    fake_pendra::pushResults(Fn::DBG, {1});
    int32_t offset = 0;
    EXPECT_EQ(HM_download1(1, 'A', local.c_str(), "DATA.TXT", &offset), ZELO_OK);
    EXPECT_EQ(files.openFiles, 0);
    EXPECT_EQ(HM_download2(nullptr, nullptr), ZELO_NO_OPEN_DOWNLOAD);

    // An offset the file cannot be positioned at.
    DownloadTerminal terminal;
    serve(terminal);
    int32_t negative = -5;
    EXPECT_EQ(HM_download1(1, 'A', local.c_str(), "DATA.TXT", &negative), ZELO_NO_SUCH_FILE);
    EXPECT_EQ(files.openFiles, 0);
    // Past the file's end: sending would leave the terminal an empty file
    // where this one has bytes.
    int32_t pastTheEnd = 4;
    EXPECT_EQ(HM_download1(1, 'A', local.c_str(), "DATA.TXT", &pastTheEnd), ZELO_NO_SUCH_FILE);
    EXPECT_EQ(files.openFiles, 0);
}

TEST_F(DownloadTest, NamesTooLongForTheirBuffersAreRefused) {
    const std::string local = path("n.bin");
    WriteAll(local, "abc");
    int32_t offset = 0;
    const std::string name99(99, 'r'), name100(100, 'r'), name243(243, 'r'), name255(255, 'r');
    EXPECT_EQ(HM_download1(1, 'A', local.c_str(), name100.c_str(), &offset), ZELO_UNKNOWN_RESPONSE);
    const std::string longLocal = path(std::string(100, 'l'));
    EXPECT_EQ(HM_download1(1, 'A', longLocal.c_str(), "DATA.TXT", &offset), ZELO_UNKNOWN_RESPONSE);
    EXPECT_EQ(HM_download(1, 'A', local.c_str(), name243.c_str()), ZELO_UNKNOWN_RESPONSE);
    EXPECT_EQ(HM_download11(1, 'A', name255.c_str()), ZELO_UNKNOWN_RESPONSE);
    EXPECT_TRUE(fake_pendra::calls().empty());

    DownloadTerminal terminal;
    serve(terminal);
    EXPECT_EQ(HM_download1(1, 'A', local.c_str(), name99.c_str(), &offset), ZELO_OK);
    EXPECT_EQ(genericRequests().back(), "L" + name99);
}

TEST_F(DownloadTest, StepwiseDownloadFromMemory) {
    DownloadTerminal terminal;
    serve(terminal);
    ASSERT_EQ(HM_download11(1, 'F', "MEM.DAT"), ZELO_OK);
    const std::string worst(127, '\xE1');  // every byte escaped: 254 characters
    EXPECT_EQ(HM_download22(worst.data(), 127), ZELO_MORE);
    const std::string tooLong(128, '\xE1');
    EXPECT_EQ(HM_download22(tooLong.data(), 128), ZELO_UNKNOWN_RESPONSE);
    EXPECT_EQ(terminal.dataPackets, 1) << "a packet that does not fit is not sent";
    EXPECT_EQ(HM_download22(nullptr, 0), ZELO_OK);
    EXPECT_EQ(terminal.received, worst);
    EXPECT_TRUE(terminal.ended);
    EXPECT_EQ(HM_download22("x", 1), ZELO_NO_OPEN_DOWNLOAD);
    for (const auto& call : fake_pendra::calls()) EXPECT_EQ(call.address, 'F');
}

TEST_F(DownloadTest, CancelClosesTheFileEvenWhenPowerSavingStaysOn) {
    const std::string local = path("cancel.bin");
    WriteAll(local, patternBytes(300));
    DownloadTerminal terminal;
    serve(terminal);
    int32_t offset = 0;
    ASSERT_EQ(HM_download1(1, 'A', local.c_str(), "DATA.TXT", &offset), ZELO_OK);
    EXPECT_EQ(HM_cancel_download(1, 'A'), ZELO_OK);
    EXPECT_EQ(files.openFiles, 0);
    EXPECT_EQ(fake_pendra::calls().back().fn, Fn::ACK);

    ASSERT_EQ(HM_download1(1, 'A', local.c_str(), "DATA.TXT", &offset), ZELO_OK);
    HM_set_power_saving_status(1);
    fake_pendra::setResponder({});  // the terminal no longer answers
    EXPECT_EQ(HM_cancel_download(1, 'A'), ZELO_POWER_SAVING_ON);
    EXPECT_EQ(files.openFiles, 0);
}

// A resume the terminal did not take leaves it holding more than the offset:
// a packet sent then would be appended after the old bytes. The resume is
// asked again before any packet, and the file arrives whole.
TEST_F(DownloadTest, RefusedResumeIsAskedAgainBeforeAnyPacket) {
    const std::string local = path("resume_refused.bin");
    WriteAll(local, patternBytes(1000));
    for (bool stepwise : {true, false}) {
        fake_pendra::reset();
        DownloadTerminal terminal;
        terminal.packetFailures = {{3, 5}};
        terminal.resumeFailures = {{0, 5}, {1, 130}};
        serve(terminal);
        const int32_t code =
            stepwise ? downloadStepwise(local) : HM_download(1, 'A', local.c_str(), "DATA.TXT");
        EXPECT_EQ(code, ZELO_OK) << stepwise;
        EXPECT_EQ(terminal.received, patternBytes(1000)) << stepwise;
        EXPECT_TRUE(terminal.ended);
        const auto requests = genericRequests();
        const auto failed =
            std::find_if(requests.begin(), requests.end(),
                         [](const std::string& r) { return r.rfind("LDATA.TXT[", 0) == 0; });
        ASSERT_NE(failed, requests.end());
        EXPECT_EQ(*(failed + 1), *failed) << "a packet followed a refused resume";
        EXPECT_EQ(*(failed + 2), *failed) << "a packet followed a refused resume";
        EXPECT_EQ(files.openFiles, 0);
    }
}

// When no resume is taken, the download fails and is cancelled: the end
// request would make the terminal keep a short or doubled file, and the
// whole-file call used to report that as a success.
TEST_F(DownloadTest, ResumeNeverTakenFailsAndCancelsInsteadOfEnding) {
    const std::string local = path("resume_never.bin");
    WriteAll(local, patternBytes(1000));
    std::map<int, int16_t> allRefused;
    for (int i = 0; i < 20; ++i) allRefused[i] = 5;
    for (bool stepwise : {true, false}) {
        fake_pendra::reset();
        DownloadTerminal terminal;
        terminal.packetFailures = {{3, 5}};
        terminal.resumeFailures = allRefused;
        serve(terminal);
        const int32_t code =
            stepwise ? downloadStepwise(local) : HM_download(1, 'A', local.c_str(), "DATA.TXT");
        EXPECT_NE(code, ZELO_OK) << stepwise;
        EXPECT_FALSE(terminal.ended) << stepwise;
        EXPECT_TRUE(terminal.cancelled) << stepwise;
        EXPECT_EQ(terminal.dataPackets, 4) << stepwise;
        EXPECT_EQ(files.openFiles, 0);
    }
}

// Uploads through the fake link layer: local names and save modes, the
// whole-file loop with its negative acknowledgements, retries and resumes,
// the stepwise calls to a file and to memory, and the local file faults.
#include <algorithm>
#include <cstring>

#include "transfer_fixture.hpp"

using fake_pendra::Fn;
using namespace transfer_test;

class UploadTest : public TransferTest {
protected:
    // Uploads `content` as the terminal's DATA.TXT into `local` by the whole-file call.
    int32_t uploadWhole(UploadTerminal& terminal, NameBuffer& local, int32_t address = 'A') {
        serve(terminal);
        return HM_upload(1, address, "DATA.TXT", local.text);
    }
};

TEST_F(UploadTest, SaveModeNewMakesTheLocalNameUnique) {
    UploadTerminal terminal;
    terminal.file = "abc";
    NameBuffer first(path("DATA.TXT"));
    EXPECT_EQ(uploadWhole(terminal, first), ZELO_OK);
    EXPECT_EQ(std::string(first.text), path("DATA.TXT"));
    EXPECT_EQ(HM_get_return_string_length(0), static_cast<int32_t>(std::strlen(first.text)));

    NameBuffer second(path("DATA.TXT"));
    EXPECT_EQ(uploadWhole(terminal, second), ZELO_OK);
    EXPECT_EQ(std::string(second.text), path("DAT0.TXT"));
    NameBuffer third(path("DATA.TXT"));
    EXPECT_EQ(uploadWhole(terminal, third), ZELO_OK);
    EXPECT_EQ(std::string(third.text), path("DAT1.TXT"));
    EXPECT_EQ(ReadAll(path("DAT1.TXT")), "abc");

    // Without an extension the last character varies; a "." in a folder name
    // does not count, nor one that starts the file name.
    WriteAll(path("README"), "x");
    NameBuffer bare(path("README"));
    EXPECT_EQ(uploadWhole(terminal, bare), ZELO_OK);
    EXPECT_EQ(std::string(bare.text), path("READM0"));

    std::filesystem::create_directories(path("v1.2"));
    WriteAll(path("v1.2/LOG"), "x");
    NameBuffer inDottedFolder(path("v1.2/LOG"));
    EXPECT_EQ(uploadWhole(terminal, inDottedFolder), ZELO_OK);
    EXPECT_EQ(std::string(inDottedFolder.text), path("v1.2/LO0"));

    WriteAll(path(".cfg"), "x");
    NameBuffer hidden(path(".cfg"));
    EXPECT_EQ(uploadWhole(terminal, hidden), ZELO_OK);
    EXPECT_EQ(std::string(hidden.text), path(".cf0"));
}

TEST_F(UploadTest, NoFreeNameFailsBeforeAnythingIsSent) {
    const std::string variations = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    WriteAll(path("DATA.TXT"), "x");
    for (char c : variations) WriteAll(path(std::string("DAT") + c + ".TXT"), "x");
    HM_set_power_saving_status(1);
    NameBuffer local(path("DATA.TXT"));
    EXPECT_EQ(HM_upload(1, 'A', "DATA.TXT", local.text), ZELO_NO_FREE_NAME);
    EXPECT_EQ(HM_upload1(1, 'A', "DATA.TXT", local.text), ZELO_NO_FREE_NAME);
    EXPECT_TRUE(fake_pendra::calls().empty()) << fake_pendra::transcript();
}

TEST_F(UploadTest, OverwriteAndAppendModes) {
    UploadTerminal terminal;
    terminal.file = "NEW";
    WriteAll(path("out.txt"), "OLD");

    HM_set_upload_file_save_mode(ZELO_SAVE_APPEND);
    NameBuffer append(path("out.txt"));
    EXPECT_EQ(uploadWhole(terminal, append), ZELO_OK);
    EXPECT_EQ(ReadAll(path("out.txt")), "OLDNEW");
    NameBuffer fresh(path("fresh.txt"));
    EXPECT_EQ(uploadWhole(terminal, fresh), ZELO_OK);
    EXPECT_EQ(ReadAll(path("fresh.txt")), "NEW");

    HM_set_upload_file_save_mode(7);  // any other mode overwrites
    NameBuffer overwrite(path("out.txt"));
    EXPECT_EQ(uploadWhole(terminal, overwrite), ZELO_OK);
    EXPECT_EQ(ReadAll(path("out.txt")), "NEW");
    EXPECT_EQ(files.openFiles, 0);
}

TEST_F(UploadTest, WholeFileArrivesAndEveryPacketIsAcknowledged) {
    UploadTerminal terminal;
    terminal.file = patternBytes(300);
    NameBuffer local(path("data.bin"));
    EXPECT_EQ(uploadWhole(terminal, local, 'C'), ZELO_OK);
    EXPECT_EQ(ReadAll(path("data.bin")), terminal.file);
    EXPECT_EQ(fake_pendra::count(Fn::ACK), 4);  // three packets and the end
    for (const auto& call : fake_pendra::calls()) EXPECT_EQ(call.address, 'C');
    const auto request = fake_pendra::callsOf(Fn::ESC_U).at(0);
    EXPECT_EQ(request.request, "DATA.TXT");
    EXPECT_EQ(request.requestLength, 8);
    EXPECT_EQ(fake_pendra::callsOf(Fn::ESC_Y).at(0).requestLength, 0);
    EXPECT_EQ(files.openFiles, 0);
    EXPECT_EQ(HM_get_return_string_length(7), 0);
}

TEST_F(UploadTest, EmptyFileAndRefusedRequests) {
    UploadTerminal terminal;  // answers the first packet request with "end"
    NameBuffer local(path("empty.txt"));
    EXPECT_EQ(uploadWhole(terminal, local), ZELO_OK);
    EXPECT_TRUE(std::filesystem::exists(path("empty.txt")));
    EXPECT_EQ(ReadAll(path("empty.txt")), "");
    EXPECT_EQ(fake_pendra::count(Fn::ACK), 1);

    // A request answered with "end" started nothing: not a success.
    for (auto [link, expected] : {std::pair{7, ZELO_NO_SUCH_FILE}, {3, ZELO_NAK}}) {
        terminal.requestResult = static_cast<int16_t>(link);
        NameBuffer refused(path("refused.txt"));
        EXPECT_EQ(uploadWhole(terminal, refused), expected) << "link result " << link;
    }
    EXPECT_FALSE(std::filesystem::exists(path("refused.txt")));
}

TEST_F(UploadTest, SixteenNegativeAcknowledgementsEndTheUpload) {
    UploadTerminal terminal;
    terminal.file = patternBytes(200);
    for (int i = 0; i < 16; ++i) terminal.packetFailures[i] = 5;
    NameBuffer local(path("nak.bin"));
    EXPECT_EQ(uploadWhole(terminal, local), ZELO_NAK);
    EXPECT_EQ(fake_pendra::count(Fn::ESC_Y), 16);
    EXPECT_EQ(fake_pendra::count(Fn::ESC_U), 1) << "negative acknowledgements do not resume";
    EXPECT_EQ(files.openFiles, 0);

    // Fifteen, a good packet, fifteen more: the count starts again.
    fake_pendra::reset();
    UploadTerminal patient;
    patient.file = patternBytes(200);
    for (int i = 0; i < 15; ++i) patient.packetFailures[i] = 5;
    for (int i = 16; i < 31; ++i) patient.packetFailures[i] = 5;
    NameBuffer second(path("nak2.bin"));
    EXPECT_EQ(uploadWhole(patient, second), ZELO_OK);
    EXPECT_EQ(ReadAll(path("nak2.bin")), patient.file);
}

TEST_F(UploadTest, FailedPacketResumesOnePacketBackNeverBelowZero) {
    UploadTerminal terminal;
    terminal.file = patternBytes(500);
    terminal.packetSize = 100;
    terminal.packetFailures[1] = 130;  // after one packet: counter 100
    terminal.packetFailures[5] = 9;    // after three more: counter 300
    NameBuffer local(path("resume.bin"));
    EXPECT_EQ(uploadWhole(terminal, local), ZELO_OK);
    EXPECT_EQ(ReadAll(path("resume.bin")), terminal.file);

    const auto requests = fake_pendra::callsOf(Fn::ESC_U);
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[1].request, "DATA.TXT[0]");
    EXPECT_EQ(requests[2].request, "DATA.TXT[180]");
    EXPECT_EQ(genericRequests(), (std::vector<std::string>{"y", "y"}));
}

TEST_F(UploadTest, RetriesRunOutAfterRetryTimesFailures) {
    UploadTerminal terminal;
    terminal.file = patternBytes(100);
    for (int i = 0; i < 50; ++i) terminal.packetFailures[i] = 130;
    NameBuffer local(path("silent.bin"));
    EXPECT_EQ(uploadWhole(terminal, local), ZELO_TIMEOUT);
    EXPECT_EQ(fake_pendra::count(Fn::ESC_Y), 10);
    EXPECT_EQ(fake_pendra::count(Fn::ESC_U), 1 + 9);
    EXPECT_EQ(files.openFiles, 0);
}

// Appending with a resume keeps what the file held and the new data whole.
TEST_F(UploadTest, AppendedFileResumesAfterItsEarlierContents) {
    const std::string before = "EARLIER CONTENTS\n";
    HM_set_upload_file_save_mode(ZELO_SAVE_APPEND);

    UploadTerminal whole;
    whole.file = patternBytes(600);
    whole.packetFailures[3] = 130;
    WriteAll(path("whole.log"), before);
    NameBuffer wholeName(path("whole.log"));
    EXPECT_EQ(uploadWhole(whole, wholeName), ZELO_OK);
    EXPECT_EQ(ReadAll(path("whole.log")), before + whole.file);

    UploadTerminal stepwise;
    stepwise.file = patternBytes(600);
    serve(stepwise);
    WriteAll(path("step.log"), before);
    NameBuffer stepName(path("step.log"));
    ASSERT_EQ(HM_upload1(1, 'A', "DATA.TXT", stepName.text), ZELO_OK);
    int32_t bytes = 0, packets = 0;
    for (int i = 0; i < 3; ++i) ASSERT_EQ(HM_upload2(&bytes, &packets), ZELO_MORE);
    EXPECT_EQ(HM_upload1_continue(), ZELO_OK);
    EXPECT_EQ(fake_pendra::callsOf(Fn::ESC_U).back().request, "DATA.TXT[264]");
    int32_t code = ZELO_MORE;
    while (code == ZELO_MORE) code = HM_upload2(&bytes, &packets);
    EXPECT_EQ(code, ZELO_OK);
    EXPECT_EQ(ReadAll(path("step.log")), before + stepwise.file);
}

TEST_F(UploadTest, StepwiseUploadReportsRunningTotals) {
    UploadTerminal terminal;
    terminal.file = patternBytes(3 * 128);
    serve(terminal);
    NameBuffer local(path("step.bin"));
    ASSERT_EQ(HM_upload1(1, 'B', "DATA.TXT", local.text), ZELO_OK);
    EXPECT_NE(HM_get_return_string_length(7), 0) << "slot 7 holds the open file";

    int32_t bytes = 0, packets = 0;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(HM_upload2(&bytes, &packets), ZELO_MORE);
    EXPECT_EQ(bytes, 384);
    EXPECT_EQ(packets, 3);
    EXPECT_EQ(HM_upload2(&bytes, &packets), ZELO_OK);
    EXPECT_EQ(ReadAll(path("step.bin")), terminal.file);
    EXPECT_EQ(files.openFiles, 0);
    EXPECT_EQ(HM_get_return_string_length(7), 0);

    for (const auto& call : fake_pendra::callsOf(Fn::ESC_Y)) {
        EXPECT_EQ(call.address, 'B');
        EXPECT_EQ(call.request, "Y");
    }
}

TEST_F(UploadTest, StepwisePacketCallGivesUpAfterItsAttempts) {
    UploadTerminal terminal;
    terminal.file = "x";
    for (int i = 0; i < 50; ++i) terminal.packetFailures[i] = 130;
    serve(terminal);
    NameBuffer local(path("quiet.bin"));
    ASSERT_EQ(HM_upload1(1, 'A', "DATA.TXT", local.text), ZELO_OK);
    EXPECT_EQ(HM_upload2(nullptr, nullptr), ZELO_TIMEOUT);
    EXPECT_EQ(fake_pendra::count(Fn::ESC_Y), 9);
    EXPECT_EQ(files.openFiles, 0);

    // With retry times 1 or less there is still one attempt.
    NameBuffer again(path("quiet2.bin"));
    ASSERT_EQ(HM_upload1(1, 'A', "DATA.TXT", again.text), ZELO_OK);
    HM_SetRetryTimes(0);
    EXPECT_EQ(HM_upload2(nullptr, nullptr), ZELO_TIMEOUT);
    EXPECT_EQ(fake_pendra::count(Fn::ESC_Y), 10);
}

TEST_F(UploadTest, StopCancelsAndClosesTheFile) {
    UploadTerminal terminal;
    terminal.file = patternBytes(1000);
    serve(terminal);
    NameBuffer local(path("stopped.bin"));
    ASSERT_EQ(HM_upload1(1, 'A', "DATA.TXT", local.text), ZELO_OK);
    int32_t bytes = 0, packets = 0;
    ASSERT_EQ(HM_upload2(&bytes, &packets), ZELO_MORE);
    HM_stop_communication();
    EXPECT_EQ(HM_upload2(&bytes, &packets), ZELO_STOPPED);
    EXPECT_EQ(genericRequests(), std::vector<std::string>{"y"});
    EXPECT_EQ(files.openFiles, 0);
    EXPECT_EQ(HM_get_return_string_length(7), 0);

    // The whole-file call, stopped between packets.
    fake_pendra::reset();
    terminal.position = 0;
    fake_pendra::setResponder([&terminal](const fake_pendra::Call& c) {
        if (c.fn == Fn::ACK) HM_stop_communication();
        return terminal.answer(c);
    });
    NameBuffer whole(path("stopped2.bin"));
    EXPECT_EQ(HM_upload(1, 'A', "DATA.TXT", whole.text), ZELO_STOPPED);
    EXPECT_EQ(fake_pendra::count(Fn::ESC_Y), 1);
    EXPECT_EQ(genericRequests(), std::vector<std::string>{"y"});
    EXPECT_EQ(files.openFiles, 0);
}

// A packet that did not land in the local file is neither acknowledged nor
// reported as stored.
TEST_F(UploadTest, FailedWriteCancelsWithoutAcknowledging) {
    UploadTerminal terminal;
    terminal.file = patternBytes(500);
    files.writesBeforeFailure = 1;
    NameBuffer local(path("full.bin"));
    EXPECT_EQ(uploadWhole(terminal, local), ZELO_CANNOT_OPEN_LOCAL);
    EXPECT_EQ(fake_pendra::count(Fn::ACK), 1);
    EXPECT_EQ(genericRequests(), std::vector<std::string>{"y"});
    EXPECT_EQ(files.openFiles, 0);

    fake_pendra::reset();
    serve(terminal);
    files.writesBeforeFailure = 0;
    NameBuffer stepwise(path("full2.bin"));
    ASSERT_EQ(HM_upload1(1, 'A', "DATA.TXT", stepwise.text), ZELO_OK);
    int32_t bytes = -1, packets = -1;
    EXPECT_EQ(HM_upload2(&bytes, &packets), ZELO_CANNOT_OPEN_LOCAL);
    EXPECT_EQ(bytes, -1);
    EXPECT_EQ(fake_pendra::count(Fn::ACK), 0);
    EXPECT_EQ(genericRequests(), std::vector<std::string>{"y"});
    EXPECT_EQ(files.openFiles, 0);
}

TEST_F(UploadTest, LocalFileThatCannotBeCreatedGives52) {
    UploadTerminal terminal;
    serve(terminal);
    NameBuffer local(path("no/such/folder/x.txt"));
    EXPECT_EQ(HM_upload(1, 'A', "DATA.TXT", local.text), ZELO_CANNOT_OPEN_LOCAL);
    EXPECT_EQ(HM_upload1(1, 'A', "DATA.TXT", local.text), ZELO_CANNOT_OPEN_LOCAL);
    EXPECT_EQ(fake_pendra::count(Fn::ESC_Y), 0);
}

TEST_F(UploadTest, NamesTooLongForTheirBuffersAreRefused) {
    UploadTerminal terminal;
    serve(terminal);
    NameBuffer local(path("ok.txt"));
    char longLocal[200];
    std::memset(longLocal, 'n', sizeof longLocal - 1);
    longLocal[sizeof longLocal - 1] = 0;
    EXPECT_EQ(HM_upload(1, 'A', "DATA.TXT", longLocal), ZELO_UNKNOWN_RESPONSE);

    const std::string remote99(99, 'r'), remote100(100, 'r');
    EXPECT_EQ(HM_upload1(1, 'A', remote100.c_str(), local.text), ZELO_UNKNOWN_RESPONSE);
    const std::string remote244(244, 'r');
    EXPECT_EQ(HM_upload(1, 'A', remote244.c_str(), local.text), ZELO_UNKNOWN_RESPONSE);
    EXPECT_TRUE(fake_pendra::calls().empty()) << fake_pendra::transcript();

    EXPECT_EQ(HM_upload1(1, 'A', remote99.c_str(), local.text), ZELO_OK);
    EXPECT_EQ(fake_pendra::callsOf(Fn::ESC_U).back().request, remote99);

    // The request text of the memory form is cut to 255 characters.
    const std::string request300(300, 'q');
    EXPECT_EQ(HM_upload11(1, 'A', request300.c_str()), ZELO_OK);
    EXPECT_EQ(fake_pendra::callsOf(Fn::ESC_U).back().requestLength, 255);
}

TEST_F(UploadTest, StepwiseUploadToMemory) {
    UploadTerminal terminal;
    terminal.file = patternBytes(300);
    terminal.packetSize = 255;
    serve(terminal);
    ASSERT_EQ(HM_upload11(1, 'D', "DATA.TXT[0]"), ZELO_OK);

    std::string received;
    char packet[ZELO_PACKET_SIZE];
    int32_t code = ZELO_MORE;
    while ((code = HM_upload22(packet, 0)) == ZELO_MORE)
        received.append(packet, static_cast<std::size_t>(HM_get_return_string_length(0)));
    EXPECT_EQ(code, ZELO_OK);
    EXPECT_EQ(received, terminal.file);
    EXPECT_EQ(fake_pendra::count(Fn::ACK), 3);

    // An error is acknowledged too, and translated.
    terminal.packetFailures[terminal.packetRequests] = 7;
    EXPECT_EQ(HM_upload22(packet, 0), ZELO_NO_SUCH_FILE);
    EXPECT_EQ(fake_pendra::count(Fn::ACK), 4);
}

TEST_F(UploadTest, UploadModeQueryReadsTheReplysThirdByte) {
    fake_pendra::push(Fn::DBG, reply(1, std::string("\0\0\1", 3)));
    EXPECT_EQ(HM_upload_mode(1, 'A'), ZELO_IN_UPLOAD_MODE);
    EXPECT_EQ(fake_pendra::callsOf(Fn::DBG).back().request, "Q");
    fake_pendra::push(Fn::DBG, reply(1, "\1"));  // too short to hold the answer
    EXPECT_EQ(HM_upload_mode(1, 'A'), ZELO_UNKNOWN_RESPONSE);
}

// A resume the terminal did not take leaves it sending from where it was,
// not from the host's offset: a packet fetched then lands in the wrong place
// of the local file. The resume is asked again first, and the file arrives
// whole.
TEST_F(UploadTest, RefusedResumeIsAskedAgainBeforeAnyPacket) {
    UploadTerminal terminal;
    terminal.file = patternBytes(700);
    terminal.packetSize = 100;
    terminal.packetFailures[3] = 130;
    terminal.resumeFailures = {{0, 5}, {1, 253}};
    NameBuffer local(path("resume_refused.bin"));
    EXPECT_EQ(uploadWhole(terminal, local), ZELO_OK);
    EXPECT_EQ(ReadAll(path("resume_refused.bin")), terminal.file);
    // After the failed packet: cancel, then three resumes in a row.
    std::vector<fake_pendra::Fn> order;
    for (const auto& call : fake_pendra::calls())
        if (call.fn == Fn::ESC_U || call.fn == Fn::ESC_Y) order.push_back(call.fn);
    const std::vector<fake_pendra::Fn> expectedAround = {Fn::ESC_Y, Fn::ESC_U, Fn::ESC_U, Fn::ESC_U,
                                                         Fn::ESC_Y};
    EXPECT_NE(std::search(order.begin(), order.end(), expectedAround.begin(), expectedAround.end()),
              order.end());
    EXPECT_EQ(files.openFiles, 0);
}

TEST_F(UploadTest, ResumeNeverTakenFailsTheUpload) {
    UploadTerminal terminal;
    terminal.file = patternBytes(700);
    terminal.packetSize = 100;
    terminal.packetFailures[3] = 130;
    for (int i = 0; i < 20; ++i) terminal.resumeFailures[i] = 5;
    NameBuffer local(path("resume_never.bin"));
    EXPECT_EQ(uploadWhole(terminal, local), ZELO_NAK);
    EXPECT_EQ(fake_pendra::count(Fn::ESC_Y), 4);
    EXPECT_EQ(files.openFiles, 0);

    // Stepwise: after a refused resume the packet call fetches nothing.
    fake_pendra::reset();
    UploadTerminal stepwise;
    stepwise.file = patternBytes(700);
    stepwise.resumeFailures = {{0, 5}};
    serve(stepwise);
    NameBuffer stepName(path("step_refused.bin"));
    ASSERT_EQ(HM_upload1(1, 'A', "DATA.TXT", stepName.text), ZELO_OK);
    int32_t bytes = 0, packets = 0;
    for (int i = 0; i < 3; ++i) ASSERT_EQ(HM_upload2(&bytes, &packets), ZELO_MORE);
    EXPECT_EQ(HM_upload1_continue(), ZELO_NAK);
    const int fetched = fake_pendra::count(Fn::ESC_Y);
    EXPECT_NE(HM_upload2(&bytes, &packets), ZELO_MORE);
    EXPECT_EQ(fake_pendra::count(Fn::ESC_Y), fetched);
    EXPECT_EQ(files.openFiles, 0);
}

// Uploads as the host drives them: request, packets fetched and
// acknowledged, re-requests without an acknowledgement, resume, cancel.
#include "terminal_fixture.hpp"

namespace termsim::test {
namespace {

class UploadTest : public TerminalTest {
protected:
    // Fetches packets until the end, acknowledging each; returns the bytes.
    std::string fetchAll() {
        std::string received;
        for (int guard = 0; guard < 100000; ++guard) {
            const Reply packet = send(Command::NextPacket);
            if (packet.status != 1) {
                EXPECT_EQ(packet.status, 3);
                return received;
            }
            EXPECT_FALSE(packet.payload.empty());
            EXPECT_LE(packet.payload.size(), 255u);
            received += packet.payload;
            send(Command::Ack);
        }
        ADD_FAILURE() << "upload never ended";
        return received;
    }

    static std::string allByteValues(std::size_t length) {
        std::string bytes(length, '\0');
        for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>((i * 7 + 3) % 256);
        return bytes;
    }
};

TEST_F(UploadTest, FilesOfEdgeSizesArriveWhole) {
    start();
    for (std::size_t size : {0u, 1u, 254u, 255u, 256u, 510u, 511u, 70000u}) {
        const std::string bytes = allByteValues(size);
        WriteAll(ram() / "DATA.BIN", bytes);
        ASSERT_EQ(send(Command::UploadRequest, "DATA.BIN").status, 4) << size;
        EXPECT_EQ(fetchAll(), bytes) << size;
    }
}

TEST_F(UploadTest, AskingAgainWithoutAcknowledgementRepeatsThePacket) {
    start();
    const std::string bytes = allByteValues(600);
    WriteAll(ram() / "LOG.DAT", bytes);
    ASSERT_EQ(send(Command::UploadRequest, "LOG.DAT").status, 4);

    const Reply first = send(Command::NextPacket);
    const Reply again = send(Command::NextPacket);
    EXPECT_EQ(first.payload, bytes.substr(0, 255));
    EXPECT_EQ(again.payload, first.payload);
    send(Command::Ack);
    // A second acknowledgement with no packet outstanding must not skip one.
    send(Command::Ack);
    EXPECT_EQ(send(Command::NextPacket).payload, bytes.substr(255, 255));
    send(Command::Ack);
    EXPECT_EQ(send(Command::NextPacket).payload, bytes.substr(510));
    send(Command::Ack);
    EXPECT_EQ(send(Command::NextPacket).status, 3);
    // Asked again after the end, the answer stays "end".
    EXPECT_EQ(send(Command::NextPacket).status, 3);
    EXPECT_EQ(terminal_->settings().filesSent, std::vector<std::string>{"LOG.DAT"});
}

TEST_F(UploadTest, ResumeStartsAtTheGivenOffset) {
    start();
    const std::string bytes = allByteValues(1000);
    WriteAll(ram() / "DATA.TXT", bytes);
    ASSERT_EQ(send(Command::UploadRequest, "DATA.TXT").status, 4);
    send(Command::NextPacket);
    send(Command::Ack);
    send(Command::NextPacket);  // lost: never acknowledged
    EXPECT_EQ(text("y").status, 4);

    // The host goes back 120 bytes from what it holds, mid-packet.
    ASSERT_EQ(send(Command::UploadRequest, "DATA.TXT[135]").status, 4);
    EXPECT_EQ(fetchAll(), bytes.substr(135));
    ASSERT_EQ(send(Command::UploadRequest, "DATA.TXT[0]").status, 4);
    EXPECT_EQ(fetchAll(), bytes);
    ASSERT_EQ(send(Command::UploadRequest, "DATA.TXT[1000]").status, 4);
    EXPECT_EQ(fetchAll(), "");
}

TEST_F(UploadTest, RefusedRequests) {
    start();
    WriteAll(ram() / "DATA.TXT", "abc");
    EXPECT_EQ(send(Command::UploadRequest, "MISSING.TXT").status, 7);
    EXPECT_EQ(send(Command::UploadRequest, "DATA.TXT[4]").status, 7);
    EXPECT_EQ(send(Command::UploadRequest, "DATA.TXT[x]").status, 7);
    EXPECT_EQ(send(Command::UploadRequest, "DATA.TXT[]").status, 7);
    EXPECT_EQ(send(Command::UploadRequest, "C:DATA.TXT").status, 7);  // no EMS drive
    EXPECT_EQ(send(Command::NextPacket).status, 7);                   // nothing open
    ASSERT_EQ(send(Command::UploadRequest, "data.txt").status, 4);
    EXPECT_EQ(text("y").status, 4);
    EXPECT_EQ(send(Command::NextPacket).status, 7);  // cancelled
}

TEST_F(UploadTest, DelmarUploadsFromItsEmsDrive) {
    start(Model::Delmar);
    WriteAll(ems() / "BIG.DAT", "from ems");
    WriteAll(ram() / "BIG.DAT", "from ram");
    ASSERT_EQ(send(Command::UploadRequest, "C:BIG.DAT").status, 4);
    EXPECT_EQ(fetchAll(), "from ems");
    EXPECT_EQ(terminal_->settings().filesSent, std::vector<std::string>{"C:BIG.DAT"});
}

}  // namespace
}  // namespace termsim::test

// Downloads as the host sends them: announce, escaped packets, end; resume
// to an earlier offset; cancel; malformed packets refused.
#include "escaped_form.hpp"
#include "terminal_fixture.hpp"

namespace termsim::test {
namespace {

class DownloadTest : public TerminalTest {
protected:
    // Sends `bytes` in packets of `packetSize`, as the host does.
    void sendPackets(const std::string& bytes, std::size_t packetSize = 120) {
        for (std::size_t at = 0; at < bytes.size(); at += packetSize) {
            ASSERT_EQ(text("Y" + zelo::escaped(bytes.substr(at, packetSize))).status, 4) << at;
        }
    }
};

TEST_F(DownloadTest, EveryByteValueSurvivesTheEscapedForm) {
    start();
    std::string bytes;
    for (int round = 0; round < 3; ++round) {
        for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
    }
    ASSERT_EQ(text("LALL.BIN").status, 4);
    sendPackets(bytes);
    ASSERT_EQ(text("Z").status, 4);
    EXPECT_EQ(ReadAll(ram() / "ALL.BIN"), bytes);
    EXPECT_EQ(terminal_->settings().filesReceived, std::vector<std::string>{"ALL.BIN"});
}

TEST_F(DownloadTest, EmptyFileAndReplacement) {
    start();
    WriteAll(ram() / "Price.Dat", "old contents");
    ASSERT_EQ(text("LPRICE.DAT").status, 4);
    ASSERT_EQ(text("Z").status, 4);
    // Replaced under its stored name, not doubled under a second spelling.
    EXPECT_EQ(ReadAll(ram() / "Price.Dat"), "");
    EXPECT_FALSE(std::filesystem::exists(ram() / "PRICE.DAT"));
}

TEST_F(DownloadTest, ResumeCutsBackToTheOffsetAndResends) {
    start();
    std::string bytes(500, 'x');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>('a' + i % 26);
    ASSERT_EQ(text("LDATA.TXT").status, 4);
    sendPackets(bytes.substr(0, 480));  // four packets; say the fourth reply was lost
    // The host resumes one packet back from the three it counted.
    ASSERT_EQ(text("LDATA.TXT[240]").status, 4);
    sendPackets(bytes.substr(240));
    ASSERT_EQ(text("Z").status, 4);
    EXPECT_EQ(ReadAll(ram() / "DATA.TXT"), bytes);
}

TEST_F(DownloadTest, ResumeBeyondWhatArrivedIsRefused) {
    start();
    ASSERT_EQ(text("LDATA.TXT").status, 4);
    sendPackets(std::string(100, 'a'));
    EXPECT_EQ(text("LDATA.TXT[120]").status, 128);
    EXPECT_EQ(text("LOTHER.TXT[0]").status, 4);  // a fresh start elsewhere is fine
    EXPECT_EQ(text("LNEW.TXT[10]").status, 128);
}

TEST_F(DownloadTest, CancelWritesNothing) {
    start();
    ASSERT_EQ(text("LDATA.TXT").status, 4);
    sendPackets("partial");
    EXPECT_EQ(text("z").status, 4);
    EXPECT_EQ(text("Z").status, 128);
    EXPECT_EQ(text("Yabc").status, 128);
    EXPECT_FALSE(std::filesystem::exists(ram() / "DATA.TXT"));
}

TEST_F(DownloadTest, MalformedPacketsAreRefusedAndLeaveTheFileIntact) {
    start();
    ASSERT_EQ(text("LDATA.TXT").status, 4);
    sendPackets("good");
    for (const std::string& packet :
         {std::string("Yab\\"), std::string("Y\\\x01", 3), std::string("Y\x05", 2),
          std::string("Y\xE1", 2), std::string("Y\\\xC1", 3)}) {
        EXPECT_EQ(text(packet).status, 128) << packet;
    }
    sendPackets(" and more");
    ASSERT_EQ(text("Z").status, 4);
    EXPECT_EQ(ReadAll(ram() / "DATA.TXT"), "good and more");
}

TEST_F(DownloadTest, DelmarWritesDriveCToEms) {
    start(Model::Delmar);
    ASSERT_EQ(text("LC:BIG.DAT").status, 4);
    sendPackets("ems data");
    ASSERT_EQ(text("Z").status, 4);
    EXPECT_EQ(ReadAll(ems() / "BIG.DAT"), "ems data");
    EXPECT_FALSE(std::filesystem::exists(ram() / "BIG.DAT"));
}

TEST_F(DownloadTest, IllegalTargetsAreRefused) {
    start();
    for (const char* request :
         {"L", "L../ESCAPE", "L/etc/passwd", "LDIR/FILE", "LC:EMS.DAT", "L.HIDDEN", "LNAME[abc]"}) {
        EXPECT_EQ(text(request).status, 128) << request;
    }
}

}  // namespace
}  // namespace termsim::test

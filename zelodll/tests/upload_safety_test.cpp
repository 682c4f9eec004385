// What an upload leaves in the local files: the earlier file of that name
// or the new whole one, whenever it ends (success, failure, stop, a kill or
// a power cut at any step), never a temporary after it has ended, and never
// a file that fails the terminal's whole-file check.
#include <vector>

#include "crash_file_system.hpp"
#include "transfer_fixture.hpp"

using fake_pendra::Fn;
using namespace transfer_test;

namespace {

const std::string kDestination = "/uploads/OUT.DAT";
const std::string kEarlier = "EARLIER GOOD FILE\n";

}  // namespace

class UploadSafetyTest : public TransferTest {
protected:
    void SetUp() override {
        TransferTest::SetUp();
        disk.put(kDestination, kEarlier);
        zelo::replaceFileSystemForTesting(&disk);
    }

    // The stepwise upload as the program drives it, from the terminal that
    // answers the link now; the last result.
    static int32_t uploadStepwise() {
        NameBuffer local(kDestination);
        int32_t code = HM_upload1(1, 'A', "DATA.TXT", local.text);
        if (code != ZELO_OK) return code;
        int32_t bytes = 0, packets = 0;
        while ((code = HM_upload2(&bytes, &packets)) == ZELO_MORE) {
        }
        return code;
    }
    static int32_t uploadWhole() {
        NameBuffer local(kDestination);
        return HM_upload(1, 'A', "DATA.TXT", local.text);
    }

    CrashFileSystem disk;
};

TEST_F(UploadSafetyTest, CrashAtEveryStepLeavesTheEarlierFileOrTheNewWholeOne) {
    for (int32_t mode : {ZELO_SAVE_OVERWRITE, ZELO_SAVE_APPEND}) {
        for (bool whole : {true, false}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << (whole ? " whole" : " stepwise"));
            disk = CrashFileSystem();
            disk.put(kDestination, kEarlier);
            fake_pendra::reset();
            HM_set_upload_file_save_mode(mode);
            UploadTerminal terminal;
            terminal.file = patternBytes(700);
            terminal.packetFailures[2] = 130;  // a resume in the middle
            const std::string after =
                mode == ZELO_SAVE_APPEND ? kEarlier + terminal.file : terminal.file;

            std::vector<CrashFileSystem::Files> crashes;
            disk.onStep = [&] {
                crashes.push_back(disk.afterKill());
                crashes.push_back(disk.afterPowerCut());
            };
            serve(terminal);
            EXPECT_EQ(whole ? uploadWhole() : uploadStepwise(), ZELO_OK);
            ASSERT_GT(crashes.size(), 10u);
            for (std::size_t i = 0; i < crashes.size(); ++i) {
                const std::string& left = crashes[i][kDestination];
                EXPECT_TRUE(left == kEarlier || left == after)
                    << "crash " << i << " leaves " << left.size() << " bytes";
            }
            EXPECT_EQ(crashes.back()[kDestination], after);
            EXPECT_EQ(disk.afterKill(), (CrashFileSystem::Files{{kDestination, after}}));
        }
    }
}

TEST_F(UploadSafetyTest, FailedOrStoppedUploadLeavesTheEarlierFileAndNoTemporary) {
    const CrashFileSystem::Files untouched{{kDestination, kEarlier}};
    for (int32_t mode : {ZELO_SAVE_NEW_NAME, ZELO_SAVE_OVERWRITE, ZELO_SAVE_APPEND}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        HM_set_upload_file_save_mode(mode);
        UploadTerminal silent;
        silent.file = patternBytes(700);
        for (int i = 2; i < 100; ++i) silent.packetFailures[i] = 130;
        serve(silent);
        EXPECT_EQ(uploadStepwise(), ZELO_TIMEOUT);
        EXPECT_EQ(disk.afterKill(), untouched);
        EXPECT_EQ(uploadWhole(), ZELO_TIMEOUT);
        EXPECT_EQ(disk.afterKill(), untouched);

        UploadTerminal stopped;
        stopped.file = patternBytes(700);
        fake_pendra::setResponder([&stopped](const fake_pendra::Call& call) {
            if (call.fn == Fn::ACK && stopped.position > 300) HM_stop_communication();
            return stopped.answer(call);
        });
        EXPECT_EQ(uploadStepwise(), ZELO_STOPPED);
        EXPECT_EQ(disk.afterKill(), untouched);
    }
}

// The terminal's CRC-32 and length of its file decide: a file with a packet
// stored twice, or one altered on its way, never replaces the earlier file.
TEST_F(UploadSafetyTest, EndCheckRefusesAFileThatDoesNotMatchTheTerminals) {
    for (int32_t mode : {ZELO_SAVE_OVERWRITE, ZELO_SAVE_APPEND}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        HM_set_upload_file_save_mode(mode);
        UploadTerminal terminal;
        terminal.file = patternBytes(500);
        terminal.endsWithCheck = true;

        // A terminal that sends its first packet again without having been
        // asked to go back.
        int packetRequests = 0;
        fake_pendra::setResponder([&](const fake_pendra::Call& call) {
            if (call.fn == Fn::ESC_Y && packetRequests++ == 1) terminal.position = 0;
            return terminal.answer(call);
        });
        EXPECT_EQ(uploadWhole(), ZELO_BAD_BLOCK);
        EXPECT_EQ(disk.afterKill(), (CrashFileSystem::Files{{kDestination, kEarlier}}));

        // A check that does not match what was sent.
        fake_pendra::setResponder([&](const fake_pendra::Call& call) {
            auto answer = terminal.answer(call);
            if (answer && answer->result == 3) answer->bytes[0] ^= 1;
            return answer;
        });
        EXPECT_EQ(uploadStepwise(), ZELO_BAD_BLOCK);
        EXPECT_EQ(disk.afterKill(), (CrashFileSystem::Files{{kDestination, kEarlier}}));

        // The check covers what this upload brought, also when it appends.
        serve(terminal);
        EXPECT_EQ(uploadStepwise(), ZELO_OK);
        const std::string after =
            mode == ZELO_SAVE_APPEND ? kEarlier + terminal.file : terminal.file;
        EXPECT_EQ(disk.afterKill(), (CrashFileSystem::Files{{kDestination, after}}));
        disk.put(kDestination, kEarlier);
    }
}

// Files to and from simulated terminals through the whole stack, whole-file
// and stepwise, byte for byte, on a clean line and on a faulty one.
#include "line_under_test.hpp"
#include "packed_bytes.hpp"

namespace termsim::end_to_end {
namespace {

class Transfers : public LineUnderTest {
protected:
    // Sends a host file to the terminal packet by packet, as the program does.
    int32_t downloadStepwise(char address, const std::string& local, const std::string& remote) {
        int32_t offset = 0;
        int32_t result = HM_download1(kPort, address, local.c_str(), remote.c_str(), &offset);
        if (result != ZELO_OK) return result;
        EXPECT_EQ(offset, static_cast<int32_t>(std::filesystem::file_size(local)));
        int32_t bytes = 0, packets = 0;
        while ((result = HM_download2(&bytes, &packets)) == ZELO_MORE) {
        }
        return result;
    }

    int32_t uploadStepwise(char address, const std::string& remote, const std::string& local) {
        std::vector<char> name(ZELO_LOCAL_NAME_SIZE, 0);
        local.copy(name.data(), local.size());
        int32_t result = HM_upload1(kPort, address, remote.c_str(), name.data());
        if (result != ZELO_OK) return result;
        int32_t bytes = 0, packets = 0;
        while ((result = HM_upload2(&bytes, &packets)) == ZELO_MORE) {
        }
        return result;
    }

    int32_t uploadWhole(char address, const std::string& remote, const std::string& local) {
        std::vector<char> name(ZELO_LOCAL_NAME_SIZE, 0);
        local.copy(name.data(), local.size());
        return HM_upload(kPort, address, remote.c_str(), name.data());
    }
};

TEST_F(Transfers, EverySizeAroundThePacketBoundariesBothWaysAndBothForms) {
    startLine({terminal('A'), terminal('B')});
    const std::size_t sizes[] = {0, 1, 119, 120, 121, 255, 256, 1000};
    uint32_t seed = 1;
    for (std::size_t size : sizes) {
        for (bool binary : {false, true}) {
            const std::string bytes = binary ? randomBytes(size, seed++) : textBytes(size);
            const std::string name = "F" + std::to_string(size) + (binary ? ".BIN" : ".TXT");
            WriteAll(hostFile(name), bytes);
            SCOPED_TRACE(name);

            // Host to terminal A stepwise, to terminal B in one call.
            ASSERT_EQ(downloadStepwise('A', hostFile(name).string(), name), ZELO_OK);
            EXPECT_EQ(ReadAll(ramFolder('A') / name), bytes);
            ASSERT_EQ(HM_download(kPort, 'B', hostFile(name).c_str(), name.c_str()), ZELO_OK);
            EXPECT_EQ(ReadAll(ramFolder('B') / name), bytes);

            // And back again, each form from one terminal.
            ASSERT_EQ(uploadStepwise('A', name, hostFile("up1-" + name).string()), ZELO_OK);
            EXPECT_EQ(ReadAll(hostFile("up1-" + name)), bytes);
            ASSERT_EQ(uploadWhole('B', name, hostFile("up2-" + name).string()), ZELO_OK);
            EXPECT_EQ(ReadAll(hostFile("up2-" + name)), bytes);
        }
    }
}

TEST_F(Transfers, OneMegabyteEachWay) {
    startLine({terminal('A')});
    const std::string bytes = randomBytes(1 << 20, 99);
    WriteAll(hostFile("BIG.BIN"), bytes);
    ASSERT_EQ(downloadStepwise('A', hostFile("BIG.BIN").string(), "BIG.BIN"), ZELO_OK);
    EXPECT_TRUE(ReadAll(ramFolder('A') / "BIG.BIN") == bytes);
    ASSERT_EQ(uploadStepwise('A', "BIG.BIN", hostFile("BACK.BIN").string()), ZELO_OK);
    EXPECT_TRUE(ReadAll(hostFile("BACK.BIN")) == bytes);
}

// A terminal that sends one byte wrongly, unseen by the link: the check at
// the upload's end refuses the file, and the host's earlier file stays as
// it was, with no temporary left beside it.
TEST_F(Transfers, AStreamedUploadThatDoesNotMatchTheTerminalsFileIsRefused) {
    LineOptions options;
    options.flipUploadByte = 300;
    startLine({terminal('A')}, options);
    std::filesystem::create_directories(ramFolder('A'));
    const std::string bytes = randomBytes(1000, 5);
    WriteAll(ramFolder('A') / "KEEP.BIN", bytes);
    const std::string local = hostFile("KEEP.BIN").string();
    WriteAll(local, "the version before");
    EXPECT_EQ(uploadStepwise('A', "KEEP.BIN", local), ZELO_BAD_BLOCK);
    EXPECT_EQ(ReadAll(local), "the version before");
    EXPECT_EQ(uploadWhole('A', "KEEP.BIN", local), ZELO_BAD_BLOCK);
    EXPECT_EQ(ReadAll(local), "the version before");
    EXPECT_FALSE(std::filesystem::exists(local + ".zelo-part"));

    // A file shorter than the altered offset arrives whole.
    WriteAll(ramFolder('A') / "SHORT.BIN", bytes.substr(0, 200));
    EXPECT_EQ(uploadStepwise('A', "SHORT.BIN", local), ZELO_OK);
    EXPECT_EQ(ReadAll(local), bytes.substr(0, 200));
}

TEST_F(Transfers, MissingFilesOnEitherSide) {
    startLine({terminal('A')});
    EXPECT_EQ(uploadStepwise('A', "NONE.TXT", hostFile("none.txt").string()), ZELO_NO_SUCH_FILE);
    EXPECT_EQ(uploadWhole('A', "NONE.TXT", hostFile("none.txt").string()), ZELO_NO_SUCH_FILE);
    EXPECT_FALSE(std::filesystem::exists(hostFile("none.txt")));
    EXPECT_EQ(downloadStepwise('A', hostFile("absent").string(), "X.TXT"), ZELO_NO_SUCH_FILE);
    // A silent address times out on the request itself.
    EXPECT_EQ(uploadStepwise('Q', "ANY.TXT", hostFile("q.txt").string()), ZELO_TIMEOUT);
}

// On a line that corrupts and drops a share of the frames, every transfer
// either lands byte for byte or says it failed: never a silently wrong file.
// Every other file is text, which goes packed both ways.
TEST_F(Transfers, FaultyLineNeverDeliversAWrongFile) {
    LineOptions options;
    options.faults.seed = 20261208;
    options.faults.corrupt = 0.01;
    options.faults.drop = 0.01;
    startLine({terminal('A')}, options);
    int landed = 0;
    for (int round = 0; round < 6; ++round) {
        const std::size_t size = 6000 + 997 * static_cast<std::size_t>(round);
        const std::string bytes = round % 2 == 0
                                      ? randomBytes(size, static_cast<uint32_t>(round + 7))
                                      : priceLines(size * 4);
        const std::string name = "R" + std::to_string(round) + ".BIN";
        WriteAll(hostFile(name), bytes);
        SCOPED_TRACE(name);

        const int32_t down = downloadStepwise('A', hostFile(name).string(), name);
        if (down == ZELO_OK) {
            EXPECT_EQ(ReadAll(ramFolder('A') / name), bytes);
            ++landed;
        } else {
            std::filesystem::remove(ramFolder('A') / name);
            WriteAll(ramFolder('A') / name, bytes);  // put it there for the upload
        }
        const int32_t up = uploadStepwise('A', name, hostFile("back-" + name).string());
        if (up == ZELO_OK) {
            EXPECT_EQ(ReadAll(hostFile("back-" + name)), bytes);
            ++landed;
        }
    }
    EXPECT_GT(landed, 0) << "one percent of faults should let most transfers through";
    if (pendra::wire::packingAvailable()) {
        EXPECT_GT(ptyLine_.server().counters().packedFrames.load(), 0u);
        EXPECT_GT(ptyLine_.server().counters().packedPackets.load(), 0u);
    }
}

}  // namespace
}  // namespace termsim::end_to_end

// Why a transfer's local file failed, for the operator: the file, what
// could not be done and the system's own reason, kept until the next
// transfer starts.
#include <cstring>

#include "transfer_fixture.hpp"

using namespace transfer_test;

namespace {

std::string lastFileError() {
    char text[512] = {};
    const int32_t kind = HM_last_file_error_text(text, sizeof text);
    EXPECT_EQ(kind, text[0] != 0 ? 1 : 0) << text;
    return text;
}

}  // namespace

class LocalFileErrorTest : public TransferTest {
protected:
    // A path below a regular file: no one can create or open it, root
    // included.
    std::string pathBelowAFile() {
        WriteAll(path("file.txt"), "in the way");
        return path("file.txt/sub/x");
    }
    // What the system says when that path is opened.
    std::string systemReasonFor(const std::string& name) {
        const auto file =
            zelo::platformFileSystem().open(name.c_str(), zelo::OpenMode::CreateWrite);
        const std::string reason = zelo::lastSystemErrorText();  // before anything else
        EXPECT_EQ(file, nullptr);
        return reason;
    }
};

TEST_F(LocalFileErrorTest, UploadThatCannotCreateItsFileNamesItWithTheSystemsReason) {
    UploadTerminal terminal;
    terminal.file = "data";
    serve(terminal);
    const std::string local = pathBelowAFile();
    const std::string reason = systemReasonFor(local);
    ASSERT_FALSE(reason.empty());
    NameBuffer name(local);

    EXPECT_EQ(HM_upload(1, 'A', "DATA.TXT", name.text), ZELO_CANNOT_OPEN_LOCAL);
    EXPECT_EQ(lastFileError(), local + ": cannot open for writing: " + reason);
    EXPECT_EQ(HM_upload1(1, 'A', "DATA.TXT", name.text), ZELO_CANNOT_OPEN_LOCAL);
    EXPECT_EQ(lastFileError(), local + ": cannot open for writing: " + reason);

    // The next transfer starts afresh: a good one leaves no text.
    NameBuffer good(path("good.txt"));
    EXPECT_EQ(HM_upload(1, 'A', "DATA.TXT", good.text), ZELO_OK);
    EXPECT_EQ(lastFileError(), "");
}

TEST_F(LocalFileErrorTest, DownloadOfAFileThatCannotBeOpenedNamesIt) {
    const std::string local = pathBelowAFile();
    EXPECT_EQ(HM_download(1, 'A', local.c_str(), "DATA.TXT"), ZELO_NO_SUCH_FILE);
    const std::string text = lastFileError();
    const std::string prefix = local + ": cannot open for reading: ";
    EXPECT_EQ(text.substr(0, prefix.size()), prefix);
    EXPECT_GT(text.size(), prefix.size());  // with a reason

    // A call refused before it looks at the file still clears the last text.
    int32_t offset = 0;
    EXPECT_EQ(HM_download1(1, 'A', local.c_str(), std::string(200, 'n').c_str(), &offset),
              ZELO_UNKNOWN_RESPONSE);
    EXPECT_EQ(lastFileError(), "");
}

TEST_F(LocalFileErrorTest, FaultsInTheMiddleOfAFileAreNamedToo) {
    UploadTerminal source;
    source.file = patternBytes(500);
    serve(source);
    files.writesBeforeFailure = 1;
    NameBuffer name(path("full.bin"));
    EXPECT_EQ(HM_upload(1, 'A', "DATA.TXT", name.text), ZELO_CANNOT_OPEN_LOCAL);
    EXPECT_EQ(lastFileError().rfind(path("full.bin") + ": cannot write", 0), 0u);

    fake_pendra::reset();
    DownloadTerminal sink;
    serve(sink);
    const std::string local = path("broken.bin");
    WriteAll(local, patternBytes(1000));
    files.readsBeforeFailure = 1;
    int32_t offset = 0;
    ASSERT_EQ(HM_download1(1, 'A', local.c_str(), "DATA.TXT", &offset), ZELO_OK);
    int32_t bytes = 0, packets = 0, code = ZELO_MORE;
    while ((code = HM_download2(&bytes, &packets)) == ZELO_MORE) {
    }
    EXPECT_NE(code, ZELO_OK);
    EXPECT_EQ(lastFileError().rfind(local + ": cannot read", 0), 0u);
}

// The caller's buffer gets at most room - 1 characters and a zero; no
// buffer, or no room, gets nothing, and the answer still tells.
TEST_F(LocalFileErrorTest, TextStaysWithinTheCallersRoom) {
    const std::string local = pathBelowAFile();
    EXPECT_EQ(HM_download(1, 'A', local.c_str(), "DATA.TXT"), ZELO_NO_SUCH_FILE);
    char small[8];
    std::memset(small, '#', sizeof small);
    EXPECT_EQ(HM_last_file_error_text(small, 5), 1);
    EXPECT_EQ(std::string(small), local.substr(0, 4));
    EXPECT_EQ(small[5], '#');
    EXPECT_EQ(HM_last_file_error_text(nullptr, 100), 1);
    EXPECT_EQ(HM_last_file_error_text(small, 0), 1);
    EXPECT_EQ(small[5], '#');
    EXPECT_EQ(HM_last_file_error_text(small, -3), 1);
}

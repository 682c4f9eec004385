#include <algorithm>
#include <filesystem>

#include "link/transfer_framing.hpp"
#include "terminal_line.hpp"

namespace zelo::link::testing {
namespace {

using fake_pendra::Call;
using fake_pendra::Fn;

class TransferTest : public FileTerminalsTest {
protected:
    void SetUp() override {
        FileTerminalsTest::SetUp();
        lists.workingDirectory = folder.File("work");
        std::filesystem::create_directories(lists.workingDirectory);
        for (char address : std::string("ABC")) line.terminals[address];
        fake_pendra::setResponder([this](const Call& call) { return line.AnswerCall(call); });
    }

    std::string Stored(char address, const std::string& name) const {
        return ReadAll(lists.workingDirectory + "/ADDR_" + address + "/" + name);
    }
    // Every file under the test's folder, relative to it.
    std::vector<std::string> AllFiles() const {
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Path()))
            if (entry.is_regular_file())
                files.push_back(std::filesystem::relative(entry.path(), folder.Path()).string());
        std::sort(files.begin(), files.end());
        return files;
    }
    std::vector<std::string> UploadRequests() const {
        std::vector<std::string> names;
        for (const Call& call : fake_pendra::callsOf(Fn::ESC_U)) names.push_back(call.request);
        return names;
    }

    TransferLists lists;
    TerminalLine line;
};

TEST_F(TransferTest, DownloadListReachesEveryTerminalByteForByte) {
    const std::string price = PatternBytes(1000, 1);
    WriteAll(File("PRICE.DAT"), price);
    WriteAll(File("EMPTY.DAT"), "");
    lists.downloadFiles[0] = File("PRICE.DAT");
    lists.downloadFiles[3] = File("EMPTY.DAT");
    link.DownloadFileList(operation, lists, false);

    for (char address : std::string("ABC")) {
        EXPECT_EQ(line.terminals[address].files["PRICE.DAT"], price) << address;
        EXPECT_EQ(line.terminals[address].files["EMPTY.DAT"], "") << address;
        EXPECT_EQ(progress.addressStatus[static_cast<std::size_t>(address - 'A')], kStatusDone);
    }
    EXPECT_EQ(link.lines.size(), 6u);
    EXPECT_EQ(link.lines[0], "A|Download |" + File("PRICE.DAT") + "|0");
    EXPECT_EQ(progress.mode, kProgressTransfer);
    EXPECT_EQ(progress.total, 0);  // the last file was empty
    EXPECT_EQ(status.idle, 1);
}

TEST_F(TransferTest, ChosenDownloadsGoToDriveCAndAMissingFileIsReported) {
    WriteAll(File("PRICE.DAT"), "prices");
    lists.pickedFiles = {File("MISSING.DAT"), File("PRICE.DAT")};
    comm.addresses = "B";
    link.DownloadSelectedFiles(operation, lists, true);

    EXPECT_EQ(line.terminals['B'].files["C:PRICE.DAT"], "prices");
    EXPECT_EQ(link.lines, (std::vector<std::string>{"B|Download |" + File("MISSING.DAT") + "|48",
                                                    "B|Download |" + File("PRICE.DAT") + "|0"}));
    EXPECT_EQ(TerminalNameOf("C:\\DATA\\PRICE.DAT", false), "PRICE.DAT");
    EXPECT_EQ(TerminalNameOf("C:\\DATA\\PRICE.DAT", true), "C:PRICE.DAT");
    EXPECT_EQ(TerminalNameOf("D:PRICE.DAT", false), "PRICE.DAT");
}

TEST_F(TransferTest, CommandLineDownloadRepeatsUntilTheFirstSuccess) {
    WriteAll(File("SRC.DAT"), "data");
    CommandLineState commandLine;
    commandLine.tokens = {"ABC", "D", File("SRC.DAT"), "DEST.DAT", "3"};
    commandLine.tokenCount = 5;
    line.terminals['A'].downloadRefusals = 2;
    line.terminals['C'].downloadRefusals = 100;
    // Each refusal counts one attempt of the one-by-one path; a group's
    // announce would be one more.
    lists.groupDownloads = 0;
    link.DownloadByCommandLine(operation, lists, commandLine);

    auto linesOf = [&](char address) {
        return std::count_if(link.lines.begin(), link.lines.end(),
                             [&](const std::string& l) { return l[0] == address; });
    };
    EXPECT_EQ(linesOf('A'), 3);
    EXPECT_EQ(linesOf('B'), 1);
    EXPECT_EQ(linesOf('C'), 3);
    EXPECT_EQ(line.terminals['A'].files["DEST.DAT"], "data");
    EXPECT_EQ(link.lines.back(), "C|Download |" + File("SRC.DAT") + "|3");

    // Without a count each address gets one attempt.
    link.lines.clear();
    line.terminals['A'].downloadRefusals = 1;
    commandLine.tokenCount = 4;
    link.DownloadByCommandLine(operation, lists, commandLine);
    EXPECT_EQ(linesOf('A'), 1);
    EXPECT_EQ(link.lines[0].back(), '3');
}

// One file for several terminals goes to the group; each terminal still
// gets exactly its own line, whichever way it got the file: in the group, by
// a resume after it failed there, or one by one for a terminal the group
// could not take. A terminal that cannot be served at all fails alone.
TEST_F(TransferTest, GroupDownloadGivesEachTerminalItsOwnLine) {
    const std::string price = PatternBytes(9000, 4);
    WriteAll(File("SRC.DAT"), price);
    line.ServeGroups();
    for (char address : std::string("AB")) line.terminals[address].speaksGroup = true;
    line.terminals['B'].groupFailure = 130;  // falls silent in the repairs
    line.terminals['B'].groupHeld = 4096;
    CommandLineState commandLine;
    commandLine.tokens = {"ABC", "D", File("SRC.DAT"), "DEST.DAT", ""};
    commandLine.tokenCount = 4;
    link.DownloadByCommandLine(operation, lists, commandLine);

    const std::string done = "|Download |" + File("SRC.DAT") + "|0";
    EXPECT_EQ(link.lines, (std::vector<std::string>{"A" + done, "B" + done, "C" + done}));
    for (char address : std::string("ABC")) {
        EXPECT_EQ(line.terminals[address].files["DEST.DAT"], price) << address;
        EXPECT_EQ(progress.addressStatus[static_cast<std::size_t>(address - 'A')], kStatusDone);
    }
    auto requestsTo = [](char address) {
        std::vector<std::string> out;
        for (const Call& call : fake_pendra::callsOf(Fn::DBG))
            if (call.address == address && call.request[0] == 'L') out.push_back(call.request);
        return out;
    };
    EXPECT_EQ(requestsTo('A'), std::vector<std::string>{"LDEST.DAT"});
    EXPECT_EQ(requestsTo('B'), (std::vector<std::string>{"LDEST.DAT", "LDEST.DAT[4096]"}));
    EXPECT_EQ(requestsTo('C'), (std::vector<std::string>{"LDEST.DAT", "LDEST.DAT"}));
    EXPECT_EQ(status.idle, 1);

    // The download list, B failing in the group and refusing every request
    // after it: only B's line says so, once per file, in the loop's order.
    fake_pendra::reset();
    fake_pendra::setResponder([this](const Call& call) { return line.AnswerCall(call); });
    line.ServeGroups();
    link.lines.clear();
    line.terminals['B'].groupFailure = 5;
    line.terminals['B'].groupHeld = 0;
    line.terminals['B'].downloadRefusals = 100;
    WriteAll(File("ONE.DAT"), "one");
    lists.downloadFiles[0] = File("ONE.DAT");
    lists.downloadFiles[1] = File("SRC.DAT");
    link.DownloadFileList(operation, lists, 0);
    EXPECT_EQ(link.lines,
              (std::vector<std::string>{"A|Download |" + File("ONE.DAT") + "|0",
                                        "B|Download |" + File("ONE.DAT") + "|3",
                                        "C|Download |" + File("ONE.DAT") + "|0", "A" + done,
                                        "B|Download |" + File("SRC.DAT") + "|3", "C" + done}));
    EXPECT_EQ(line.terminals['A'].files["ONE.DAT"], "one");
    EXPECT_EQ(progress.addressStatus[1], kStatusFailed);

    // Turned off, the same list goes one terminal after another.
    fake_pendra::reset();
    fake_pendra::setResponder([this](const Call& call) { return line.AnswerCall(call); });
    lists.groupDownloads = 0;
    link.DownloadFileList(operation, lists, 0);
    EXPECT_EQ(fake_pendra::count(Fn::GroupOpen), 0);
}

TEST_F(TransferTest, UploadListStoresPerAddressAndDeletesOnlyAfterAGoodUpload) {
    line.terminals['A'].files["LOG.DAT"] = PatternBytes(700, 1);
    line.terminals['B'].files["LOG.DAT"] = PatternBytes(50, 2);
    line.terminals['A'].files["SALES.DAT"] = "sales";
    lists.uploadFiles[0] = "LOG.DAT";
    lists.uploadFiles[5] = "SALES.DAT";
    lists.deleteAfterUpload[0] = 1;
    link.UploadFileList(operation, lists, false);

    EXPECT_EQ(Stored('A', "LOG.DAT"), PatternBytes(700, 1));
    EXPECT_EQ(Stored('B', "LOG.DAT"), PatternBytes(50, 2));
    EXPECT_EQ(Stored('A', "SALES.DAT"), "sales");
    EXPECT_FALSE(line.terminals['A'].files.contains("LOG.DAT"));
    EXPECT_FALSE(line.terminals['B'].files.contains("LOG.DAT"));
    EXPECT_TRUE(line.terminals['A'].files.contains("SALES.DAT"));
    EXPECT_EQ(link.lines, (std::vector<std::string>{
                              "A|Upload |LOG.DAT|0", "A|Purge |LOG.DAT|0", "A|Upload |SALES.DAT|0",
                              "B|Upload |LOG.DAT|0", "B|Purge |LOG.DAT|0", "B|Upload |SALES.DAT|48",
                              "C|Upload |LOG.DAT|48", "C|Upload |SALES.DAT|48"}));
    EXPECT_EQ(progress.addressStatus[2], kStatusNoSuchFile);
    EXPECT_EQ(status.idle, 1);
}

TEST_F(TransferTest, CommandLineUploadStoresUnderTheGivenPath) {
    comm.addresses = "AB";
    line.terminals['A'].files["LOG.DAT"] = PatternBytes(300, 3);
    CommandLineState commandLine;
    commandLine.tokens = {"AB", "U", "LOG.DAT", File("OUT.DAT"), ""};
    commandLine.tokenCount = 4;
    link.UploadByCommandLine(operation, commandLine);

    EXPECT_EQ(ReadAll(File("OUT.DAT")), PatternBytes(300, 3));
    EXPECT_EQ(link.lines,
              (std::vector<std::string>{"A|Upload |LOG.DAT|0", "B|Upload |LOG.DAT|48"}));
    EXPECT_EQ(progress.saveAsName.Get(), File("OUT.DAT"));
    EXPECT_FALSE(std::filesystem::exists(lists.workingDirectory + "/ADDR_A"));
}

TEST_F(TransferTest, AnIncompleteLocalFileIsAFailureAndKeepsTheTerminalsFile) {
    comm.addresses = "A";
    line.terminals['A'].files["LOG.DAT"] = PatternBytes(500, 1);
    const std::string stored = lists.workingDirectory + "/ADDR_A/LOG.DAT";
    // Something cuts the local file short (still the upload's temporary)
    // while the transfer ends.
    line.terminals['A'].onUploadEnd = [&] {
        std::filesystem::resize_file(stored + ".zelo-part", 100);
    };
    lists.uploadFiles[0] = "LOG.DAT";
    lists.deleteAfterUpload[0] = 1;
    link.UploadFileList(operation, lists, false);

    EXPECT_EQ(link.lines, std::vector<std::string>{"A|Upload |LOG.DAT|52"});
    EXPECT_TRUE(line.terminals['A'].files.contains("LOG.DAT"));
    EXPECT_EQ(fake_pendra::count(Fn::ESC_E), 0);
}

// A local file that fails keeps its result line as it was, and the operator
// is told beside it which file failed and the system's reason.
TEST_F(TransferTest, ALocalFileThatFailsIsNamedWithTheSystemsReason) {
    comm.addresses = "A";
    line.terminals['A'].files["LOG.DAT"] = "log";
    // Below a regular file nothing can be made, whoever runs the test.
    WriteAll(File("file.txt"), "in the way");
    const std::string blocked = File("file.txt/sub/OUT.DAT");
    CommandLineState commandLine;
    commandLine.tokens = {"A", "U", "LOG.DAT", blocked, ""};
    commandLine.tokenCount = 4;
    link.UploadByCommandLine(operation, commandLine);

    EXPECT_EQ(link.lines, std::vector<std::string>{"A|Upload |LOG.DAT|52"});
    ASSERT_EQ(link.explained.size(), 1u);
    const std::string upload = blocked + ": cannot open for writing: ";
    EXPECT_EQ(link.explained[0].substr(0, upload.size()), upload);
    EXPECT_GT(link.explained[0].size(), upload.size());

    link.lines.clear();
    link.explained.clear();
    lists.pickedFiles = {File("file.txt/sub/IN.DAT")};
    link.DownloadSelectedFiles(operation, lists, false);
    EXPECT_EQ(link.lines,
              std::vector<std::string>{"A|Download |" + File("file.txt/sub/IN.DAT") + "|48"});
    ASSERT_EQ(link.explained.size(), 1u);
    const std::string download = File("file.txt/sub/IN.DAT") + ": cannot open for reading: ";
    EXPECT_EQ(link.explained[0].substr(0, download.size()), download);

    // A good transfer after them explains nothing.
    link.explained.clear();
    commandLine.tokens = {"A", "U", "LOG.DAT", File("OUT.DAT"), ""};
    link.UploadByCommandLine(operation, commandLine);
    EXPECT_EQ(ReadAll(File("OUT.DAT")), "log");
    EXPECT_TRUE(link.explained.empty());
}

TEST_F(TransferTest, NamesThatLeaveTheAddressFolderAreRefused) {
    comm.addresses = "A";
    const std::vector<std::string> bad = {"../../x", "/etc/x", "..", ".", "C:x", "..\\x", "a/b"};
    for (const std::string& name : bad) line.terminals['A'].files[name] = "evil";
    line.terminals['A'].files["OK.DAT"] = "good";
    lists.pickedFiles = bad;
    lists.pickedFiles.push_back("OK.DAT");
    link.UploadSelectedFiles(operation, lists);

    EXPECT_EQ(AllFiles(), std::vector<std::string>{"work/ADDR_A/OK.DAT"});
    EXPECT_EQ(UploadRequests(), std::vector<std::string>{"OK.DAT"});
    ASSERT_EQ(link.lines.size(), bad.size() + 1);
    for (std::size_t i = 0; i < bad.size(); ++i)
        EXPECT_EQ(link.lines[i], "A|Upload |" + bad[i] + "|49");
    EXPECT_EQ(link.lines.back(), "A|Upload |OK.DAT|0");

    // The upload list is checked the same way; the drive C the program adds
    // for the Delmar's EMS is fine.
    link.lines.clear();
    lists.uploadFiles[0] = "../x";
    lists.uploadFiles[1] = "OK.DAT";
    line.terminals['A'].files["C:OK.DAT"] = "ems";
    link.UploadFileList(operation, lists, true);
    EXPECT_EQ(link.lines, (std::vector<std::string>{"A|Upload |../x|49", "A|Upload |OK.DAT|0"}));
    EXPECT_EQ(Stored('A', "OK.DAT"), "ems");
}

TEST_F(TransferTest, AFolderThatCannotBeMadeEndsTheUpload) {
    WriteAll(lists.workingDirectory + "/ADDR_A", "a file in the way");
    lists.pickedFiles = {"LOG.DAT"};
    link.UploadSelectedFiles(operation, lists);
    EXPECT_EQ(link.boxes, std::vector<std::string>{"Directory '" + lists.workingDirectory +
                                                   "/ADDR_A' can't be created"});
    EXPECT_TRUE(UploadRequests().empty());
    EXPECT_EQ(status.idle, 1);
}

TEST_F(TransferTest, LoopingUploadCountsDownThePeriodOneSecondAtATime) {
    comm.addresses = "A";
    line.terminals['A'].files["LOG.DAT"] = "x";
    lists.uploadFiles[0] = "LOG.DAT";
    lists.uploadLoop = 1;
    lists.uploadPeriod = 60;
    std::vector<int> countdowns;
    link.onRefresh = [&] {
        if (!environment.sleeps.empty() && environment.sleeps.back() == 1000 &&
            (countdowns.empty() || countdowns.back() != progress.countdown))
            countdowns.push_back(progress.countdown);
        if (UploadRequests().size() == 3) link.Stop(status);
    };
    link.UploadFileList(operation, lists, false);

    // Two waits between three passes: 61 steps each, showing 60 down to 0.
    EXPECT_EQ(std::count(environment.sleeps.begin(), environment.sleeps.end(), 1000), 122);
    ASSERT_GE(countdowns.size(), 61u);
    for (int i = 0; i <= 60; ++i) EXPECT_EQ(countdowns[static_cast<std::size_t>(i)], 60 - i);
    // Each pass first puts the terminal into upload mode.
    int uploadModeQueries = 0;
    for (const Call& call : fake_pendra::callsOf(Fn::DBG)) uploadModeQueries += call.request == "Q";
    EXPECT_EQ(uploadModeQueries, 3);
}

TEST_F(TransferTest, LoopingUploadWithoutPeriodOrSelectionNeverSpins) {
    lists.uploadFiles[0] = "LOG.DAT";
    lists.uploadLoop = 1;
    lists.uploadPeriod = 0;
    int passes = 0;
    link.onRefresh = [&] {
        if (++passes > 200) link.Stop(status);
    };
    link.UploadFileList(operation, lists, false);
    EXPECT_EQ(std::count(environment.sleeps.begin(), environment.sleeps.end(), 1000), 0);

    // Nothing selected: no exchange, but a pause per pass.
    link.ClearStop();
    link.onRefresh = nullptr;
    for (auto& selected : progress.addressSelected) selected = 0;
    environment.sleeps.clear();
    environment.onSleep = [&] {
        if (environment.sleeps.size() == 10) link.Stop(status);
    };
    const int uploadsBefore = fake_pendra::count(Fn::ESC_U);
    link.UploadFileList(operation, lists, false);
    EXPECT_EQ(environment.sleeps, std::vector<int>(10, 100));
    EXPECT_EQ(fake_pendra::count(Fn::ESC_U), uploadsBefore);
}

TEST_F(TransferTest, StopDuringAnUploadLeavesNoLineAndTheNextRunWorks) {
    line.terminals['A'].files["LOG.DAT"] = PatternBytes(300, 1);
    line.terminals['B'].files["LOG.DAT"] = PatternBytes(900, 2);
    lists.uploadFiles[0] = "LOG.DAT";
    int packetsOfB = 0;
    line.beforePacket = [&](char address) {
        if (address == 'B' && ++packetsOfB == 3) link.Stop(status);
    };
    link.UploadFileList(operation, lists, false);
    EXPECT_EQ(link.lines, std::vector<std::string>{"A|Upload |LOG.DAT|0"});

    link.ClearStop();
    line.beforePacket = nullptr;
    link.lines.clear();
    link.UploadFileList(operation, lists, false);
    EXPECT_EQ(Stored('B', "LOG.DAT"), PatternBytes(900, 2));
    EXPECT_EQ(link.lines.size(), 3u);
}

TEST_F(TransferTest, PowerSavingIsSwitchedAroundEachAddress) {
    status.powerSaving = 1;
    comm.addresses = "AB";
    line.terminals['A'].files["LOG.DAT"] = "a";
    line.terminals['B'].switchResult = 130;  // B's power saving will not switch off
    lists.uploadFiles[0] = "LOG.DAT";
    link.UploadFileList(operation, lists, false);

    EXPECT_EQ(link.lines,
              (std::vector<std::string>{"A|Power-Saving off| |0", "A|Upload |LOG.DAT|0",
                                        "A|Power-Saving on| |0", "B|Power-Saving off| |4"}));
    EXPECT_EQ(progress.addressStatus[1], kStatusNotDone);
    EXPECT_EQ(HM_get_power_saving_status(), 0);  // B's attempt left the library flag off
}

TEST_F(TransferTest, DelmarGetsItsPausesAfterFilesAndAddresses) {
    comm.terminalType = kDelmar;
    comm.addresses = "A";
    WriteAll(File("P.DAT"), "p");
    lists.pickedFiles = {File("P.DAT")};
    link.DownloadSelectedFiles(operation, lists, false);
    EXPECT_EQ(environment.sleeps, (std::vector<int>{1500, 2000}));

    environment.sleeps.clear();
    line.terminals['A'].files["LOG.DAT"] = "l";
    lists.uploadFiles[0] = "LOG.DAT";
    lists.deleteAfterUpload[0] = 1;
    link.UploadFileList(operation, lists, false);
    EXPECT_EQ(environment.sleeps, (std::vector<int>{1000, 1000, 2000}));
}

TEST_F(TransferTest, PurgeTouchesOnlyTheChosenAddressUnlessAll) {
    for (char address : std::string("ABC")) line.terminals[address].files["OLD.DAT"] = "o";
    lists.pickedFiles = {"OLD.DAT"};
    link.PurgeFiles(operation, lists, 'B', false);
    EXPECT_EQ(link.lines, std::vector<std::string>{"B|Purge |OLD.DAT|0"});
    EXPECT_TRUE(line.terminals['A'].files.contains("OLD.DAT"));

    link.lines.clear();
    link.PurgeFiles(operation, lists, 'B', true);
    EXPECT_EQ(link.lines, (std::vector<std::string>{"A|Purge |OLD.DAT|0", "B|Purge |OLD.DAT|48",
                                                    "C|Purge |OLD.DAT|0"}));
    EXPECT_EQ(progress.addressStatus[1], kStatusNoSuchFile);

    lists.pickedFiles.clear();
    link.PurgeFiles(operation, lists, 'B', true);
    EXPECT_EQ(link.boxes, std::vector<std::string>{"No file to be setting"});
}

}  // namespace
}  // namespace zelo::link::testing

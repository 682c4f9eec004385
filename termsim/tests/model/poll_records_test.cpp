// Poll records from a file or made up, with or without CR LF; a record is
// handed out until acknowledged.
#include "terminal_fixture.hpp"

namespace termsim::test {
namespace {

class PollTest : public TerminalTest {
protected:
    SimulatedTerminal& startWithRecords(const std::string& fileContents, RecordEnd end) {
        WriteAll(folder_.Path() / "polls.txt", fileContents);
        TerminalConfig config = configFor(Model::Gravo);
        config.recordsFile = folder_.Path() / "polls.txt";
        config.recordEnd = end;
        return start(config);
    }

    std::vector<std::string> pollAll() {
        std::vector<std::string> records;
        for (int guard = 0; guard < 1000; ++guard) {
            const Reply reply = send(Command::Poll, std::string(4, '\0'));
            if (reply.status == 3) return records;
            EXPECT_EQ(reply.status, 1);
            records.push_back(reply.payload);
            send(Command::Ack);
        }
        ADD_FAILURE() << "records never ran out";
        return records;
    }
};

TEST_F(PollTest, RecordsKeepOrAddCrLfWhateverTheFileUses) {
    const std::string file = "4901234567894\r\n12345\n\nlast";
    startWithRecords(file, RecordEnd::CrLf);
    EXPECT_EQ(pollAll(), (std::vector<std::string>{"4901234567894\r\n", "12345\r\n", "last\r\n"}));
    startWithRecords(file, RecordEnd::None);
    EXPECT_EQ(pollAll(), (std::vector<std::string>{"4901234567894", "12345", "last"}));
}

TEST_F(PollTest, UnacknowledgedRecordIsHandedOutAgain) {
    startWithRecords("one\ntwo\n", RecordEnd::None);
    EXPECT_EQ(send(Command::Poll).payload, "one");
    EXPECT_EQ(send(Command::Poll).payload, "one");
    send(Command::Ack);
    send(Command::Ack);  // a stray acknowledgement must not lose "two"
    EXPECT_EQ(send(Command::Poll).payload, "two");
    send(Command::Ack);
    EXPECT_EQ(send(Command::Poll).status, 3);
    EXPECT_EQ(terminal_->records().delivered(), 2u);
}

TEST_F(PollTest, KeptRecordsAndTheirNumbersOutliveARestartAndADamagedFileIsRefused) {
    WriteAll(folder_.Path() / "polls.txt", "one\ntwo\nthree\n");
    TerminalConfig config = configFor(Model::Gravo);
    config.recordsFile = folder_.Path() / "polls.txt";
    config.recordEnd = RecordEnd::CrLf;
    config.keepRecords = true;
    start(config);
    send(Command::Poll);
    send(Command::Ack);
    EXPECT_EQ(terminal_->frontRecordNumber(), 2u);
    // Started again: "one" stays taken, and the count goes on.
    start(config);
    EXPECT_EQ(terminal_->frontRecordNumber(), 2u);
    terminal_->dropRecordsThrough(2);
    start(config);
    EXPECT_EQ(terminal_->frontRecordNumber(), 3u);
    EXPECT_EQ(pollAll(), (std::vector<std::string>{"three\r\n"}));

    const auto kept = config.ramFolder.parent_path() /
                      (config.ramFolder.lexically_normal().filename().string() + ".poll-records");
    for (const std::string damaged : {"first 0\n", "first 4\n9:ab", "first 4\nx:ab", "junk"}) {
        WriteAll(kept, damaged);
        std::string error;
        EXPECT_FALSE(SimulatedTerminal::create(config, error)) << damaged;
        EXPECT_FALSE(error.empty()) << damaged;
    }
}

TEST_F(PollTest, LongLinesAreSplitSoEachRecordFitsTheHostBuffer) {
    startWithRecords(std::string(300, 'x') + "\n", RecordEnd::CrLf);
    const auto records = pollAll();
    ASSERT_EQ(records.size(), 3u);
    std::string joined;
    for (const auto& record : records) {
        EXPECT_LE(record.size(), 127u);
        joined += record.substr(0, record.size() - 2);
    }
    EXPECT_EQ(joined, std::string(300, 'x'));
}

// A terminal set to send longer records, up to one reply's 255 bytes, so
// that the host's handling of a record it cannot hold can be seen.
TEST_F(PollTest, RecordLengthLetsRecordsGoPastTheHostBuffer) {
    WriteAll(folder_.Path() / "polls.txt", std::string(200, 'a') + "\n" + std::string(300, 'b'));
    TerminalConfig config = configFor(Model::Gravo);
    config.recordsFile = folder_.Path() / "polls.txt";
    config.recordLength = PollRecords::kLongestRecord;
    start(config);
    const auto records = pollAll();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0], std::string(200, 'a') + "\r\n");
    EXPECT_EQ(records[1], std::string(253, 'b') + "\r\n");
    EXPECT_EQ(records[2], std::string(47, 'b') + "\r\n");
}

TEST_F(PollTest, GeneratedRecordsCarryTheAddress) {
    TerminalConfig config = configFor(Model::Gravo);
    config.address = 'K';
    config.generatedRecords = 3;
    start(config);
    const auto records = pollAll();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].substr(0, 8), "K,00001,");
    EXPECT_NE(records[0], records[1]);
    // The configured line end, once.
    EXPECT_EQ(records[2].size(), 23u) << records[2];
    EXPECT_EQ(records[2].substr(21), "\r\n");
}

TEST_F(PollTest, MissingRecordFileIsReported) {
    TerminalConfig config = configFor(Model::Gravo);
    config.recordsFile = folder_.Path() / "none.txt";
    std::string error;
    EXPECT_FALSE(SimulatedTerminal::create(config, error));
    EXPECT_NE(error.find("none.txt"), std::string::npos);
}

}  // namespace
}  // namespace termsim::test

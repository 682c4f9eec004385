// The Lanta configuration file: its keys, the record built from it, and
// files the record cannot hold.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "dialogs/lanta_key_reader.hpp"
#include "dialogs/lanta_record.hpp"
#include "dialogs/lanta_remote.hpp"
#include "test_support.hpp"

namespace zelo::dialogs {
namespace {

using Kind = LantaRecordResult::Kind;
using namespace std::string_literals;

const std::string kSample =
    "FIELD_DELIMETER=44\r\nRECORD_DELIMETER=13\r\nFIELD=2,CODE(10/A),QTY(5/N)\r\n";

TEST(LantaKey, MatchesWithoutRegardToCaseAndBeforeASpace) {
    const std::string text = "field_delimeter=44\nFIELD =5\nOther=1\n";
    EXPECT_EQ(ReadLantaKey(text, "FIELD_DELIMETER").value, "44");
    const LantaKey field = ReadLantaKey(text, "FIELD");
    EXPECT_EQ(field.result, kLantaKeyFound);
    EXPECT_EQ(field.value, "5");
    EXPECT_EQ(field.lineNumber, 2);
    EXPECT_EQ(ReadLantaKey(text, "RECORD_DELIMETER").result, kLantaKeyMissing);
    EXPECT_EQ(ReadLantaKey(text, "RECORD_DELIMETER").value, "");
}

TEST(LantaKey, FirstLineWinsAndTheValueFollowsTheLastEquals) {
    const std::string text = "NOTE\n=x\nFIELD=A=B,X(1/C)\r\nFIELD=second\n";
    const LantaKey field = ReadLantaKey(text, "FIELD");
    EXPECT_EQ(field.value, "B,X(1/C)");
    EXPECT_EQ(field.lineNumber, 3);
}

// The searched name is shorter than a key that starts like it: the reader
// must neither match nor walk past the name's end (the old reader wrote
// upper-case letters there).
TEST(LantaKey, ALongerKeyNeitherMatchesNorOverrunsTheName) {
    const std::string name = "FIELD";
    const LantaKey found = ReadLantaKey("FIELD_DELIMETER=44\nfield=1,A(2/B)\n", name);
    EXPECT_EQ(found.value, "1,A(2/B)");
    EXPECT_EQ(name, "FIELD");
    // A name held in a buffer exactly as long as itself, checked by ASan.
    const auto exact = std::make_unique<char[]>(5);
    std::copy(name.begin(), name.end(), exact.get());
    EXPECT_EQ(ReadLantaKey("FIELD_DELIMETER=44\n", std::string_view(exact.get(), 5)).result,
              kLantaKeyMissing);
}

TEST(LantaKey, ABlankKeyNamesNothing) {
    EXPECT_EQ(ReadLantaKey(" =9\n  FIELD=1\n", "FIELD").result, kLantaKeyMissing);
    EXPECT_EQ(ReadLantaKey("FIELD\n", "FIELD").result, kLantaKeyMissing);
}

TEST(LantaKey, ALineLongerThanTheReaderIsReported) {
    const std::string text =
        "X=" + std::string(177, 'a') + "\nY=" + std::string(178, 'b') + "\nFIELD=1\n";
    EXPECT_EQ(ReadLantaKey(text, "X").result, kLantaKeyFound);  // 179 characters: fits
    const LantaKey field = ReadLantaKey(text, "FIELD");
    EXPECT_EQ(field.result, kLantaLineTooLong);
    EXPECT_EQ(field.lineNumber, 2);
    EXPECT_EQ(FirstOverlongLantaLine(text), 2);
    EXPECT_EQ(FirstOverlongLantaLine(kSample), 0);
}

TEST(LantaRecord, TheSampleFileGivesItsTwentyFourBytes) {
    const LantaRecordResult built = BuildLantaRecord(kSample, "S.K40");
    EXPECT_EQ(built.kind, Kind::kBuilt);
    EXPECT_EQ(built.record,
              "\x2c\x0d"s
              "BCODE    JAQTY     EN\0"s);
    EXPECT_EQ(built.record.size(), 24u);
}

TEST(LantaRecord, NamesAreCutToEightAndTheFirstItemIsNotAField) {
    const LantaRecordResult built =
        BuildLantaRecord("FIELD=A=B,X(1/C)\nFIELD_DELIMETER=9\n", "S.K40");
    EXPECT_EQ(built.record, "\x09\0AX       AC\0"s);
    const LantaRecordResult cut = BuildLantaRecord("FIELD=x,LONGFIELDNAME(191/Num)\n", "S.K40");
    EXPECT_EQ(cut.kind, Kind::kBuilt);
    EXPECT_EQ(cut.record, "\0\0ALONGFIEL\xffN\0"s);
}

TEST(LantaRecord, NoFieldStillSendsTheDelimiters) {
    for (const std::string& text :
         {"FIELD_DELIMETER=44\nRECORD_DELIMETER=abc\n"s, "FIELD_DELIMETER=44\nFIELD=only\n"s}) {
        const LantaRecordResult built = BuildLantaRecord(text, "S.K40");
        EXPECT_EQ(built.kind, Kind::kNoFields);
        EXPECT_EQ(built.message, kNoLantaSettingMessage);
        EXPECT_EQ(built.record, "\x2c\0@\0"s);
    }
    EXPECT_EQ(LantaRecordWithoutFile().record, "\0\0@\0"s);
}

TEST(LantaRecord, FilesTheRecordCannotHoldAreRefusedNamingTheLine) {
    struct Case {
        std::string text;
        std::string message;
    };
    std::string seventeen = "FIELD=0";
    for (int i = 0; i < 17; ++i) seventeen += ",F" + std::to_string(i) + "(1/A)";
    const Case cases[] = {
        {"A=1\nFIELD=0," + std::string(180, 'x') + "\n",
         "The line 2 of S.K40 is longer than 179 characters; nothing was sent."},
        {"\n\nFIELD=0,CODE(10\n",
         "The field \"CODE(10\" in line 3 of S.K40 has no length or no type; nothing was sent."},
        {"FIELD=0,CODE\n",
         "The field \"CODE\" in line 1 of S.K40 has no length or no type; nothing was sent."},
        {"FIELD=0,CODE(192/A)\n",
         "The field \"CODE(192/A)\" in line 1 of S.K40 has a length that is not a number from 0 "
         "to 191; nothing was sent."},
        {"FIELD=0,CODE(-1/A)\n",
         "The field \"CODE(-1/A)\" in line 1 of S.K40 has a length that is not a number from 0 "
         "to 191; nothing was sent."},
        {seventeen + "\n", "The line 1 of S.K40 lists more than 16 fields; nothing was sent."},
        {"FIELD=0,A" + std::string(100, '(') + "1/A)\n",
         "The field \"A" + std::string(100, '(') +
             "1/A)\" in line 1 of S.K40 is longer than 99 characters; nothing was sent."},
        {"X=1\nRECORD_DELIMETER=256\nFIELD=0,A(1/B)\n",
         "RECORD_DELIMETER in line 2 of S.K40 is not a character code from 0 to 255; nothing was "
         "sent."},
    };
    for (const Case& c : cases) {
        const LantaRecordResult built = BuildLantaRecord(c.text, "S.K40");
        EXPECT_EQ(built.kind, Kind::kRefused) << c.text;
        EXPECT_EQ(built.message, c.message);
        EXPECT_TRUE(built.record.empty());
    }
    // Sixteen fields fill the record: 164 bytes.
    std::string sixteen = "FIELD=0";
    for (int i = 0; i < 16; ++i) sixteen += ",F" + std::to_string(i) + "(1/A)";
    EXPECT_EQ(BuildLantaRecord(sixteen, "S.K40").record.size(), 164u);
}

// Truncated and mutated files: every outcome is either a record whose
// bytes follow the layout or a refusal with a message; AddressSanitizer
// watches the reads.
TEST(LantaRecord, TruncatedAndMutatedFilesNeverGiveABrokenRecord) {
    const std::string base =
        "; site table\r\nFIELD_DELIMETER=44\r\nRECORD_DELIMETER=13\r\n"
        "FIELD=3,CODE(10/A),QTY(5/N),PRICE(8/N),LOCATION_CODE(12/A)\r\n";
    const auto checkRecord = [](const LantaRecordResult& built, const std::string& text) {
        if (built.kind == Kind::kRefused) {
            ASSERT_TRUE(built.record.empty()) << text;
            ASSERT_FALSE(built.message.empty()) << text;
            return;
        }
        ASSERT_GE(built.record.size(), 4u) << text;
        const std::size_t fields = static_cast<unsigned char>(built.record[2]) - 64u;
        ASSERT_LE(fields, kMaxLantaFields) << text;
        ASSERT_EQ(built.record.size(), 3 + 10 * fields + 1) << text;
        ASSERT_EQ(built.record.back(), '\0') << text;
        ASSERT_EQ(built.kind == Kind::kNoFields, fields == 0) << text;
    };
    for (std::size_t length = 0; length <= base.size(); ++length) {
        const std::string text = base.substr(0, length);
        checkRecord(BuildLantaRecord(text, "T.K40"), text);
    }
    std::mt19937 random(20261208);
    const std::string alphabet = "=,()/\r\n\0 9AZaz"s;
    for (int round = 0; round < 20000; ++round) {
        std::string text = base;
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = random() % (text.size() + 1);
            switch (random() % 4) {
                case 0: text.insert(at, 1, alphabet[random() % alphabet.size()]); break;
                case 1:
                    if (at < text.size()) text.erase(at, 1);
                    break;
                case 2:
                    if (at < text.size()) text[at] = static_cast<char>(random() % 256);
                    break;
                default: text.insert(at, std::string(random() % 200, ',')); break;
            }
        }
        checkRecord(BuildLantaRecord(text, "T.K40"), text);
        if (HasFatalFailure()) return;
    }
}

TEST(LantaRemote, OkNeedsAnExistingFileAndKeepsItsPath) {
    test_support::TemporaryFolder dir;
    core::testing::FixedClockPlatform platform;
    core::ModelState state;
    core::CommandArguments args;
    const std::string missing = dir.File("GONE.K40");
    LantaCommand command = PrepareLantaCommand(platform, missing, state, args);
    EXPECT_FALSE(command.start);
    EXPECT_EQ(command.message, missing + " not found!");
    EXPECT_EQ(state.lists.lantaConfigName, "");

    const std::string path = dir.File("SITE.K40");
    test_support::WriteAll(path, kSample);
    command = PrepareLantaCommand(platform, path, state, args);
    EXPECT_TRUE(command.start);
    EXPECT_EQ(command.message, "");
    EXPECT_EQ(state.lists.lantaConfigName, path);
    EXPECT_EQ(args.lantaRecord.size(), 24u);

    test_support::WriteAll(path, "FIELD=1\n");
    command = PrepareLantaCommand(platform, path, state, args);
    EXPECT_TRUE(command.start);  // the record without fields still goes out
    EXPECT_EQ(command.message, kNoLantaSettingMessage);
    EXPECT_EQ(args.lantaRecord, "\0\0@\0"s);

    test_support::WriteAll(path, "FIELD=1,A\n");
    args.lantaRecord = "previous";
    command = PrepareLantaCommand(platform, path, state, args);
    EXPECT_FALSE(command.start);
    EXPECT_EQ(args.lantaRecord, "previous");

    const std::string tooLong(100, 'p');
    EXPECT_FALSE(PrepareLantaCommand(platform, tooLong, state, args).start);
}

}  // namespace
}  // namespace zelo::dialogs

// Queries through the fake link layer: directories, sizes, version,
// identity and file existence.
#include <cstring>
#include <memory>
#include <string>

#include "library_fixture.hpp"
#include "terminal_script.hpp"

using fake_pendra::Fn;
using terminal_script::callSequence;
using terminal_script::textReply;

namespace {

fake_pendra::Reply entry(const std::string& name, bool more) {
    fake_pendra::Reply r;
    r.result = 1;
    r.bytes = name;
    r.more = more ? 1 : 0;
    return r;
}

}  // namespace

// ---- Directories -----------------------------------------------------------

TEST_F(LibraryTest, DirectoryOfAnEmptyDiskIsEmptyAndClearsTheOldListing) {
    fake_pendra::push(Fn::FindFirst, entry("", false));
    fake_pendra::push(Fn::FindNext, entry("", false));
    char listing[ZELO_LISTING_SIZE] = "OLD.EXE,OLD.DAT";
    EXPECT_EQ(HM_dir(1, 'A', listing), ZELO_OK);
    EXPECT_STREQ(listing, "");
    EXPECT_EQ(listing[5], 0) << "the old text is cleared, not just cut";
}

TEST_F(LibraryTest, DirectoryJoinsEntriesWithCommasAndDropsTheOneWithAClearFlag) {
    fake_pendra::push(Fn::FindFirst, entry("A", true));
    fake_pendra::push(Fn::FindNext, entry("B", true));
    fake_pendra::push(Fn::FindNext, entry("C", true));
    fake_pendra::push(Fn::FindNext, entry("NOT-AN-ENTRY", false));
    char listing[ZELO_LISTING_SIZE] = {};
    EXPECT_EQ(HM_dir(1, 'A', listing), ZELO_OK);
    EXPECT_STREQ(listing, "A,B,C");
}

TEST_F(LibraryTest, DirectoryFailuresTranslateAndStillTurnPowerSavingOn) {
    terminal_script::useSwitchingTerminal();
    char listing[ZELO_LISTING_SIZE] = {};
    fake_pendra::pushResults(Fn::FindFirst, {5});
    EXPECT_EQ(HM_dir(1, 'A', listing), ZELO_NAK);
    EXPECT_EQ(callSequence(), "A:DBG(7) A:FindFirst A:DBG(8)");

    EXPECT_EQ(HM_dir(1, 'A', listing), ZELO_TIMEOUT);  // the silent line

    // A walk that breaks off keeps what it had, with the separator the flag
    // asked for, and reports the last link result.
    fake_pendra::push(Fn::FindFirst, entry("A", true));
    fake_pendra::push(Fn::FindNext, {130, "", -1, 1});
    EXPECT_EQ(HM_dir(1, 'A', listing), ZELO_TIMEOUT);
    EXPECT_STREQ(listing, "A,");
}

TEST_F(LibraryTest, DirectoryNeverWritesPastTheListingSize) {
    // 500 names of 10 characters: about 5500 bytes of listing on offer.
    int served = 0;
    fake_pendra::setResponder(
        [&](const fake_pendra::Call& call) -> std::optional<fake_pendra::Reply> {
            if (call.fn != Fn::FindFirst && call.fn != Fn::FindNext) return std::nullopt;
            char name[16];
            std::snprintf(name, sizeof name, "F%05d.DAT", served);
            ++served;
            return entry(name, served < 500);
        });
    // Exactly the documented size on the heap, so that AddressSanitizer sees
    // any write beyond it; no zero inside, as a careless caller might pass.
    auto listing = std::make_unique<char[]>(ZELO_LISTING_SIZE);
    std::memset(listing.get(), 'x', ZELO_LISTING_SIZE);

    EXPECT_EQ(HM_dir(1, 'A', listing.get()), ZELO_OK);
    const std::size_t length = strnlen(listing.get(), ZELO_LISTING_SIZE);
    ASSERT_LT(length, std::size_t{ZELO_LISTING_SIZE});
    EXPECT_GT(length, std::size_t{ZELO_LISTING_SIZE - 12}) << "filled as far as whole names go";
    // Whole names only: 11 bytes per name and its comma.
    EXPECT_EQ(length % 11, 0u);
    EXPECT_EQ(std::string(listing.get(), 10), "F00000.DAT");
    EXPECT_LT(served, 500) << "the walk ends once the listing is full";
}

TEST_F(LibraryTest, RomDirectoryHandsBackTheReplyTextFromItsThirdByte) {
    char listing[ZELO_LISTING_SIZE] = "OLD";
    fake_pendra::push(Fn::DBG, textReply(1, "MENU.EXE,FONT.DAT"));
    EXPECT_EQ(HM_dir_ROM(1, 'B', listing), ZELO_OK);
    EXPECT_STREQ(listing, "MENU.EXE,FONT.DAT");
    EXPECT_EQ(fake_pendra::callsOf(Fn::DBG).at(0).request, "D/ROM");

    fake_pendra::push(Fn::DBG, reply(1, "\x01\x02", 2));  // a reply with no text
    EXPECT_EQ(HM_dir_ROM(1, 'B', listing), ZELO_OK);
    EXPECT_STREQ(listing, "");

    fake_pendra::pushResults(Fn::DBG, {4, 5});
    EXPECT_EQ(HM_dir_ROM(1, 'B', listing), ZELO_UNKNOWN_RESPONSE) << "4 is no ROM listing";
    EXPECT_EQ(HM_dir_ROM(1, 'B', listing), ZELO_NAK);
}

// ---- Memory sizes ----------------------------------------------------------

TEST_F(LibraryTest, RamSizeReadsTheLayoutThatTheReplyLengthSelects) {
    struct Case {
        const char* text;  // after the two link bytes
        int32_t expected[5];
    };
    const Case cases[] = {
        {"012003004", {12, 3, 4, 0, 0}},                // 11 characters
        {"001200030004", {12, 3, 4, 0, 0}},             // exactly 14
        {"01200300401000050", {12, 3, 4, 100, 50}},     // 19
        {"01200300401000050ZZZ", {12, 3, 4, 100, 50}},  // longer
    };
    for (const Case& c : cases) {
        fake_pendra::push(Fn::DBG, textReply(1, c.text));
        int32_t v[5] = {-1, -1, -1, -1, -1};
        EXPECT_EQ(HM_ram_size(1, 'A', &v[0], &v[1], &v[2], &v[3], &v[4]), ZELO_OK);
        for (int i = 0; i < 5; ++i) EXPECT_EQ(v[i], c.expected[i]) << c.text << " field " << i;
    }
    EXPECT_EQ(fake_pendra::callsOf(Fn::DBG).at(0).request, "G");
}

TEST_F(LibraryTest, SizeQueriesZeroTheirResultsWhenTheTerminalDoesNotAnswer) {
    int32_t v[5] = {9, 9, 9, 9, 9};
    EXPECT_EQ(HM_ram_size(1, 'A', &v[0], &v[1], &v[2], &v[3], &v[4]), ZELO_TIMEOUT);
    for (int32_t value : v) EXPECT_EQ(value, 0);

    int32_t total = 9, free = 9;
    fake_pendra::pushResults(Fn::DBG, {5});
    EXPECT_EQ(HM_flash_size(1, 'A', &total, &free), ZELO_NAK);
    EXPECT_EQ(total, 0);
    EXPECT_EQ(free, 0);

    fake_pendra::push(Fn::DBG, textReply(4, "20480512"));  // 4 counts as an answer too
    EXPECT_EQ(HM_flash_size(1, 'A', &total, &free), ZELO_OK);
    EXPECT_EQ(total, 2048);
    EXPECT_EQ(free, 512);
    EXPECT_EQ(fake_pendra::callsOf(Fn::DBG).back().request, "G/ROM");
}

TEST_F(LibraryTest, ProgramAreaSizeIsSentAsThreeDigitsAndTheReplyByteExplains) {
    const std::pair<char, int32_t> answers[] = {
        {0, ZELO_OK}, {1, ZELO_RAM_DISK_NOT_EMPTY}, {2, ZELO_OUT_OF_MEMORY_SIZE}, {'0', 5}};
    for (auto [byte, code] : answers) {
        fake_pendra::push(Fn::DBG, reply(1, std::string("\x01\x02", 2) + byte, 3));
        EXPECT_EQ(HM_exe_size(1, 'A', 5), code) << int(byte);
    }
    EXPECT_EQ(fake_pendra::callsOf(Fn::DBG).at(0).request, "F005");
    EXPECT_EQ(fake_pendra::callsOf(Fn::DBG).at(0).requestLength, 4);

    fake_pendra::reset();
    EXPECT_EQ(HM_exe_size(1, 'A', 1000), ZELO_UNKNOWN_RESPONSE);
    EXPECT_EQ(HM_exe_size(1, 'A', -1), ZELO_UNKNOWN_RESPONSE);
    EXPECT_TRUE(fake_pendra::calls().empty()) << "sizes beyond three digits are never sent";
}

// ---- Version, identity -----------------------------------------------------

TEST_F(LibraryTest, VersionAndIdentityHandBackTheirTextAndItsLength) {
    terminal_script::useSwitchingTerminal();
    char text[ZELO_REPLY_SIZE];
    fake_pendra::push(Fn::DBG, textReply(1, "V2.10"));
    EXPECT_EQ(HM_firmware_version(1, 'A', text), ZELO_OK);
    EXPECT_STREQ(text, "V2.10");
    EXPECT_EQ(HM_get_return_string_length(0), 5);

    fake_pendra::push(Fn::ESC_R, reply(1, "TERM-630"));
    EXPECT_EQ(HM_terminal_id(1, 'A', text), ZELO_OK);
    EXPECT_STREQ(text, "TERM-630") << "the identity starts at the first byte";
    EXPECT_EQ(HM_get_return_string_length(0), 8);
    EXPECT_EQ(fake_pendra::callsOf(Fn::ESC_R).at(0).requestLength, 128);

    // Power saving is switched off for both and left off.
    EXPECT_EQ(callSequence(), "A:DBG(7) A:DBG(v) A:DBG(7) A:ESC_R");
}

TEST_F(LibraryTest, RefusedVersionAndIdentityLeaveAnEmptyText) {
    char text[ZELO_REPLY_SIZE] = "STALE";
    fake_pendra::pushResults(Fn::ESC_R, {9});
    EXPECT_EQ(HM_terminal_id(1, 'A', text), ZELO_MORE);
    EXPECT_EQ(std::string(text, 4), std::string(4, '\0'));

    std::strcpy(text, "STALE");
    fake_pendra::pushResults(Fn::DBG, {9});
    EXPECT_EQ(HM_firmware_version(1, 'A', text), ZELO_NO_PROGRAM);
    EXPECT_EQ(std::string(text, 4), std::string(4, '\0'));
}

TEST_F(LibraryTest, ReplyTextsFillingTheWholeBufferAreCutAndTerminated) {
    auto text = std::make_unique<char[]>(ZELO_REPLY_SIZE);  // exactly sized for AddressSanitizer
    fake_pendra::push(Fn::ESC_R, reply(1, std::string(128, 'R')));
    EXPECT_EQ(HM_terminal_id(1, 'A', text.get()), ZELO_OK);
    EXPECT_EQ(std::string(text.get()), std::string(127, 'R'));
    EXPECT_EQ(HM_get_return_string_length(0), 127);

    fake_pendra::push(Fn::DBG, textReply(1, std::string(126, 'v')));
    EXPECT_EQ(HM_firmware_version(1, 'A', text.get()), ZELO_OK);
    EXPECT_EQ(std::string(text.get()), std::string(126, 'v'));
}

// ---- File existence --------------------------------------------------------

TEST_F(LibraryTest, FileExistenceTranslatesAndReadsTheLength) {
    int32_t length = -1;
    fake_pendra::push(Fn::ESC_J, reply(8, "2048"));
    EXPECT_EQ(HM_file_exist(1, 'A', "MENU.EXE", &length), ZELO_FILE_IN_FLASH);
    EXPECT_EQ(length, 2048);
    auto sent = fake_pendra::callsOf(Fn::ESC_J).at(0);
    EXPECT_EQ(sent.request, "MENU.EXE");
    EXPECT_EQ(sent.requestLength, 8);

    fake_pendra::push(Fn::ESC_J, reply(6, " +17 bytes"));
    EXPECT_EQ(HM_file_exist(1, 'A', "A.DAT", &length), ZELO_OK);
    EXPECT_EQ(length, 17);

    // Only the characters the length byte reports, and never more than 14.
    fake_pendra::push(Fn::ESC_J, reply(6, "12345", 2));
    EXPECT_EQ(HM_file_exist(1, 'A', "A.DAT", &length), ZELO_OK);
    EXPECT_EQ(length, 12);
    fake_pendra::push(Fn::ESC_J, reply(6, "0000000000000123"));
    EXPECT_EQ(HM_file_exist(1, 'A', "A.DAT", &length), ZELO_OK);
    EXPECT_EQ(length, 1);

    const std::pair<int16_t, int32_t> others[] = {
        {7, ZELO_NO_SUCH_FILE}, {4, ZELO_BAD_BLOCK}, {5, ZELO_NAK}, {130, ZELO_TIMEOUT}, {1, 5}};
    for (auto [linkResult, code] : others) {
        length = -1;
        fake_pendra::pushResults(Fn::ESC_J, {linkResult});
        EXPECT_EQ(HM_file_exist(1, 'A', "A.DAT", &length), code) << linkResult;
        EXPECT_EQ(length, -1) << "no length without the file";
    }
}

TEST_F(LibraryTest, FileExistenceSendsAtMost127CharactersOfTheName) {
    const std::string name(300, 'n');
    int32_t length = 0;
    HM_file_exist(1, 'A', name.c_str(), &length);
    auto sent = fake_pendra::callsOf(Fn::ESC_J).at(0);
    EXPECT_EQ(sent.requestLength, 127);
    EXPECT_EQ(sent.request, name.substr(0, 127));
}

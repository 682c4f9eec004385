// Queries: directories, sizes, version, identity and file existence.
#include <array>
#include <cstring>
#include <memory>
#include <string>

#include "library_fixture.hpp"
#include "terminal_script.hpp"

using fake_pendra::Fn;
using terminal_script::callSequence;
using terminal_script::textReply;

namespace {

fake_pendra::Reply entry(const std::string& name, bool more) { return {1, name, -1, more}; }

}  // namespace

TEST_F(LibraryTest, DirectoryJoinsEntriesAndDropsTheOneWithAClearFlag) {
    char listing[ZELO_LISTING_SIZE] = "OLD.EXE";
    fake_pendra::push(Fn::FindFirst, entry("", false));  // an empty disk
    fake_pendra::push(Fn::FindNext, entry("", false));
    EXPECT_EQ(HM_dir(1, 'A', listing), ZELO_OK);
    EXPECT_EQ(std::string(listing, 8), std::string(8, '\0'));

    for (const char* name : {"B", "C"}) fake_pendra::push(Fn::FindNext, entry(name, true));
    fake_pendra::push(Fn::FindFirst, entry("A", true));
    fake_pendra::push(Fn::FindNext, entry("NOT-AN-ENTRY", false));
    EXPECT_EQ(HM_dir(1, 'A', listing), ZELO_OK);
    EXPECT_STREQ(listing, "A,B,C");
}

TEST_F(LibraryTest, FailedDirectoryStillTurnsPowerSavingOn) {
    terminal_script::useSwitchingTerminal();
    char listing[ZELO_LISTING_SIZE] = {};
    fake_pendra::pushResults(Fn::FindFirst, {5});
    EXPECT_EQ(HM_dir(1, 'A', listing), ZELO_NAK);
    EXPECT_EQ(callSequence(), "A:DBG(7) A:FindFirst A:DBG(8)");
}

TEST_F(LibraryTest, DirectoryNeverWritesPastTheListingSize) {
    int served = 0;  // 500 names of 10 characters: some 5500 bytes on offer
    fake_pendra::setResponder(
        [&](const fake_pendra::Call& call) -> std::optional<fake_pendra::Reply> {
            if (call.fn != Fn::FindFirst && call.fn != Fn::FindNext) return std::nullopt;
            char name[16];
            std::snprintf(name, sizeof name, "F%05d.DAT", served++);
            return entry(name, served < 500);
        });
    // Exactly the documented size on the heap, for AddressSanitizer.
    auto listing = std::make_unique<char[]>(ZELO_LISTING_SIZE);
    std::memset(listing.get(), 'x', ZELO_LISTING_SIZE);
    EXPECT_EQ(HM_dir(1, 'A', listing.get()), ZELO_OK);
    const std::size_t length = strnlen(listing.get(), ZELO_LISTING_SIZE);
    ASSERT_LT(length, std::size_t{ZELO_LISTING_SIZE});
    EXPECT_EQ(length, 186u * 11) << "whole names and their commas, as many as fit";
    EXPECT_LT(served, 500) << "the walk ends once the listing is full";
}

TEST_F(LibraryTest, RomDirectoryIsTheReplyTextFromItsThirdByte) {
    char listing[ZELO_LISTING_SIZE] = "OLD";
    fake_pendra::push(Fn::DBG, textReply(1, "MENU.EXE,FONT.DAT"));
    EXPECT_EQ(HM_dir_ROM(1, 'B', listing), ZELO_OK);
    EXPECT_STREQ(listing, "MENU.EXE,FONT.DAT");
    EXPECT_EQ(callSequence(), "B:DBG(D/ROM)");
}

TEST_F(LibraryTest, RamSizeReadsTheLayoutThatTheReplyLengthSelects) {
    const std::pair<const char*, std::array<int32_t, 5>> cases[] = {
        {"012003004", {12, 3, 4, 0, 0}},              // 11 characters with the link's two
        {"001200030004", {12, 3, 4, 0, 0}},           // exactly 14
        {"01200300401000050", {12, 3, 4, 100, 50}},   // 19
        {"01200300401000050Z", {12, 3, 4, 100, 50}},  // more
    };
    for (const auto& [reply, expected] : cases) {
        fake_pendra::push(Fn::DBG, textReply(1, reply));
        std::array<int32_t, 5> v{-1, -1, -1, -1, -1};
        EXPECT_EQ(HM_ram_size(1, 'A', &v[0], &v[1], &v[2], &v[3], &v[4]), ZELO_OK);
        EXPECT_EQ(v, expected) << reply;
    }
    int32_t total = -1, free = -1;
    fake_pendra::push(Fn::DBG, textReply(4, "20480512"));
    EXPECT_EQ(HM_flash_size(1, 'A', &total, &free), ZELO_OK);
    EXPECT_EQ(std::make_pair(total, free), std::make_pair(2048, 512));
}

TEST_F(LibraryTest, ProgramAreaSizeGoesAsThreeDigits) {
    fake_pendra::push(Fn::DBG, reply(1, std::string("\x01\x02\x01", 3)));
    EXPECT_EQ(HM_exe_size(1, 'A', 5), ZELO_RAM_DISK_NOT_EMPTY);
    EXPECT_EQ(callSequence(), "A:DBG(F005)");
    EXPECT_EQ(HM_exe_size(1, 'A', 1000), ZELO_UNKNOWN_RESPONSE);
    EXPECT_EQ(fake_pendra::calls().size(), 1u) << "no room for a fourth digit: nothing sent";

    // The answer byte may come as a value or as its digit character.
    const std::pair<const char*, int32_t> answers[] = {{"..0", ZELO_OK},
                                                       {"..1", ZELO_RAM_DISK_NOT_EMPTY},
                                                       {"..2", ZELO_OUT_OF_MEMORY_SIZE},
                                                       {"..3", ZELO_UNKNOWN_RESPONSE},
                                                       {"..A", ZELO_UNKNOWN_RESPONSE}};
    for (const auto& [answer, expected] : answers) {
        fake_pendra::push(Fn::DBG, reply(1, answer));
        EXPECT_EQ(HM_exe_size(1, 'A', 64), expected) << answer;
    }
}

TEST_F(LibraryTest, IdentityAndVersionHandBackBoundedTextsOrNone) {
    auto text = std::make_unique<char[]>(ZELO_REPLY_SIZE);  // exact, for AddressSanitizer
    fake_pendra::push(Fn::ESC_R, reply(1, std::string(128, 'R')));
    EXPECT_EQ(HM_terminal_id(1, 'A', text.get()), ZELO_OK);
    EXPECT_EQ(std::string(text.get()), std::string(127, 'R')) << "from the first byte, cut";
    EXPECT_EQ(HM_get_return_string_length(0), 127);

    fake_pendra::pushResults(Fn::ESC_R, {9});
    EXPECT_EQ(HM_terminal_id(1, 'A', text.get()), ZELO_MORE);
    EXPECT_EQ(std::string(text.get(), 4), std::string(4, '\0'));

    fake_pendra::push(Fn::DBG, textReply(1, "V2.10"));
    EXPECT_EQ(HM_firmware_version(1, 'A', text.get()), ZELO_OK);
    EXPECT_STREQ(text.get(), "V2.10");
    EXPECT_EQ(HM_get_return_string_length(0), 5);
}

TEST_F(LibraryTest, FileExistenceTranslatesAndReadsTheLengthDigits) {
    int32_t length = -1;
    fake_pendra::push(Fn::ESC_J, reply(8, "2048"));
    EXPECT_EQ(HM_file_exist(1, 'A', std::string(300, 'n').c_str(), &length), ZELO_FILE_IN_FLASH);
    EXPECT_EQ(length, 2048);
    EXPECT_EQ(fake_pendra::callsOf(Fn::ESC_J).at(0).request, std::string(127, 'n'));

    fake_pendra::push(Fn::ESC_J, reply(6, " +00000000001234"));  // 14 characters read
    EXPECT_EQ(HM_file_exist(1, 'A', "A.DAT", &length), ZELO_OK);
    EXPECT_EQ(length, 12);

    fake_pendra::pushResults(Fn::ESC_J, {7, 4});
    EXPECT_EQ(HM_file_exist(1, 'A', "A.DAT", &length), ZELO_NO_SUCH_FILE);
    EXPECT_EQ(HM_file_exist(1, 'A', "A.DAT", &length), ZELO_BAD_BLOCK);
}

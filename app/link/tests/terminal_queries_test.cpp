#include "answering_terminal.hpp"

namespace zelo::link::testing {
namespace {

using Lines = std::vector<std::string>;
using StatusList = std::vector<int>;

TEST_F(AnsweringTerminalTest, QueriesShowTheirDataOnSuccessOnly) {
    link.QueryRamSize(operation);
    link.QueryFlashSize(operation);
    link.GetFirmwareVersion(operation);
    link.CheckRunningProgram(operation);
    EXPECT_EQ(link.written, (Lines{
                                "A RAM size  Total=12  EXEC=3  Free=4 Successfully",
                                "C RAM size   Time out",
                                "A Flash ROM Size   Total=512Kb  Free=128Kb Successfully",
                                "C Flash ROM Size   Time out",
                                "A Version   V1.23 Successfully",
                                "C Version   Time out",
                                "A Check running AP  MENU Successfully",
                                "C    Time out",
                            }));
    EXPECT_EQ(StatusList({progress.addressStatus[0], progress.addressStatus[1],
                          progress.addressStatus[2]}),
              (StatusList{kStatusDone, 0, kStatusTimeOut}));
}

TEST_F(AnsweringTerminalTest, RamSizeWithEmsShowsAllFiveValues) {
    fake_pendra::setResponder([](const Call& c) -> std::optional<Reply> {
        if (c.fn == Fn::DBG && c.request == "G") return Reply{1, "..01200300405120256"};
        return std::nullopt;
    });
    link.QueryRamSize(operation);
    ASSERT_FALSE(link.written.empty());
    EXPECT_EQ(link.written[0],
              "A RAM size  Total=12  EXEC=3  Free=4  Total EMS=512  Free EMS=256 Successfully");
}

TEST_F(AnsweringTerminalTest, FileInFlashRomCountsAsFoundAndAMissingFileAsFailed) {
    fake_pendra::setResponder([](const Call& c) -> std::optional<Reply> {
        if (c.fn == Fn::ESC_J) return Reply{static_cast<int16_t>(c.address == 'A' ? 8 : 7), "14"};
        return std::nullopt;
    });
    link.CheckFileExists(operation, "DATA.TXT");
    EXPECT_EQ(link.written, (Lines{"A DATA.TXT File exist and length = 14 From flash ROM",
                                   "C File  DATA.TXT doesn't exist"}));
    EXPECT_EQ(progress.addressStatus[0], kStatusDone);
    EXPECT_EQ(progress.addressStatus[2], kStatusFailed);
}

TEST_F(AnsweringTerminalTest, DirectoryListingsGoToTheirAddressPositions) {
    DirectoryTexts texts;
    texts[1] = "UNTOUCHED";
    texts[2] = "OLD";
    fake_pendra::setResponder([](const Call& c) -> std::optional<Reply> {
        if (c.address != 'A') return std::nullopt;
        if (c.fn == Fn::FindFirst) return Reply{1, "PROG.EXE", -1, 0};
        if (c.fn == Fn::FindNext) return Reply{1, "", -1, 0};
        if (c.fn == Fn::DBG && c.request == "D/ROM") return Reply{1, "..MENU.EXE"};
        return std::nullopt;
    });
    link.GetDirectory(operation, Disk::kRam, texts);
    EXPECT_EQ(link.written,
              (Lines{"A Get Directory  PROG.EXE Successfully", "C Get Directory   Time out"}));
    EXPECT_EQ(texts[0], "PROG.EXE");
    EXPECT_EQ(texts[1], "UNTOUCHED");
    EXPECT_EQ(texts[2], "");  // a failure empties the old listing

    link.written.clear();
    link.GetDirectory(operation, Disk::kFlashRom, texts);
    EXPECT_EQ(link.written, (Lines{"A Get ROM Directory   MENU.EXE Successfully",
                                   "C Get ROM Directory   Time out"}));
    EXPECT_EQ(texts[0], "MENU.EXE");

    link.written.clear();
    fake_pendra::reset();
    link.GetDirectory(operation, static_cast<Disk>(2), texts);  // neither disk
    EXPECT_TRUE(link.written.empty());
    EXPECT_EQ(link.boxes, (std::vector<std::string>{"nRom set wrong!!", "nRom set wrong!!"}));
    EXPECT_TRUE(fake_pendra::calls().empty());
}

TEST_F(AnsweringTerminalTest, ListingThatFillsTheWholeBufferIsCutAtItsEnd) {
    // Entries that together fill every byte: the listing handed on stops at
    // the buffer's end, and the next terminal starts from a clean buffer.
    const std::string entry(500, 'X');
    int served = 0;
    answering = {'A', 'C'};
    fake_pendra::setResponder([&](const Call& c) -> std::optional<Reply> {
        if (c.fn == Fn::FindFirst) {
            served = 1;
            return Reply{1, entry, -1, 1};
        }
        if (c.fn == Fn::FindNext) {
            ++served;
            return Reply{1, c.address == 'C' ? "" : entry, -1,
                         static_cast<uint8_t>(c.address == 'A' && served < 6 ? 1 : 0)};
        }
        return std::nullopt;
    });
    DirectoryTexts texts;
    link.GetDirectory(operation, Disk::kRam, texts);
    EXPECT_LE(texts[0].size(), static_cast<std::size_t>(ZELO_LISTING_SIZE));
    EXPECT_EQ(texts[0].find('\0'), std::string::npos);
    EXPECT_EQ(texts[2], entry);
}

TEST_F(AnsweringTerminalTest, TerminalIdNamesTheModelOfEachTerminal) {
    comm.addresses = "ABCD";
    progress.addressSelected[1] = 1;
    for (auto& t : progress.typeFound) t = kDelmar;
    fake_pendra::setResponder([](const Call& c) -> std::optional<Reply> {
        if (c.fn != Fn::ESC_R) return std::nullopt;
        switch (c.address) {
            case 'A': return Reply{1, "ZX58"};  // fourth character 8
            case 'B': return Reply{1, "ZX7"};   // third character 7
            case 'C': return Reply{1, "Z"};     // too short to tell
            default: return Reply{9, ""};       // refused
        }
    });
    link.GetTerminalId(operation);
    EXPECT_EQ(link.written,
              (Lines{"A Terminal ID  ZX58 Successfully", "B Terminal ID  ZX7 Successfully",
                     "C Terminal ID  Z Successfully", "D Terminal ID   Unsuccessful"}));
    EXPECT_EQ(progress.typeFound[0], kFenna);
    EXPECT_EQ(progress.typeFound[1], kEstra);
    EXPECT_EQ(progress.typeFound[2], kGravoHalda);
    EXPECT_EQ(progress.typeFound[3], kDelmar);  // no answer, no change
    EXPECT_EQ(progress.addressStatus[3], kStatusFailed);
}

}  // namespace
}  // namespace zelo::link::testing

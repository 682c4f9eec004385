// The exact strings the table commands send, for each terminal family.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/barcode_table.hpp"
#include "dialogs/device_table.hpp"
#include "link/comm_parameters.hpp"
#include "link/comm_settings.hpp"

namespace zelo::dialogs {
namespace {

using namespace zelo::link;

BarcodeChoices EveryRow(int button) {
    BarcodeChoices c;
    c.code39 = c.interleaved25 = c.codabar = c.eanUpc = c.code128 = c.ean128 = c.code93 =
        c.trioptic = c.msi = c.code11 = button;
    return c;
}

TEST(BarcodeTable, EveryRowOnGivesTheFamilysOnLetterAtItsLength) {
    EXPECT_EQ(BuildBarcodeTable(EveryRow(0), kGravoHalda), "NNNNN");
    EXPECT_EQ(BuildBarcodeTable(EveryRow(0), kFenna), "NNNNNNNN");
    EXPECT_EQ(BuildBarcodeTable(EveryRow(0), kLanta), "NNNNNNNN");
    EXPECT_EQ(BuildBarcodeTable(EveryRow(0), kEstra), "EEEEEEEE");
    EXPECT_EQ(BuildBarcodeTable(EveryRow(0), kDelmar), "EEEEEEEE");
    EXPECT_EQ(BuildBarcodeTable(EveryRow(0), kCorvo), "EEEEEEEE");
    EXPECT_EQ(BuildBarcodeTable(EveryRow(0), kBrisa), "NNNNNNNN");
    EXPECT_EQ(BuildBarcodeTable(EveryRow(1), kGravoHalda), "FFFFF");
    EXPECT_EQ(BuildBarcodeTable(EveryRow(1), kCorvo), "DDDDDDDD");
}

TEST(BarcodeTable, Code39FullAsciiIsFForEveryModel) {
    BarcodeChoices c = EveryRow(0);
    c.code39 = kCode39FullAscii;
    EXPECT_EQ(BuildBarcodeTable(c, kFenna), "FNNNNNNN");
    EXPECT_EQ(BuildBarcodeTable(c, kGravoHalda), "FNNNN");
    EXPECT_EQ(BuildBarcodeTable(c, kEstra), "FEEEEEEE");  // not the off letter D
    c.code39 = 1;
    EXPECT_EQ(BuildBarcodeTable(c, kEstra), "DEEEEEEE");
}

TEST(BarcodeTable, EachRowLandsAtItsFamilysPosition) {
    // One row off at a time: where the off letter appears, or nowhere.
    struct Row {
        int BarcodeChoices::*field;
        int gravo, fenna, estra;  // position, or -1 when the family has no such row
    };
    const Row rows[] = {
        {&BarcodeChoices::code39, 0, 0, 0},   {&BarcodeChoices::interleaved25, 1, 1, 1},
        {&BarcodeChoices::codabar, 2, 2, 2},  {&BarcodeChoices::eanUpc, 3, 3, 3},
        {&BarcodeChoices::code128, 4, 4, 4},  {&BarcodeChoices::msi, -1, 5, -1},
        {&BarcodeChoices::code11, -1, 6, -1}, {&BarcodeChoices::code93, -1, 7, 6},
        {&BarcodeChoices::ean128, -1, -1, 5}, {&BarcodeChoices::trioptic, -1, -1, 7},
    };
    const auto expected = [](std::string all, int position, char off) {
        if (position >= 0) all[static_cast<std::size_t>(position)] = off;
        return all;
    };
    for (const Row& row : rows) {
        BarcodeChoices c = EveryRow(0);
        c.*row.field = 1;
        EXPECT_EQ(BuildBarcodeTable(c, kGravoHalda), expected("NNNNN", row.gravo, 'F'));
        EXPECT_EQ(BuildBarcodeTable(c, kFenna), expected("NNNNNNNN", row.fenna, 'F'));
        EXPECT_EQ(BuildBarcodeTable(c, kLanta), expected("NNNNNNNN", row.fenna, 'F'));
        EXPECT_EQ(BuildBarcodeTable(c, kCorvo), expected("EEEEEEEE", row.estra, 'D'));
        EXPECT_EQ(BuildBarcodeTable(c, kBrisa), expected("NNNNNNNN", row.estra, 'F'));
    }
}

TEST(DeviceTable, TheDialogFollowsTheModel) {
    EXPECT_EQ(DeviceDialogFor(kGravoHalda), DeviceDialogKind::kFenna);
    EXPECT_EQ(DeviceDialogFor(kFenna), DeviceDialogKind::kFenna);
    EXPECT_EQ(DeviceDialogFor(kLanta), DeviceDialogKind::kLanta);
    for (int type = kEstra; type <= kBrisa; ++type) {
        EXPECT_EQ(DeviceDialogFor(type), DeviceDialogKind::kEstra);
    }
}

TEST(DeviceTable, FennaAndGravoTablesAreSixCharacters) {
    EXPECT_EQ(BuildFennaDeviceTable({}, kFenna), "PBNNN0");
    EXPECT_EQ(BuildFennaDeviceTable({}, kGravoHalda), "NBNNN0");
    const char fennaScanner[] = "PAMD";
    const char gravoScanner[] = "NFFF";
    for (int s = 0; s < 4; ++s) {
        FennaDeviceChoices c;
        c.externalScanner = s;
        EXPECT_EQ(BuildFennaDeviceTable(c, kFenna)[0], fennaScanner[s]);
        EXPECT_EQ(BuildFennaDeviceTable(c, kGravoHalda)[0], gravoScanner[s]);
    }
    FennaDeviceChoices last{3, 2, 1, 1, 2, 2};
    EXPECT_EQ(BuildFennaDeviceTable(last, kFenna), "DDFFP9");
    FennaDeviceChoices middle{1, 1, 0, 1, 1, 1};
    EXPECT_EQ(BuildFennaDeviceTable(middle, kFenna), "AMNFK9");
}

TEST(DeviceTable, LantaTableKeepsItsFixedCharacters) {
    EXPECT_EQ(BuildLantaDeviceTable({0, 0, 2}), "ABNN2N");
    EXPECT_EQ(BuildLantaDeviceTable({1, 1, 7}), "ABFN7F");
    EXPECT_EQ(BuildLantaDeviceTable({0, 1, 0}), "ABNN0F");
}

TEST(DeviceTable, EstraTableIsEightCharactersWithItsSpaces) {
    EXPECT_EQ(BuildEstraDeviceTable({}), std::string("PNN 0N0 "));
    EXPECT_EQ(BuildEstraDeviceTable({2, 1, 1, 1, 2, 9}), std::string("DFF 9F9 "));
    EXPECT_EQ(BuildEstraDeviceTable({1, 0, 0, 0, 1, 5}), std::string("ANN 9N5 "));
}

// The string SetCommParameters sends, over every line setting it can carry,
// for the three layouts; the address goes in per terminal.
TEST(CommTableString, EveryCombinationOfSpeedStopDataAndParity) {
    const std::string speeds = "023456789A";
    const std::string parities = "NOE";
    for (int baud = 0; baud <= 9; ++baud) {
        for (int data = 0; data <= 1; ++data) {
            for (int stop = 0; stop <= 1; ++stop) {
                for (int parity = 0; parity <= 2; ++parity) {
                    const CommTableRequest request{baud, data, stop, parity, 0};
                    const std::string head{speeds[static_cast<std::size_t>(baud)],
                                           stop == 1 ? '2' : '1', data == 1 ? '8' : '7',
                                           parities[static_cast<std::size_t>(parity)]};
                    EXPECT_EQ(BuildCommParameters(request, kGravoHalda, 2), head + "M002");
                    EXPECT_EQ(BuildCommParameters(request, kFenna, 2), head + "M002");
                    EXPECT_EQ(BuildCommParameters(request, kLanta, 2), head + "M002F");
                    for (int type = kEstra; type <= kBrisa; ++type) {
                        EXPECT_EQ(BuildCommParameters(request, type, 2), head + "FM0002");
                    }
                }
            }
        }
    }
}

TEST(CommTableString, TimeoutIsTwoDigits) {
    const CommTableRequest request{};
    EXPECT_EQ(BuildCommParameters(request, kFenna, 0), "718NM000");
    EXPECT_EQ(BuildCommParameters(request, kFenna, 99), "718NM099");
    EXPECT_EQ(BuildCommParameters(request, kDelmar, 7), "718NFM0007");
}

}  // namespace
}  // namespace zelo::dialogs

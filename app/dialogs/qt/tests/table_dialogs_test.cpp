// The terminal setting table dialogs: OK leaves the command's argument (or
// the saved settings) exactly as the command needs it; Cancel changes
// nothing.
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>
#include <filesystem>

#include "dialogs/qt/address_change_dialog.hpp"
#include "dialogs/qt/barcode_table_dialog.hpp"
#include "dialogs/qt/comm_table_dialog.hpp"
#include "dialogs/qt/device_table_dialogs.hpp"
#include "dialogs/qt/modem_dialog.hpp"
#include "modal_driver.hpp"
#include "view_fixture.hpp"

namespace zelo::dialogs::testing {

using namespace zelo::qt_testing;

class TableDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void barcodeTableOkBuildsTheModelsTable() {
        ViewFixture fixture(IniFor("Corvo"));
        core::CommandArguments args;
        ModalDriver driver;
        driver.Answer([](QDialog& dialog) {
            Check(&dialog, "code128_1");
            Check(&dialog, "msi_1");  // Corvo's table has no MSI letter
        });
        QVERIFY(ExecBarcodeTableDlg(nullptr, fixture.View(), args));
        QCOMPARE(driver.LastTitle(), QString("バーコードシンボル"));
        QCOMPARE(args.barcodeTable, std::string("EEEEDEEE"));

        fixture.State().comm.terminalType = link::kFenna;
        driver.Answer([](QDialog& dialog) { Check(&dialog, "code39_2"); });
        QVERIFY(ExecBarcodeTableDlg(nullptr, fixture.View(), args));
        QCOMPARE(args.barcodeTable, std::string("FNNNNNNN"));
    }

    void barcodeTableCancelKeepsTheArgument() {
        ViewFixture fixture(IniFor("Estra"));
        core::CommandArguments args;
        args.barcodeTable = "OLD";
        ModalDriver driver;
        driver.Cancel([](QDialog& dialog) { Check(&dialog, "code39_1"); });
        QVERIFY(!ExecBarcodeTableDlg(nullptr, fixture.View(), args));
        QCOMPARE(args.barcodeTable, std::string("OLD"));
    }

    void deviceTableDialogFollowsTheModel() {
        ViewFixture fixture(IniFor("Fenna"));
        core::CommandArguments args;
        ModalDriver driver;
        const auto okAsOpened = [](QWidget* w) { Press(w, "ok"); };
        driver.Then(okAsOpened);
        QVERIFY(ExecDeviceTableDlg(nullptr, fixture.View(), args));
        QCOMPARE(args.deviceTable, std::string("PBNNN0"));
        fixture.State().comm.terminalType = link::kGravoHalda;
        driver.Then(okAsOpened);
        QVERIFY(ExecDeviceTableDlg(nullptr, fixture.View(), args));
        QCOMPARE(args.deviceTable, std::string("NBNNN0"));
        fixture.State().comm.terminalType = link::kDelmar;
        driver.Then(okAsOpened);
        QVERIFY(ExecDeviceTableDlg(nullptr, fixture.View(), args));
        QCOMPARE(args.deviceTable, std::string("PNN 0N0 "));
        QCOMPARE(driver.titles, (QStringList{"Fenna/Gravo/Halda デバイス設定テーブル",
                                             "Fenna/Gravo/Halda デバイス設定テーブル",
                                             "Estra/Delmar デバイス設定テーブル"}));
    }

    void lantaBeepLevelOutOfRangeKeepsTheDialogOpen() {
        ViewFixture fixture(IniFor("Lanta"));
        core::CommandArguments args;
        ModalDriver driver;
        driver.Then([](QWidget* w) {
            Type(w, "beepLevel", "8");
            Press(w, "ok");
        });
        driver.Then(driver.CloseMessage());
        driver.Then([](QWidget* w) {
            Type(w, "beepLevel", "x");
            Press(w, "ok");
        });
        driver.Then(driver.CloseMessage());
        driver.Answer([](QDialog& dialog) {
            Type(&dialog, "beepLevel", "7");
            Check(&dialog, "interval_1");
        });
        QVERIFY(ExecDeviceTableDlg(nullptr, fixture.View(), args));
        QCOMPARE(driver.messages, (QStringList{"Please enter an integer between 0 and 7.",
                                               "Please enter an integer between 0 and 7."}));
        QCOMPARE(args.deviceTable, std::string("ABNN7F"));
    }

    void deviceTableCancelKeepsTheArgument() {
        ViewFixture fixture(IniFor("Brisa"));
        core::CommandArguments args;
        args.deviceTable = "OLD";
        ModalDriver driver;
        driver.Then([](QWidget* w) { Press(w, "cancel"); });
        QVERIFY(!ExecDeviceTableDlg(nullptr, fixture.View(), args));
        QCOMPARE(args.deviceTable, std::string("OLD"));
    }

    // OK stores the request and saves the time-out at once.
    void commTableOkStoresTheRequestAndSavesTheTimeout() {
        ViewFixture fixture(IniFor("Fenna"));
        ModalDriver driver;
        QString shownTimeout;
        driver.Then([&](QWidget* w) {
            shownTimeout = Child<QLineEdit>(w, "timeout")->text();
            Type(w, "timeout", "100");
            Press(w, "ok");
        });
        driver.Then(driver.CloseMessage());
        driver.Then([](QWidget* w) {
            Type(w, "timeout", "37");
            Check(w, "baud_9");
            Check(w, "parity_2");
            Press(w, "changePcParameters");
            Press(w, "ok");
        });
        QVERIFY(ExecCommTableDlg(nullptr, fixture.View()));
        QCOMPARE(shownTimeout, QString("2"));
        QCOMPARE(driver.messages, QStringList{"Please enter an integer between 0 and 99."});
        const core::ModelState& state = fixture.State();
        QCOMPARE(state.commTable.baudIndex, 9);
        QCOMPARE(state.commTable.parity, 2);
        QCOMPARE(state.commTable.dataBitsIndex, 1);
        QCOMPARE(state.commTable.changePcParameters, 1);
        QCOMPARE(state.timing.terminalTimeout, 37);
        QCOMPARE(state.comm.baudIndex, link::kBaudIndex9600);
        QVERIFY(fixture.Ini().find("TERMINAL_TIMEOUT=37") != std::string::npos);
        fixture.View().ReloadConfiguration();
        QCOMPARE(fixture.State().timing.terminalTimeout, 37);
    }

    void commTableAndModemSayWhenZelocomIniCannotBeWritten() {
        ViewFixture fixture(IniFor("Fenna"));
        // A folder in the file's place: the replacement cannot land.
        std::filesystem::remove(fixture.IniPath());
        std::filesystem::create_directories(fixture.IniPath() + "/in-the-way");
        const QStringList unsaved{
            "The settings could not be written to Zelocom.ini; they hold for this run only."};
        for (const bool modem : {false, true}) {
            ModalDriver driver;
            driver.Then([](QWidget* w) { Press(w, "ok"); });
            driver.Then(driver.CloseMessage());
            QVERIFY(modem ? ExecModemDlg(nullptr, fixture.View())
                          : ExecCommTableDlg(nullptr, fixture.View()));
            QCOMPARE(driver.messages, unsaved);
        }
    }

    void commTableCancelChangesNothing() {
        ViewFixture fixture(IniFor("Fenna"));
        const std::string before = fixture.Ini();
        ModalDriver driver;
        driver.Cancel([](QDialog& dialog) {
            Type(&dialog, "timeout", "55");
            Check(&dialog, "baud_0");
        });
        QVERIFY(!ExecCommTableDlg(nullptr, fixture.View()));
        QCOMPARE(fixture.State().timing.terminalTimeout, 2);
        QCOMPARE(fixture.State().commTable.baudIndex, link::kBaudIndex9600);
        QCOMPARE(fixture.Ini(), before);
    }

    void addressChangeOffersTheFreeAddresses() {
        ViewFixture fixture(IniFor("Brisa"));
        core::CommandArguments args;
        ModalDriver driver;
        int beforeCount = 0;
        QString afterFirst, afterLast;
        driver.Answer([&](QDialog& dialog) {
            auto* before = Child<QComboBox>(&dialog, "before");
            auto* after = Child<QComboBox>(&dialog, "after");
            beforeCount = before->count();
            afterFirst = after->itemText(0);
            afterLast = after->itemText(after->count() - 1);
            before->setCurrentIndex(1);
            after->setCurrentIndex(after->count() - 1);
        });
        QVERIFY(ExecAddressChangeDlg(nullptr, fixture.View(), args));
        QCOMPARE(driver.LastTitle(), QString("アドレス変更"));
        QCOMPARE(beforeCount, 2);
        QCOMPARE(afterFirst, QString("C"));
        QCOMPARE(afterLast, QString("6"));
        QCOMPARE(args.addressChange[0], 'B');
        QCOMPARE(args.addressChange[1], '6');

        args.addressChange = {'A', 'A'};
        driver.Then([](QWidget* w) { Press(w, "cancel"); });
        QVERIFY(!ExecAddressChangeDlg(nullptr, fixture.View(), args));
        QCOMPARE(args.addressChange[1], 'A');
    }

    void addressChangeOkNeedsBothChoices() {
        CAddressChangeDlg full("ABCDEFGHIJKLMNOPQRSTUVWXY0123456");
        QVERIFY(!Child<QPushButton>(&full, "ok")->isEnabled());
        CAddressChangeDlg none("");
        QVERIFY(!Child<QPushButton>(&none, "ok")->isEnabled());
        CAddressChangeDlg two("AB");
        QVERIFY(Child<QPushButton>(&two, "ok")->isEnabled());
        Child<QComboBox>(&two, "after")->setCurrentIndex(-1);
        QVERIFY(!Child<QPushButton>(&two, "ok")->isEnabled());
    }
};

}  // namespace zelo::dialogs::testing

QTEST_MAIN(zelo::dialogs::testing::TableDialogsTest)
#include "table_dialogs_test.moc"

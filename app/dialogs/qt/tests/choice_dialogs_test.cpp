#include <QtTest>
#include <atomic>
#include <thread>

#include "dialogs/qt/file_choice_dialogs.hpp"
#include "dialogs/qt/tests/qt_dialog_driver.hpp"
#include "dialogs/tests/dialog_fixture.hpp"

namespace zelo::dialogs::testing {

// The choice dialogs: what each returns on OK, and nothing on Cancel.
class ChoiceDialogsTest : public QObject {
    Q_OBJECT

private:
    link::DirectoryTexts listings_{};

    core::PickRequest Request(const std::string& addresses, bool program) {
        core::PickRequest request;
        request.addresses = addresses;
        request.programChoice = program;
        if (program) request.title = "Run Program select";
        request.listings = &listings_;
        return request;
    }

private slots:
    void init() { listings_ = {}; }

    void pcChooserReturnsItsFilesSortedAndCancelStartsNothing() {
        DialogFixture fixture("[Communication]\nTerminal_type=Fenna\nAddress=CAB\n");
        ScriptedServices services;
        services.files << QStringLiteral("/pc/zeta.dat") << QStringLiteral("/pc/Alpha.exe")
                       << QStringLiteral("/pc/mid.txt");
        ModalDriver driver;
        driver.Answer([](QDialog& dialog) {
            QCOMPARE(Entries(&dialog, "addresses"),
                     (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
            QVERIFY(Child<QAbstractButton>(&dialog, "scope1")->isChecked());
            for (int i = 0; i < 3; ++i) Child<QPushButton>(&dialog, "browse")->click();
            DoubleClick(&dialog, "chosen", 1);  // mid.txt goes again
        });
        QVERIFY(ExecPcFileBrowseDlg(nullptr, fixture.state));
        QCOMPARE(driver.LastTitle(), QStringLiteral("ディレクトリファイルのブラウズ"));
        QCOMPARE(fixture.state.lists.pickedFiles,
                 (std::vector<std::string>{"/pc/Alpha.exe", "/pc/zeta.dat"}));

        services.files << QStringLiteral("/pc/other.dat");
        driver.Cancel([](QDialog& dialog) { Child<QPushButton>(&dialog, "browse")->click(); });
        QVERIFY(!ExecPcFileBrowseDlg(nullptr, fixture.state));
        QCOMPARE(fixture.state.lists.pickedFiles.size(), std::size_t{2});
    }

    void pcChooserWithNothingChosenStartsNothing() {
        DialogFixture fixture;
        ScriptedServices services;
        ModalDriver driver;
        driver.Answer([](QDialog&) {});
        QVERIFY(!ExecPcFileBrowseDlg(nullptr, fixture.state));
    }

    void terminalFileChoiceOffersEveryNameAndDropsChoicesOnAnotherAddress() {
        listings_[0] = "A.EXE,B.DAT,,c.exe";
        listings_[1] = "OTHER.DAT";
        ScriptedServices services;
        ModalDriver driver;
        driver.Answer([](QDialog& dialog) {
            QCOMPARE(Entries(&dialog, "available"),
                     (QStringList{QStringLiteral("A.EXE"), QStringLiteral("B.DAT"),
                                  QStringLiteral("c.exe")}));
            DoubleClick(&dialog, "available", 2);
            QCOMPARE(Entries(&dialog, "chosen"), QStringList{QStringLiteral("c.exe")});
            DoubleClick(&dialog, "addresses", 1);  // B
            QVERIFY(Entries(&dialog, "chosen").isEmpty());
            DoubleClick(&dialog, "available", 0);
            Check(&dialog, "scope0");
        });
        const std::optional<core::PickAnswer> answer =
            ExecMultiFileBrowseDlg(nullptr, Request("AB", false));
        QCOMPARE(driver.LastTitle(), QStringLiteral("複数ファイルのブラウズ"));
        QVERIFY(answer.has_value());
        QCOMPARE(answer->names, std::vector<std::string>{"OTHER.DAT"});
        QCOMPARE(answer->address, 'B');
        QCOMPARE(answer->allAddresses, 0);

        driver.Cancel([](QDialog& dialog) { DoubleClick(&dialog, "available", 0); });
        QVERIFY(!ExecMultiFileBrowseDlg(nullptr, Request("AB", false)).has_value());
    }

    void programChoiceOffersOnlyProgramsAndRefusesLongNames() {
        listings_[0] = "A.EXE,B.DAT,,c.exe,.EXE";
        ScriptedServices services;
        ModalDriver driver;
        driver.Answer([](QDialog& dialog) {
            QCOMPARE(Entries(&dialog, "programs"),
                     (QStringList{QStringLiteral("A.EXE"), QStringLiteral("c.exe")}));
            DoubleClick(&dialog, "programs", 1);
            QCOMPARE(Child<QLineEdit>(&dialog, "fileText")->text(), QStringLiteral("c.exe"));
        });
        std::optional<core::PickAnswer> answer = ExecPickDialog(nullptr, Request("A", true));
        QCOMPARE(driver.LastTitle(), QStringLiteral("Run Program select"));
        QVERIFY(answer.has_value());
        QCOMPARE(answer->names, std::vector<std::string>{"c.exe"});
        QCOMPARE(answer->address, 'A');
        QCOMPARE(answer->allAddresses, 1);

        driver.Answer(
            [](QDialog& dialog) { Type(&dialog, "fileText", QString(20, QLatin1Char('P'))); });
        QVERIFY(!ExecTerminalFileBrowseDlg(nullptr, Request("A", true)).has_value());
        QCOMPARE(driver.stayedOpen, 1);
        QCOMPARE(services.messages.size(), 1);
    }

    void aWorkerWaitsForTheChoiceMadeOnTheGuiThread() {
        listings_[0] = "UP.DAT,LOG.TXT";
        GuiRequests gui;
        ScriptedServices services;
        ModalDriver driver;
        driver.Answer([](QDialog& dialog) { DoubleClick(&dialog, "available", 1); });
        std::atomic<bool> finished{false};
        std::optional<core::PickAnswer> answer;
        const core::PickRequest request = Request("A", false);
        std::thread worker([&] {
            answer = PickOnGuiThread(gui, nullptr, request, [] { return false; });
            finished = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(finished.load(), 30000);
        worker.join();
        QVERIFY(answer.has_value());
        QCOMPARE(answer->names, std::vector<std::string>{"UP.DAT"});
    }
};

}  // namespace zelo::dialogs::testing

QTEST_MAIN(zelo::dialogs::testing::ChoiceDialogsTest)
#include "choice_dialogs_test.moc"

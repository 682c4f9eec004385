// The modem, phone book, dial and Lanta dialogs: OK writes Zelocom.ini or
// prepares the command as the program needs; Cancel changes nothing.
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QtTest>

#include "dialogs/qt/dial_dialog.hpp"
#include "dialogs/qt/lanta_remote_dialog.hpp"
#include "dialogs/qt/modem_dialog.hpp"
#include "dialogs/qt/phone_book_dialog.hpp"
#include "modal_driver.hpp"
#include "view_fixture.hpp"

namespace zelo::dialogs::testing {

using namespace zelo::qt_testing;

namespace {

std::string Pad(std::string text) {
    text.resize(30, ' ');
    return text;
}

bool Holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

class ModemLantaDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void modemOkSavesTheSettingsAndThePhoneBook() {
        ViewFixture fixture(IniFor("Brisa", "[Modem]\nDial_Wait_Time=60\n"));
        ModalDriver driver;
        driver.Then([](QWidget* w) {
            Type(w, "dialWaitTime", "0");
            Press(w, "ok");
        });
        driver.Then(driver.CloseMessage());
        driver.Then([](QWidget* w) {
            Type(w, "dialWaitTime", "30");
            Type(w, "initCommand", "ATZ");
            Check(w, "useModem_1");
            Check(w, "dialType_1");
            Press(w, "phoneBook");
        });
        driver.Then([](QWidget* book) {
            Type(book, "name", "Office");
            Type(book, "number", "123");
            Press(book, "add");
            Press(book, "ok");
        });
        driver.Then([](QWidget* w) { Press(w, "ok"); });
        QVERIFY(ExecModemDlg(nullptr, fixture.View()));
        QCOMPARE(driver.messages, QStringList{"Please enter an integer between 1 and 120."});
        const std::string ini = fixture.Ini();
        QVERIFY(Holds(ini, "Use_modem=Yes"));
        QVERIFY(Holds(ini, "Modem_Initial_command=ATZ"));
        QVERIFY(Holds(ini, "Dial_Wait_Time=30"));
        QVERIFY(Holds(ini, "Dial_Type=1"));
        QVERIFY(Holds(ini, "Modem_Phone_no001=123\n") || Holds(ini, "Modem_Phone_no001=123\r\n"));
        QVERIFY(Holds(ini, "Modem_Phone_name001=Office"));
        QCOMPARE(fixture.State().phoneBook.entries[0].name, Pad("Office"));

        // Opened again, the phone book shows the same entry.
        QString shown;
        driver.Then([](QWidget* w) { Press(w, "phoneBook"); });
        driver.Then([&](QWidget* book) {
            auto* list = Child<QListWidget>(book, "phoneLines");
            if (list->count() == 1) shown = list->item(0)->text();
            Press(book, "cancel");
        });
        driver.Then([](QWidget* w) { Press(w, "cancel"); });
        QVERIFY(!ExecModemDlg(nullptr, fixture.View()));
        QCOMPARE(shown.trimmed(), QString::fromStdString(Pad("Office") + "123"));
    }

    void modemCancelForgetsThePhoneBooksChanges() {
        ViewFixture fixture(IniFor("Brisa", "[Modem]\nModem_Phone_no003=333\n"));
        const std::string before = fixture.Ini();
        ModalDriver driver;
        driver.Then([](QWidget* w) { Press(w, "phoneBook"); });
        driver.Then([](QWidget* book) {
            Press(book, "delete");
            Press(book, "ok");
        });
        driver.Then([](QWidget* w) { Press(w, "cancel"); });
        QVERIFY(!ExecModemDlg(nullptr, fixture.View()));
        QCOMPARE(fixture.Ini(), before);
        QCOMPARE(fixture.State().phoneBook.entries[2].number, std::string("333"));
    }

    void phoneBookRefusesEmptyFieldsAndKeepsItsLinesOnCancel() {
        std::vector<std::string> lines{Pad("Bravo") + Pad("2"), Pad("Alpha") + Pad("1")};
        ModalDriver driver;
        driver.Then([](QWidget* book) {
            Type(book, "name", "Zulu");
            Press(book, "add");
        });
        driver.Then(driver.CloseMessage());
        driver.Then([](QWidget* book) {
            Type(book, "number", "9");
            Press(book, "add");
            Press(book, "ok");
        });
        QVERIFY(ExecPhoneBookDlg(nullptr, lines));
        QCOMPARE(driver.messages, QStringList{"PhoneNo and Name can't be empty !"});
        QCOMPARE(lines, (std::vector<std::string>{Pad("Alpha") + Pad("1"), Pad("Bravo") + Pad("2"),
                                                  Pad("Zulu") + "9"}));

        driver.Then([](QWidget* book) {
            Press(book, "delete");
            Press(book, "cancel");
        });
        QVERIFY(!ExecPhoneBookDlg(nullptr, lines));
        QCOMPARE(lines.size(), std::size_t{3});
    }

    void dialTakesTheSelectedNumberInListOrder() {
        core::PhoneBook book;
        book.entries[2] = {"333", "Zed"};
        book.entries[6] = {"777", "Alpha"};
        ModalDriver driver;
        QStringList shown;
        driver.Answer([&](QDialog& dialog) {
            auto* list = Child<QListWidget>(&dialog, "phoneLines");
            for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text().trimmed();
            list->setCurrentRow(1);
        });
        const std::optional<std::string> number = ExecDialDlg(nullptr, book);
        QCOMPARE(driver.LastTitle(), QString("ダイヤル"));
        QCOMPARE(shown, (QStringList{QString::fromStdString(Pad("Alpha") + "777"),
                                     QString::fromStdString(Pad("Zed") + "333")}));
        QVERIFY(number.has_value());
        QCOMPARE(*number, Pad("333"));  // the stored line's padding goes with it
    }

    void dialWithoutASelectionAsksForOne() {
        core::PhoneBook book;
        book.entries[0] = {"5551234", "Depot"};
        ModalDriver driver;
        driver.Then([](QWidget* w) {
            Child<QListWidget>(w, "phoneLines")->setCurrentRow(-1);
            Press(w, "ok");
        });
        driver.Then(driver.CloseMessage());
        driver.Then([](QWidget* w) { Press(w, "cancel"); });
        QVERIFY(!ExecDialDlg(nullptr, book).has_value());
        QCOMPARE(driver.messages, QStringList{"Please select one Phone!"});
    }

    void lantaOkBuildsTheRecordFromAnExistingFile() {
        ViewFixture fixture(IniFor("Lanta"));
        const std::string path = fixture.File("SITE.K40");
        test_support::WriteAll(path,
                               "FIELD_DELIMETER=44\nRECORD_DELIMETER=13\n"
                               "FIELD=2,CODE(10/A),QTY(5/N)\n");
        core::CommandArguments args;
        ModalDriver driver;
        driver.Answer(
            [&](QDialog& dialog) { Type(&dialog, "configPath", QString::fromStdString(path)); });
        QVERIFY(ExecLantaRemoteDlg(nullptr, fixture.Platform(), fixture.State(), args));
        QCOMPARE(driver.LastTitle(), QString("Lanta リモート設定"));
        QCOMPARE(args.lantaRecord.size(), std::size_t{24});
        QCOMPARE(fixture.State().lists.lantaConfigName, path);

        // A missing file: its message, and nothing starts.
        args.lantaRecord = "OLD";
        const std::string missing = fixture.File("GONE.K40");
        driver.Then([&](QWidget* w) {
            Type(w, "configPath", QString::fromStdString(missing));
            Press(w, "ok");
        });
        driver.Then(driver.CloseMessage());
        QVERIFY(!ExecLantaRemoteDlg(nullptr, fixture.Platform(), fixture.State(), args));
        QCOMPARE(driver.messages, QStringList{QString::fromStdString(missing + " not found!")});
        QCOMPARE(args.lantaRecord, std::string("OLD"));
        QCOMPARE(fixture.State().lists.lantaConfigName, path);
    }

    // A path longer than the configuration keeps is refused whole, never cut
    // to the name of some other file.
    void lantaRefusesAPathItCannotKeep() {
        ViewFixture fixture(IniFor("Lanta"));
        const std::string longPath = fixture.File(std::string(120, 'k') + ".K40");
        test_support::WriteAll(longPath, "FIELD=1,A(1/B)\n");
        core::CommandArguments args;
        ModalDriver driver;
        driver.Then([&](QWidget* w) {
            Type(w, "configPath", QString::fromStdString(longPath));
            Press(w, "ok");
        });
        driver.Then(driver.CloseMessage());
        QVERIFY(!ExecLantaRemoteDlg(nullptr, fixture.Platform(), fixture.State(), args));
        QCOMPARE(driver.messages,
                 QStringList{"The path of the Lanta configuration file is longer than 99 "
                             "characters."});
        QVERIFY(fixture.State().lists.lantaConfigName.empty());
    }

    void lantaCancelChangesNothing() {
        ViewFixture fixture(IniFor("Lanta", "[Lanta]\nCFG_Name=A.K40\n"));
        core::CommandArguments args;
        ModalDriver driver;
        QString shown;
        driver.Cancel([&](QDialog& dialog) {
            shown = Child<QLineEdit>(&dialog, "configPath")->text();
            Type(&dialog, "configPath", "B.K40");
        });
        QVERIFY(!ExecLantaRemoteDlg(nullptr, fixture.Platform(), fixture.State(), args));
        QCOMPARE(shown, QString("A.K40"));
        QCOMPARE(fixture.State().lists.lantaConfigName, std::string("A.K40"));
        QVERIFY(args.lantaRecord.empty());
    }
};

}  // namespace zelo::dialogs::testing

QTEST_MAIN(zelo::dialogs::testing::ModemLantaDialogsTest)
#include "modem_lanta_dialogs_test.moc"

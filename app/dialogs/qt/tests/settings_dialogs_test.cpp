#include <QCheckBox>
#include <QComboBox>
#include <QtTest>

#include "core/command_table.hpp"
#include "dialogs/qt/command_dialogs.hpp"
#include "dialogs/qt/file_list_dialogs.hpp"
#include "dialogs/qt/parameters_dialog.hpp"
#include "dialogs/qt/polling_dialogs.hpp"
#include "dialogs/qt/terminal_type_dialog.hpp"
#include "dialogs/qt/tests/qt_dialog_driver.hpp"
#include "dialogs/tests/dialog_fixture.hpp"

namespace zelo::dialogs::testing {
namespace {

const char* const kIni =
    "[Communication]\nTerminal_type=Fenna\nPort=5\nAddress=AB\n"
    "[Multi_download]\nFile1=A.EXE\n[POLL]\nStart_Time=7:5\nStop_Time=8\n";

bool Has(const DialogFixture& fixture, const char* line) {
    return fixture.IniHas(QByteArray(line).toStdString());
}

}  // namespace

// Each settings dialog: what OK writes to Zelocom.ini, and that Cancel
// writes nothing.
class SettingsDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void terminalTypeOkWritesTheModelAndItsPreset() {
        DialogFixture fixture(kIni);
        ScriptedServices services;
        ModalDriver driver;
        driver.Answer([](QDialog& dialog) {
            QVERIFY(Child<QAbstractButton>(&dialog, "type1")->isChecked());
            QVERIFY(Child<QCheckBox>(&dialog, "standardDelays")->isChecked());
            Check(&dialog, "type6");
        });
        QVERIFY(ExecTerminalTypeDlg(nullptr, fixture.view, fixture.library));
        QCOMPARE(driver.LastTitle(), QStringLiteral("ターミナルタイプ選択"));
        QVERIFY(Has(fixture, "Terminal_type=Brisa"));
        QVERIFY(Has(fixture, "NAK_delay=30"));
        QVERIFY(Has(fixture, "Power_Saving=NO"));
        QCOMPARE(fixture.library.calls, std::vector<std::string>{"power_saving 0"});
    }

    void terminalTypeCancelWritesNothing() {
        DialogFixture fixture(kIni);
        ScriptedServices services;
        ModalDriver driver;
        driver.Cancel([](QDialog& dialog) { Check(&dialog, "type3"); });
        QVERIFY(!ExecTerminalTypeDlg(nullptr, fixture.view, fixture.library));
        QCOMPARE(fixture.IniText(), std::string(kIni));
        QCOMPARE(fixture.state.comm.terminalType, 1);
    }

    void parametersOkWritesTheLineAndAsksToReconnectOnlyForLineChanges() {
        DialogFixture fixture(kIni);
        ScriptedServices services;
        fixture.state.status.connected = 1;
        int reconnectedFrom = 0;
        ModalDriver driver;
        driver.Answer([](QDialog& dialog) {
            QCOMPARE(Child<QComboBox>(&dialog, "port")->count(), 256);
            QCOMPARE(Child<QComboBox>(&dialog, "port")->currentText(), QStringLiteral("5"));
            Type(&dialog, "addresses", QStringLiteral("ab,c9"));
            Child<QComboBox>(&dialog, "port")->setCurrentIndex(1);
            Check(&dialog, "baud9");
            Type(&dialog, "timeout", QStringLiteral("1234"));
        });
        QVERIFY(ExecParametersDlg(
            nullptr, fixture.view, [&](int openPort) { reconnectedFrom = openPort; },
            fixture.library));
        QCOMPARE(driver.LastTitle(), QStringLiteral("通信パラメータ"));
        QVERIFY(Has(fixture, "Address=ABC"));
        QVERIFY(Has(fixture, "Port=2"));
        QVERIFY(Has(fixture, "BaudRate=57600"));
        QVERIFY(Has(fixture, "Time_out=1234"));
        QCOMPARE(services.questions, QStringList{QStringLiteral("Do you want to reconnect?")});
        QCOMPARE(reconnectedFrom, 5);  // closed on the port it was open on

        services.questions.clear();
        driver.Answer([](QDialog& dialog) { Type(&dialog, "escDelay", QStringLiteral("77")); });
        QVERIFY(ExecParametersDlg(
            nullptr, fixture.view, [](int) {}, fixture.library));
        QVERIFY(Has(fixture, "ESC_delay=77"));
        QVERIFY(services.questions.isEmpty());
    }

    void parametersRefuseTextThatIsNotAnIntegerAndCancelWritesNothing() {
        DialogFixture fixture(kIni);
        ScriptedServices services;
        ModalDriver driver;
        driver.Answer([](QDialog& dialog) { Type(&dialog, "nakDelay", QStringLiteral("12x")); });
        QVERIFY(!ExecParametersDlg(
            nullptr, fixture.view, [](int) {}, fixture.library));
        QCOMPARE(driver.stayedOpen, 1);
        QCOMPARE(services.messages, QStringList{QStringLiteral("Please enter an integer.")});
        QCOMPARE(fixture.IniText(), std::string(kIni));
        QVERIFY(fixture.library.calls.empty());
    }

    void downloadListBrowsesIntoTheLastFocusedEdit() {
        DialogFixture fixture(kIni);
        ScriptedServices services;
        services.files << QStringLiteral("/pc/tenth.dat");
        ModalDriver driver;
        driver.Answer([](QDialog& dialog) {
            dialog.activateWindow();
            Child<QLineEdit>(&dialog, "file10")->setFocus();
            QApplication::processEvents();
            Child<QPushButton>(&dialog, "browse")->click();
            QCOMPARE(Child<QLineEdit>(&dialog, "file10")->text(), QStringLiteral("/pc/tenth.dat"));
        });
        QVERIFY(ExecDownloadListDlg(nullptr, fixture.view));
        QCOMPARE(services.initialNames, QStringList{QStringLiteral("*.*")});
        QVERIFY(Has(fixture, "File10=/pc/tenth.dat"));
        QVERIFY(Has(fixture, "File1=A.EXE"));
    }

    void downloadListWithoutFocusBrowsesIntoTheFirstAndCancelWritesNothing() {
        DialogFixture fixture(kIni);
        ScriptedServices services;
        services.files << QStringLiteral("/pc/first.dat");
        ModalDriver driver;
        driver.Cancel([](QDialog& dialog) {
            Child<QPushButton>(&dialog, "browse")->click();
            QCOMPARE(Child<QLineEdit>(&dialog, "file1")->text(), QStringLiteral("/pc/first.dat"));
            Child<QLineEdit>(&dialog, "file2")->setText(QStringLiteral("TYPED.DAT"));
        });
        QVERIFY(!ExecDownloadListDlg(nullptr, fixture.view));
        QCOMPARE(fixture.IniText(), std::string(kIni));
        QCOMPARE(fixture.state.lists.downloadFiles[0], std::string("A.EXE"));
    }

    void uploadListOkWritesAndCancelWritesNothing() {
        DialogFixture fixture(kIni);
        ScriptedServices services;
        ModalDriver driver;
        driver.Cancel([](QDialog& dialog) { Check(&dialog, "loop"); });
        QVERIFY(!ExecUploadListDlg(nullptr, fixture.view, fixture.library));
        QCOMPARE(fixture.IniText(), std::string(kIni));

        driver.Answer([](QDialog& dialog) {
            Type(&dialog, "file3", QStringLiteral("LOG.TXT"));
            Check(&dialog, "delete3");
            Check(&dialog, "save1");
            Check(&dialog, "loop");
            Type(&dialog, "period", QStringLiteral("30"));
        });
        QVERIFY(ExecUploadListDlg(nullptr, fixture.view, fixture.library));
        QCOMPARE(driver.LastTitle(), QStringLiteral("アップロード - ファイル"));
        QVERIFY(Has(fixture, "File3=LOG.TXT"));
        QVERIFY(Has(fixture, "Delete3=YES"));
        QVERIFY(Has(fixture, "Upload_Save_Mode=Over-write"));
        QVERIFY(Has(fixture, "Upload_Loop=Yes"));
        QVERIFY(Has(fixture, "Upload_Period=30"));
        QCOMPARE(fixture.library.calls, std::vector<std::string>{"save_mode 1"});
    }

    void namesInAnother8BitEncodingSurviveOkUntouched() {
        // A Latin-1 e-acute, which is no UTF-8 text on its own.
        const std::string ini = std::string(kIni) + "[Multi_upload]\nFile5=CAF\xe9.DAT\n";
        DialogFixture fixture(ini);
        ScriptedServices services;
        ModalDriver driver;
        driver.Answer([](QDialog& dialog) { Check(&dialog, "loop"); });
        QVERIFY(ExecUploadListDlg(nullptr, fixture.view, fixture.library));
        QCOMPARE(fixture.state.lists.uploadFiles[4], std::string("CAF\xe9.DAT"));
        QVERIFY(Has(fixture, "File5=CAF\xe9.DAT"));
    }

    void uploadListRefusesANameOutsideTheAddressFolder() {
        DialogFixture fixture(kIni);
        ScriptedServices services;
        ModalDriver driver;
        driver.Answer(
            [](QDialog& dialog) { Type(&dialog, "file1", QStringLiteral("../../x.dat")); });
        QVERIFY(!ExecUploadListDlg(nullptr, fixture.view, fixture.library));
        QCOMPARE(driver.stayedOpen, 1);
        QCOMPARE(services.messages.size(), 1);
        QCOMPARE(fixture.IniText(), std::string(kIni));
    }

    void pollSettingsShowSplitTimesAndOkWritesThemInFull() {
        DialogFixture fixture(kIni);
        ScriptedServices services;
        ModalDriver driver;
        driver.Answer([](QDialog& dialog) {
            QCOMPARE(Child<QLineEdit>(&dialog, "startHour")->text(), QStringLiteral("7"));
            QCOMPARE(Child<QLineEdit>(&dialog, "startMinute")->text(), QStringLiteral("5"));
            QCOMPARE(Child<QLineEdit>(&dialog, "startSecond")->text(), QStringLiteral("0"));
            QCOMPARE(Child<QLineEdit>(&dialog, "stopHour")->text(), QStringLiteral("8"));
            Check(&dialog, "open1");
            Check(&dialog, "mode1");
            Type(&dialog, "maxError", QStringLiteral("100"));
        });
        QVERIFY(ExecPollSettingsDlg(nullptr, fixture.view));
        QCOMPARE(driver.LastTitle(), QStringLiteral("データファイルポーリング"));
        QVERIFY(Has(fixture, "Start_Time=07:05:00"));
        QVERIFY(Has(fixture, "Stop_Time=08:00:00"));
        QVERIFY(Has(fixture, "Open_Method=New"));
        QVERIFY(Has(fixture, "Polling_Period=Specify"));
        QVERIFY(Has(fixture, "MaxError=100"));
    }

    void pollSettingsRefuseMaxErrorAbove100AndCancelKeepsTheTimes() {
        DialogFixture fixture(kIni);
        ScriptedServices services;
        ModalDriver driver;
        driver.Answer([](QDialog& dialog) { Type(&dialog, "maxError", QStringLiteral("101")); });
        QVERIFY(!ExecPollSettingsDlg(nullptr, fixture.view));
        QCOMPARE(driver.stayedOpen, 1);
        QCOMPARE(services.messages,
                 QStringList{QStringLiteral("Please enter an integer between 0 and 100.")});
        QCOMPARE(fixture.IniText(), std::string(kIni));
    }

    void pollSettingsRefuseABrowsedPathTooLong() {
        DialogFixture fixture(kIni);
        ScriptedServices services;
        services.files << QString(100, QLatin1Char('p'));
        ModalDriver driver;
        driver.Answer([](QDialog& dialog) {
            Child<QPushButton>(&dialog, "browse")->click();
            QCOMPARE(Child<QLineEdit>(&dialog, "fileName")->text(), QStringLiteral("POLL.DAT"));
        });
        QVERIFY(ExecPollSettingsDlg(nullptr, fixture.view));
        QCOMPARE(services.initialNames, QStringList{QString()});
        QCOMPARE(services.messages.size(), 1);
        QVERIFY(Has(fixture, "File_Name=POLL.DAT"));
    }

    void autoTimeSyncOkWritesAndCancelWritesNothing() {
        DialogFixture fixture(kIni);
        ScriptedServices services;
        ModalDriver driver;
        driver.Cancel([](QDialog& dialog) { Check(&dialog, "mode2"); });
        QVERIFY(!ExecAutoTimeSyncDlg(nullptr, fixture.view));
        QCOMPARE(fixture.IniText(), std::string(kIni));

        driver.Answer([](QDialog& dialog) {
            QCOMPARE(Child<QLineEdit>(&dialog, "startHour")->text(), QStringLiteral("6"));
            Check(&dialog, "mode1");
            Type(&dialog, "stopMinute", QStringLiteral("30"));
        });
        QVERIFY(ExecAutoTimeSyncDlg(nullptr, fixture.view));
        QCOMPARE(driver.LastTitle(), QStringLiteral("自動時刻同期"));
        QVERIFY(Has(fixture, "Auto_Time_Sync=Start"));
        QVERIFY(Has(fixture, "Auto_Time_Sync_Start=06:00:00"));
        QVERIFY(Has(fixture, "Auto_Time_Sync_Stop=08:30:00"));
    }

    void timeSyncRefusesYear2039AndTakesAGivenTime() {
        ScriptedServices services;
        core::TimeSyncRequest request;
        const core::LocalTime now{2026, 12, 8, 2, 9, 5, 7};
        ModalDriver driver;
        driver.Answer([](QDialog& dialog) {
            QCOMPARE(Child<QLineEdit>(&dialog, "year")->text(), QStringLiteral("2026"));
            QVERIFY(Child<QAbstractButton>(&dialog, "source0")->isChecked());
            Type(&dialog, "year", QStringLiteral("2039"));
        });
        QVERIFY(!ExecTimeSyncDlg(nullptr, request, now));
        QCOMPARE(driver.stayedOpen, 1);
        QCOMPARE(request.year, 0);

        driver.Answer([](QDialog& dialog) {
            Check(&dialog, "source1");
            Type(&dialog, "year", QStringLiteral("2038"));
            Type(&dialog, "month", QStringLiteral("2"));
            Type(&dialog, "day", QStringLiteral("28"));
        });
        QVERIFY(ExecTimeSyncDlg(nullptr, request, now));
        QCOMPARE(driver.LastTitle(), QStringLiteral("時刻同期"));
        QCOMPARE(request.year, 2038);
        QCOMPARE(request.month, 2);
        QCOMPARE(request.day, 28);
        QCOMPARE(request.hour, 9);
        QCOMPARE(request.useSetTime, 1);
    }

    void commandLineClearedBoxesAreWrittenAsNo() {
        DialogFixture fixture(kIni);
        ScriptedServices services;
        ModalDriver driver;
        driver.Cancel([](QDialog&) {});
        QVERIFY(!ExecCommandLineDlg(nullptr, fixture.view));
        QCOMPARE(fixture.IniText(), std::string(kIni));

        driver.Answer([](QDialog& dialog) {
            Child<QCheckBox>(&dialog, "autoExit")->setChecked(false);
            Child<QCheckBox>(&dialog, "showErrorBox")->setChecked(false);
        });
        QVERIFY(ExecCommandLineDlg(nullptr, fixture.view));
        QCOMPARE(driver.LastTitle(), QStringLiteral("コマンドライン設定"));
        QVERIFY(Has(fixture, "AUTO_EXIT=No"));
        QVERIFY(Has(fixture, "SHOW_ERROR_BOX=No"));
    }

    void textInputIsTitledWithItsPromptAndTakesEmptyText() {
        ScriptedServices services;
        ModalDriver driver;
        driver.Answer([](QDialog&) {});
        const std::optional<std::string> text = ExecTextInputDlg(nullptr, core::kPassword);
        QCOMPARE(driver.LastTitle(), QStringLiteral("Input New Password"));
        QVERIFY(text.has_value());
        QCOMPARE(*text, std::string());

        driver.Cancel([](QDialog& dialog) { Type(&dialog, "text", QStringLiteral("x")); });
        QVERIFY(!ExecTextInputDlg(nullptr, core::kSendData).has_value());
    }

    void textInputRefusesAnExecutableAreaOutside0To999() {
        ScriptedServices services;
        ModalDriver driver;
        driver.Answer([](QDialog& dialog) { Type(&dialog, "text", QStringLiteral("1000")); });
        QVERIFY(!ExecTextInputDlg(nullptr, core::kExecAreaSize).has_value());
        QCOMPARE(driver.stayedOpen, 1);
        QCOMPARE(services.messages.size(), 1);

        driver.Answer([](QDialog& dialog) { Type(&dialog, "text", QStringLiteral("512")); });
        QCOMPARE(ExecTextInputDlg(nullptr, core::kExecAreaSize).value_or(""), std::string("512"));
    }
};

}  // namespace zelo::dialogs::testing

QTEST_MAIN(zelo::dialogs::testing::SettingsDialogsTest)
#include "settings_dialogs_test.moc"

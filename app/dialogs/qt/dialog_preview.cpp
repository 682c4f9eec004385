// Opens one dialog over the Zelocom.ini of the working directory, to look
// at it as a user would: zelo_dialog_preview parameters|terminal|download|
// upload|pc|files|program|poll|autosync|time|cmdline|text
#include <QApplication>
#include <QString>
#include <cstdio>
#include <string>

#include "core/command_table.hpp"
#include "core/core_platform.hpp"
#include "core/program_model.hpp"
#include "dialogs/qt/command_dialogs.hpp"
#include "dialogs/qt/file_choice_dialogs.hpp"
#include "dialogs/qt/file_list_dialogs.hpp"
#include "dialogs/qt/parameters_dialog.hpp"
#include "dialogs/qt/polling_dialogs.hpp"
#include "dialogs/qt/terminal_type_dialog.hpp"

namespace {

class QuietView : public zelo::core::FrontEndDuties {
public:
    void AppendToMessageWindow(std::string line) override { std::fputs(line.c_str(), stdout); }
    void HandlePollRecord(char, std::string) override {}
    void RefreshProgress(bool) override {}
    void ShowMessageBox(std::string text) override { std::puts(text.c_str()); }
    void SaveConfiguration() override {}
    void OpenTerminalDialog() override {}
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("parameters");
    zelo::core::SystemPlatform platform;
    QuietView duties;
    zelo::core::ProgramModel view(platform, duties);
    view.StartUp();

    using namespace zelo::dialogs;
    zelo::link::DirectoryTexts listings{};
    listings[0] = "MAIN.EXE,DATA.DAT,LOG.TXT,menu.exe";
    listings[1] = "B.EXE,B.DAT";
    zelo::core::PickRequest request;
    request.addresses = "AB";
    request.listings = &listings;
    zelo::core::TimeSyncRequest time;

    if (which == QLatin1String("terminal")) return ExecTerminalTypeDlg(nullptr, view) ? 0 : 1;
    if (which == QLatin1String("download")) return ExecDownloadListDlg(nullptr, view) ? 0 : 1;
    if (which == QLatin1String("upload")) return ExecUploadListDlg(nullptr, view) ? 0 : 1;
    if (which == QLatin1String("pc")) return ExecPcFileBrowseDlg(nullptr, view.State()) ? 0 : 1;
    if (which == QLatin1String("files")) return ExecMultiFileBrowseDlg(nullptr, request) ? 0 : 1;
    if (which == QLatin1String("program")) {
        request.title = "Run Program select";
        return ExecTerminalFileBrowseDlg(nullptr, request) ? 0 : 1;
    }
    if (which == QLatin1String("poll")) return ExecPollSettingsDlg(nullptr, view) ? 0 : 1;
    if (which == QLatin1String("autosync")) return ExecAutoTimeSyncDlg(nullptr, view) ? 0 : 1;
    if (which == QLatin1String("time")) return ExecTimeSyncDlg(nullptr, time) ? 0 : 1;
    if (which == QLatin1String("cmdline")) return ExecCommandLineDlg(nullptr, view) ? 0 : 1;
    if (which == QLatin1String("text")) {
        return ExecTextInputDlg(nullptr, zelo::core::kPassword) ? 0 : 1;
    }
    return ExecParametersDlg(nullptr, view, [](int) {}) ? 0 : 1;
}

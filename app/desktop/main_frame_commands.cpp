// The main window's commands: terminal commands with the dialogs that come
// before them, the settings dialogs, the window menu and help.
#include <zelodll.h>

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

#include "core/command_menu.hpp"
#include "desktop/main_frame.hpp"
#include "desktop/menu_ids.hpp"
#include "desktop/output_text.hpp"

namespace zelo::desktop {
namespace {

// The one-line input's text, as long as the command's argument may be.
constexpr std::size_t kMaxTextArgument = 99;

}  // namespace

core::MenuGroup CMainFrame::GroupOf(int menuId) const {
    if (const core::MenuEntry* entry =
            core::FindMenuEntry(static_cast<core::MenuCommand>(menuId))) {
        return core::MenuGroupOf(entry->commandCode);
    }
    if (menuId >= kMenuTerminalType && menuId <= kMenuCommandLineSettings) {
        return core::MenuGroup::kTerminalOrSettings;
    }
    return core::MenuGroup::kAlways;
}

void CMainFrame::UpdateEnabling() {
    if (closingLine_) return;  // everything stays off while the window goes
    for (const auto& [id, action] : actions_) {
        const bool enabled =
            core::FindMenuEntry(static_cast<core::MenuCommand>(id)) != nullptr
                ? program_.Controller().IsEnabled(static_cast<core::MenuCommand>(id))
                : program_.Controller().IsEnabled(GroupOf(id));
        // QAction only repaints what changed.
        action->setEnabled(enabled);
    }
}

void CMainFrame::RunCommand(int menuId) {
    // A double click on the view or a test reaches here without a menu, so
    // the rules are checked again.
    const auto command = static_cast<core::MenuCommand>(menuId);
    const bool worker = core::FindMenuEntry(command) != nullptr;
    if (!(worker ? program_.Controller().IsEnabled(command)
                 : program_.Controller().IsEnabled(GroupOf(menuId)))) {
        return;
    }
    if (worker) {
        RunWorkerCommand(menuId);
    } else if (menuId == kMenuStop) {
        BeginStop();
    } else if (menuId == kMenuExit) {
        close();
    } else if (menuId == kMenuAbout) {
        ShowAbout();
    } else if (menuId == kMenuLibraryVersion) {
        ShowLibraryVersion();
    } else if (menuId >= kMenuTerminalType && menuId <= kMenuCommandLineSettings) {
        RunSettingsDialog(menuId);
    } else {
        RunWindowCommand(menuId);
    }
    UpdateEnabling();
}

void CMainFrame::RunWorkerCommand(int menuId) {
    const auto command = static_cast<core::MenuCommand>(menuId);
    if (!AskCommandArguments(core::FindMenuEntry(command)->commandCode)) return;
    program_.Controller().RunMenuCommand(command);
    view_->update();
}

bool CMainFrame::AskCommandArguments(int commandCode) {
    core::ProgramModel& view = program_.View();
    core::CommandArguments& arguments = program_.Worker().Arguments();
    const auto input = [this, &arguments, commandCode] {
        std::optional<std::string> text = dialogs_.InputText(this, commandCode);
        if (!text) return false;
        arguments.textArgument = text->substr(0, kMaxTextArgument);
        return true;
    };
    switch (commandCode) {
        case core::kDownloadChosenFiles: return dialogs_.ChoosePcFiles(this, view);
        case core::kBarcodeTable: return dialogs_.BuildBarcodeTable(this, view, arguments);
        case core::kAddressChange: return dialogs_.ChooseAddressChange(this, view, arguments);
        case core::kFileExists: return input();
        case core::kCommTable: return dialogs_.BuildCommTable(this, view);
        case core::kDeviceTable: return dialogs_.BuildDeviceTable(this, view, arguments);
        case core::kSendData: return input();
        case core::kPassword: return input();
        case core::kExecAreaSize: return input();
        case core::kLantaTable: return dialogs_.ChooseLantaTable(this, view, arguments);
        default: return true;
    }
}

void CMainFrame::RunSettingsDialog(int menuId) {
    core::ProgramModel& view = program_.View();
    switch (menuId) {
        case kMenuTerminalType: dialogs_.OpenTerminalDialog(this, view); break;
        case kMenuParameters:
            dialogs_.EditParameters(this, view, [this](int openPort) {
                program_.Worker().Arguments().reconnectPort = openPort;
                program_.Controller().RunCommand(core::kReconnectLine);
            });
            break;
        case kMenuDownloadList: dialogs_.EditDownloadList(this, view); break;
        case kMenuUploadList: dialogs_.EditUploadList(this, view); break;
        case kMenuPollSettings: dialogs_.EditPollSettings(this, view); break;
        case kMenuTimeSyncSettings: dialogs_.EditTimeSyncSettings(this, view); break;
        case kMenuModem: dialogs_.EditModem(this, view); break;
        case kMenuCommandLineSettings: dialogs_.EditCommandLineSettings(this, view); break;
        default: break;
    }
    // A new terminal type or address list shows at once.
    view_->update();
}

void CMainFrame::RunWindowCommand(int menuId) {
    const int fontSize = program_.View().State().messageFontSize.load();
    switch (menuId) {
        case kMenuPollWindowClear:
            if (pollWindowShown_ == 1) pollWindow_->ClearLines(-1);
            break;
        case kMenuPollWindowHide:
            pollWindow_->hide();
            pollWindowShown_ = 0;
            break;
        case kMenuPollWindowShow:
            pollWindow_->showNormal();
            pollWindow_->raise();
            pollWindowShown_ = 1;
            break;
        case kMenuMessageWindowClear:
            if (messageWindowShown_ == 1) messageWindow_->ClearLines(-1);
            break;
        case kMenuMessageWindowHide:
            messageWindow_->hide();
            messageWindowShown_ = 0;
            break;
        case kMenuMessageWindowShow:
            messageWindow_->showNormal();
            messageWindow_->raise();
            messageWindowShown_ = 1;
            break;
        case kMenuFontLarger: SetFontSize(LargerFontSize(fontSize)); break;
        case kMenuFontSmaller: SetFontSize(SmallerFontSize(fontSize)); break;
        default: break;
    }
}

void CMainFrame::SetFontSize(int size) {
    std::atomic<int>& fontSize = program_.View().State().messageFontSize;
    if (size == fontSize.load()) return;
    // Saved as FONT_SIZE with the next save of the configuration; a reload
    // of the configuration keeps it.
    fontSize = size;
    pollWindow_->SetFontSize(size);
    messageWindow_->SetFontSize(size);
}

void CMainFrame::ShowOutputWindow(COutputWindow& window) {
    // The window shows without activating; where the platform activates it
    // all the same, the keyboard goes back to the main window, whose
    // accelerators the operator is using.
    const bool wasActive = isActiveWindow();
    window.showNormal();
    if (wasActive) activateWindow();
}

void CMainFrame::AppendMessageLine(const QByteArray& line) {
    if (messageWindowShown_ == 0) {
        ShowOutputWindow(*messageWindow_);
        messageWindowShown_ = 1;
    }
    messageWindow_->AppendText(
        std::string_view(line.constData(), static_cast<std::size_t>(line.size())));
}

void CMainFrame::AppendPollLine(const QByteArray& line) {
    if (pollWindowShown_ == 0) {
        ShowOutputWindow(*pollWindow_);
        pollWindowShown_ = 1;
    }
    pollWindow_->AppendText(
        std::string_view(line.constData(), static_cast<std::size_t>(line.size())));
}

void CMainFrame::RefreshProgress(bool erase) { view_->RefreshProgress(erase); }

void CMainFrame::ShowAbout() {
    QDialog about(this);
    about.setWindowTitle(QStringLiteral("Zelo32について"));
    auto* icon = new QLabel(&about);
    icon->setPixmap(QPixmap::fromImage(pictures_.Host())
                        .scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    auto* text = new QLabel(QStringLiteral("Zelo32 バージョン 2.7"), &about);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &about);
    connect(buttons, &QDialogButtonBox::accepted, &about, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(&about);
    layout->addLayout(row);
    layout->addWidget(buttons);
    about.exec();
}

void CMainFrame::ShowLibraryVersion() {
    QMessageBox::information(view_, QStringLiteral("ZeloDll Version"),
                             QStringLiteral("ZeloDll.Dll Version %1").arg(HM_version()));
}

}  // namespace zelo::desktop

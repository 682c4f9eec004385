// The main window's construction: menus, toolbar, status bar, the view and
// the two output windows.
#include "desktop/main_frame.hpp"

#include <QAction>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include "core/command_menu.hpp"
#include "desktop/menu_ids.hpp"

namespace zelo::desktop {
namespace {

QString Caption(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CMainFrame::CMainFrame(program::Program& program, DesktopFrontEnd& frontEnd, DialogSet& dialogs,
                       const std::atomic<int>* stopSignal)
    : program_(program), frontEnd_(frontEnd), dialogs_(dialogs), stopSignal_(stopSignal) {
    setWindowTitle(QStringLiteral("Multi-Protocol communication under Serial port"));
    QCoreApplication::instance()->installEventFilter(&titleFit_);
    setWindowIcon(QIcon(QPixmap::fromImage(pictures_.Host())));

    CZelo32View::Hooks hooks;
    hooks.stopRequested = [this] { return program_.Operations().IsStopRequested() != 0; };
    hooks.readyForCommand = [this] {
        return program_.View().State().status.idle.load() != 0 &&
               program_.Worker().WorkerBusy() == 0;
    };
    view_ = new CZelo32View(program_.View().State(), pictures_, std::move(hooks), this);
    setCentralWidget(view_);
    connect(view_, &CZelo32View::CommandRequested, this, &CMainFrame::RunCommand);

    BuildMenus();
    BuildToolBar();
    BuildStatusBar();

    messageWindow_ = new COutputWindow(QStringLiteral("Message Window"), this);
    pollWindow_ = new COutputWindow(QStringLiteral("Polling Data Window"), this);
    for (COutputWindow* window : {messageWindow_, pollWindow_}) {
        window->setWindowIcon(windowIcon());
        connect(window, &COutputWindow::Clicked, this, [this] {
            raise();
            activateWindow();
        });
    }
    // Hidden by the window manager as by "隠す": the next line shows it again.
    connect(messageWindow_, &COutputWindow::HiddenByUser, this,
            [this] { messageWindowShown_ = 0; });
    connect(pollWindow_, &COutputWindow::HiddenByUser, this, [this] { pollWindowShown_ = 0; });

    // Queued even from this thread, so that lines and progress keep the
    // order in which they were sent, whoever sent them.
    connect(&frontEnd_, &DesktopFrontEnd::MessageLine, this, &CMainFrame::AppendMessageLine,
            Qt::QueuedConnection);
    connect(&frontEnd_, &DesktopFrontEnd::PollLine, this, &CMainFrame::AppendPollLine,
            Qt::QueuedConnection);
    connect(&frontEnd_, &DesktopFrontEnd::ProgressChanged, this, &CMainFrame::RefreshProgress,
            Qt::QueuedConnection);
    frontEnd_.SetWindow(this);
    frontEnd_.SetView(&program_.View());
    // A worker waiting for an answer gives up on Stop and on a signal.
    frontEnd_.SetStopQuery([this] {
        return program_.Operations().IsStopRequested() != 0 ||
               (stopSignal_ != nullptr && stopSignal_->load() != 0);
    });

    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, &CMainFrame::OnTick);
    resize(1000, 400);
}

CMainFrame::~CMainFrame() { frontEnd_.SetWindow(nullptr); }

void CMainFrame::StartTimer() {
    PlaceOutputWindows();
    timer_.start();
}

QAction* CMainFrame::Action(int menuId) const {
    const auto found = actions_.find(menuId);
    return found != actions_.end() ? found->second : nullptr;
}

QAction* CMainFrame::AddAction(QMenu* menu, int menuId, const QString& caption,
                               const QString& prompt) {
    QAction* action = Action(menuId);
    if (action == nullptr) {
        action = new QAction(caption, this);
        action->setStatusTip(prompt);
        action->setData(menuId);
        connect(action, &QAction::triggered, this, [this, menuId] { RunCommand(menuId); });
        actions_[menuId] = action;
    }
    if (menu != nullptr) menu->addAction(action);
    return action;
}

QAction* CMainFrame::AddCommand(QMenu* menu, core::MenuCommand command) {
    const core::MenuEntry* entry = core::FindMenuEntry(command);
    return AddAction(menu, MenuId(command), Caption(entry->caption), Caption(entry->prompt));
}

QMenu* CMainFrame::AddWorkerSubmenu(QMenu* menu, const QString& caption,
                                    std::initializer_list<core::MenuCommand> commands) {
    QMenu* submenu = menu->addMenu(caption);
    for (const core::MenuCommand command : commands) AddCommand(submenu, command);
    return submenu;
}

void CMainFrame::BuildMenus() {
    using M = core::MenuCommand;
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    AddAction(file, kMenuExit, QStringLiteral("終了"));

    QMenu* run = menuBar()->addMenu(QStringLiteral("実行"));
    AddWorkerSubmenu(run, QStringLiteral("ダウンロード"),
                     {M::kDownloadChosenFiles, M::kDownloadListedFiles});
    AddWorkerSubmenu(run, QStringLiteral("アップロード"),
                     {M::kUploadChosenFiles, M::kUploadListedFiles});
    AddCommand(run, M::kPoll);
    run->addSeparator();
    AddWorkerSubmenu(run, QStringLiteral("ターミナルに情報要求"),
                     {M::kDirectory, M::kDirectoryFlashRom, M::kRamSize, M::kRomSize,
                      M::kFirmwareVersion, M::kTerminalId, M::kFileList, M::kRunningProgram});
    QMenu* settings = AddWorkerSubmenu(
        run, QStringLiteral("ターミナル設定"),
        {M::kTimeAndDate, M::kBarcodeTable, M::kDeviceTable, M::kCommTable, M::kAddress,
         M::kPassword, M::kExecAreaSize, M::kUploadMode, M::kAutoBoot, M::kAutoBootFlashRom});
    AddWorkerSubmenu(settings, QStringLiteral("省電力"), {M::kPowerSavingOn, M::kPowerSavingOff});
    AddWorkerSubmenu(settings, QStringLiteral("ブザー"),
                     {M::kBuzzerLow, M::kBuzzerMedium, M::kBuzzerHigh});
    AddWorkerSubmenu(settings, QStringLiteral("キー"),
                     {M::kKeysLock, M::kKeysUnlock, M::kKeysPartialLock, M::kKeysRestoreMap});
    AddWorkerSubmenu(settings, QStringLiteral("フォント(システム標準値)"),
                     {M::kFontAll, M::kFont16x8, M::kFont32x16});
    run->addSeparator();
    for (const core::MenuCommand command :
         {M::kRun, M::kRunFlashRom, M::kErase, M::kSendData, M::kColdStart, M::kWarmStart,
          M::kUpsOff, M::kKermit, M::kLantaCfg}) {
        AddCommand(run, command);
    }
    run->addSeparator();
    for (const core::MenuCommand command : {M::kConnect, M::kDisconnect, M::kTest, M::kBatchScript})
        AddCommand(run, command);
    run->addSeparator();
    const QString stop = QStringLiteral("ストップ");
    AddAction(run, kMenuStop, stop, stop);

    QMenu* setup = menuBar()->addMenu(QStringLiteral("設定(&S)"));
    AddAction(setup, kMenuTerminalType, QStringLiteral("ターミナル(&T)"));
    AddAction(setup, kMenuParameters, QStringLiteral("パラメータ(&P)"));
    AddAction(setup, kMenuDownloadList, QStringLiteral("設定ダウンロード(&D)"));
    AddAction(setup, kMenuUploadList, QStringLiteral("設定アップロード(&U)"));
    AddAction(setup, kMenuPollSettings, QStringLiteral("ポール(&o)"));
    AddAction(setup, kMenuTimeSyncSettings, QStringLiteral("時刻同期(&S)"));
    AddAction(setup, kMenuModem, QStringLiteral("モデム"));
    AddAction(setup, kMenuCommandLineSettings, QStringLiteral("コマンドライン設定"));

    QMenu* window = menuBar()->addMenu(QStringLiteral("ウインドウ"));
    QMenu* dataWindow = window->addMenu(QStringLiteral("データウインドウ"));
    AddAction(dataWindow, kMenuPollWindowClear, QStringLiteral("クリア"));
    AddAction(dataWindow, kMenuPollWindowHide, QStringLiteral("隠す"));
    AddAction(dataWindow, kMenuPollWindowShow, QStringLiteral("表示"));
    QMenu* message = window->addMenu(QStringLiteral("メッセージウインドウ"));
    AddAction(message, kMenuMessageWindowClear, QStringLiteral("クリア"));
    AddAction(message, kMenuMessageWindowHide, QStringLiteral("隠す"));
    AddAction(message, kMenuMessageWindowShow, QStringLiteral("表示"));
    QMenu* font = window->addMenu(QStringLiteral("フォントサイズ"));
    AddAction(font, kMenuFontLarger, QStringLiteral("大型"));
    AddAction(font, kMenuFontSmaller, QStringLiteral("小型"));

    QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    AddAction(help, kMenuAbout, QStringLiteral("Zelo32について(&A)..."));
    AddAction(help, kMenuLibraryVersion, QStringLiteral("DLL バージョン"));

    // The enabling rules are applied before a menu shows, not only on the
    // timer's tick.
    for (QMenu* menu : menuBar()->findChildren<QMenu*>()) {
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateEnabling);
    }
}

void CMainFrame::BuildToolBar() {
    QToolBar* toolbar = addToolBar(QStringLiteral("Toolbar"));
    toolbar->setObjectName(QStringLiteral("Toolbar"));
    toolbar->setMovable(false);
    toolbar->setIconSize(QSize(24, 24));
    for (const core::MenuCommand command : kToolbarCommands) {
        const int id = MenuId(command);
        QAction* action = Action(id);
        action->setIcon(QIcon(QStringLiteral(":/pictures/tool_%1.svg").arg(id)));
        toolbar->addAction(action);
    }
}

void CMainFrame::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    for (const char* indicator : {"CAP", "NUM", "SCRL"}) {
        auto* pane = new QLabel(QLatin1String(indicator), bar);
        pane->setObjectName(QLatin1String(indicator));
        // Qt has no portable way to read the lock keys, so the panes name
        // them without claiming their state.
        pane->setEnabled(false);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addPermanentWidget(pane);
    }
}

void CMainFrame::PlaceOutputWindows() {
    const QScreen* screen =
        this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->availableGeometry();
    const int w = area.width();
    const int h = area.height();
    const int top = area.y() + h - h / 4;
    messageWindow_->setGeometry(area.x() + static_cast<int>(0.3 * w), top,
                                static_cast<int>(0.7 * w), h / 4);
    pollWindow_->setGeometry(area.x(), top, w / 2, h / 4);
}

}  // namespace zelo::desktop

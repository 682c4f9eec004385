#pragma once

#include <QByteArray>
#include <QMainWindow>
#include <QTimer>
#include <atomic>
#include <map>

#include "core/command_menu.hpp"
#include "core/command_table.hpp"
#include "desktop/desktop_front_end.hpp"
#include "desktop/dialog_set.hpp"
#include "desktop/output_window.hpp"
#include "desktop/progress_pictures.hpp"
#include "desktop/progress_view.hpp"
#include "dialogs/qt/title_fit.hpp"
#include "program/program.hpp"

class QAction;
class QLabel;
class QMenu;

namespace zelo::desktop {

// The main window: the menus of the command table, the toolbar, the status
// bar, the progress view in the middle, and the two output windows it owns.
// It turns menu commands into dialogs and worker commands, runs Stop
// without blocking, the 10 ms timer and the closing rules.
//
// Threads: the user interface thread. The worker's lines and progress come
// in through queued signals from the front-end.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    // `stopSignal`, when given, is polled by the timer: non-zero ends the
    // program as an unattended run would (Stop, then close without asking).
    CMainFrame(program::Program& program, DesktopFrontEnd& frontEnd, DialogSet& dialogs,
               const std::atomic<int>* stopSignal = nullptr);
    ~CMainFrame() override;

    // Places the output windows on the screen's work area and starts the
    // 10 ms timer; call once the window is shown.
    void StartTimer();

    // A menu or toolbar command by its id, as if chosen (the enabling rules
    // are the caller's: a disabled item cannot be chosen).
    void RunCommand(int menuId);
    // The action of a menu id, shared by the menu and the toolbar.
    QAction* Action(int menuId) const;
    // Applies the enabling rules to every action now. The timer does it
    // when what they depend on changes: a command starts or ends, the line
    // opens or closes, a Stop begins or ends.
    void UpdateEnabling();

    COutputWindow& MessageWindow() { return *messageWindow_; }
    COutputWindow& PollWindow() { return *pollWindow_; }
    CZelo32View& View() { return *view_; }
    // True once the window has closed and the program's end has run.
    bool HasShutDown() const { return shutDown_; }
    // True while a Stop waits for the worker to end.
    bool Stopping() const { return stopping_; }
    // True while the window, closing, waits for the worker to close the line.
    bool ClosingLine() const { return closingLine_; }

public slots:
    void AppendMessageLine(const QByteArray& line);
    void AppendPollLine(const QByteArray& line);
    void RefreshProgress(bool erase);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void PlaceOutputWindows();
    // A worker command, with its caption and status-bar prompt from the
    // command menu's table.
    QAction* AddCommand(QMenu* menu, core::MenuCommand command);
    QAction* AddAction(QMenu* menu, int menuId, const QString& caption,
                       const QString& prompt = QString());
    QMenu* AddWorkerSubmenu(QMenu* menu, const QString& caption,
                            std::initializer_list<core::MenuCommand> commands);

    void RunWorkerCommand(int menuId);
    bool AskCommandArguments(int commandCode);
    void RunSettingsDialog(int menuId);
    void RunWindowCommand(int menuId);
    void ShowAbout();
    void ShowLibraryVersion();
    void SetFontSize(int size);
    // Shows an output window for its next line.
    void ShowOutputWindow(COutputWindow& window);

    // Stop: asks the worker to end and returns; the timer sees it end.
    void BeginStop();
    void OnTick();
    // The close is approved: closes the line on the worker first when it is
    // open (a modem hangs up, which takes seconds), then ends; true when
    // the window may go now.
    bool CloseLineFirst();
    void FinishClosing();
    // Answers every box and dialog still open as Cancel.
    void CloseOpenBoxes();
    static constexpr int kMaxNestedBoxes = 8;
    // What the enabling rules depend on, to see when it changes.
    int EnablingKey() const;
    core::MenuGroup GroupOf(int menuId) const;

    program::Program& program_;
    DesktopFrontEnd& frontEnd_;
    DialogSet& dialogs_;
    const std::atomic<int>* stopSignal_;
    // Widens dialogs and boxes to their titles while the window lives.
    dialogs::TitleFit titleFit_;
    ProgressPictures pictures_;
    CZelo32View* view_ = nullptr;
    COutputWindow* messageWindow_ = nullptr;
    COutputWindow* pollWindow_ = nullptr;
    std::map<int, QAction*> actions_;
    QTimer timer_;
    int messageWindowShown_ = 0;
    int pollWindowShown_ = 0;
    bool stopping_ = false;
    bool closeAfterStop_ = false;  // the close waits for a Stop to finish
    bool closeApproved_ = false;   // no more questions: the close goes through
    bool shutDown_ = false;
    bool exitCloseSent_ = false;  // the exit timer has asked to close
    bool signalHandled_ = false;  // SIGINT/SIGTERM has asked to close
    bool closingLine_ = false;    // the worker closes the line before the window goes
    int enablingKey_ = -1;
};

}  // namespace zelo::desktop

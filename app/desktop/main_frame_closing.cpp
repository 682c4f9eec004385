// Stop, the 10 ms timer and closing the main window.
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>

#include "desktop/main_frame.hpp"

namespace zelo::desktop {

void CMainFrame::BeginStop() {
    // Returns at once: the stop line comes back through the queue, and the
    // timer sees the worker end (PollStop), so the window keeps painting.
    program_.Controller().BeginStop();
    stopping_ = true;
    view_->update();
}

void CMainFrame::OnTick() {
    // A box or dialog the worker waits on would hold the stop forever: it
    // is answered as Cancel.
    if (signalHandled_) CloseOpenBoxes();
    if (stopping_ && program_.Controller().PollStop()) {
        stopping_ = false;
        view_->update();  // the countdown and the stopped state as they are now
        if (closeAfterStop_) {
            closeAfterStop_ = false;
            closeApproved_ = true;
            close();
            return;
        }
    }
    if (stopSignal_ != nullptr && stopSignal_->load() != 0 && !signalHandled_) {
        // Ctrl-C or SIGTERM: end as an unattended run ends, without asking.
        signalHandled_ = true;
        CloseOpenBoxes();
        if (program_.Worker().WorkerBusy() != 0) {
            closeAfterStop_ = true;
            if (!stopping_) BeginStop();
        } else {
            closeApproved_ = true;
            close();
        }
        return;
    }
    if (closingLine_ && program_.Worker().WorkerBusy() == 0) {
        closingLine_ = false;
        closeApproved_ = true;
        close();
        return;
    }
    if (program_.Controller().OnTimerTick() && !exitCloseSent_) {
        exitCloseSent_ = true;
        close();
        return;
    }
    if (const int key = EnablingKey(); key != enablingKey_) {
        enablingKey_ = key;
        UpdateEnabling();
        view_->update();  // a command that ended may have reloaded the settings
    }
}

int CMainFrame::EnablingKey() const {
    const core::ModelState& state = program_.View().State();
    const auto bit = [](bool on, int place) { return on ? 1 << place : 0; };
    return bit(program_.Worker().WorkerBusy() != 0, 0) | bit(state.status.idle.load() != 0, 1) |
           bit(state.status.connected.load() != 0, 2) |
           bit(state.status.commandLineMode.load() != 0, 3) |
           bit(state.commandLine.abortScript.load() != 0, 4) | bit(stopping_, 5) |
           bit(closingLine_, 6);
}

bool CMainFrame::CloseLineFirst() {
    if (closingLine_) return false;
    if (program_.View().State().status.connected.load() == 0) return true;
    if (!program_.Controller().RunCommand(core::kCloseLine)) return true;
    closingLine_ = true;
    program_.View().State().status.closing = 1;
    statusBar()->showMessage(QStringLiteral("Closing the line..."));
    menuBar()->setEnabled(false);
    for (const auto& [id, action] : actions_) action->setEnabled(false);
    return false;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (shutDown_) {
        event->accept();
        return;
    }
    if (!closeApproved_) {
        const core::ModelState& state = program_.View().State();
        const bool busy = program_.Worker().WorkerBusy() != 0;
        if (state.commandLine.autoExit != 0 && state.status.commandLineMode.load() != 0) {
            // An unattended run closes without a question, once its
            // command has ended.
            if (busy) {
                closeAfterStop_ = true;
                if (!stopping_) BeginStop();
                event->ignore();
                return;
            }
        } else if (busy) {
            if (QMessageBox::question(this, QStringLiteral("Zelo32"),
                                      QStringLiteral("Do you want to stop communication?"),
                                      QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
                event->ignore();
                return;
            }
            program_.View().State().status.closing = 1;
            closeAfterStop_ = true;
            if (!stopping_) BeginStop();
            event->ignore();
            return;
        } else if (QMessageBox::question(this, QStringLiteral("Zelo32"),
                                         QStringLiteral("Exit Program?"),
                                         QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
            exitCloseSent_ = false;
            event->ignore();
            return;
        }
    }
    closeApproved_ = true;  // no question again while the line closes
    if (!CloseLineFirst()) {
        event->ignore();
        return;
    }
    FinishClosing();
    event->accept();
}

// The worker may have given up its wait for a box (Stop, a signal) while
// the box still shows. A box's own event loop runs this window's timer; if
// the window closed and left the box open, nothing would ever end that
// loop, and the program would hang with the box on the screen.
void CMainFrame::CloseOpenBoxes() {
    for (int i = 0; i < kMaxNestedBoxes; ++i) {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) return;
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();  // ends its loop even where a close is refused
        } else {
            modal->close();
        }
    }
}

void CMainFrame::FinishClosing() {
    CloseOpenBoxes();
    timer_.stop();
    program_.View().State().status.closing = 1;
    program_.ShutDown();
    shutDown_ = true;
    messageWindow_->hide();
    pollWindow_->hide();
}

}  // namespace zelo::desktop

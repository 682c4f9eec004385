// Stop, the 10 ms timer and closing the main window.
#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>

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
    if (signalHandled_) {
        // A box or dialog the worker waits on would hold the stop forever:
        // it is answered as Cancel.
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    }
    if (stopping_ && program_.Controller().PollStop()) {
        stopping_ = false;
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
        if (program_.Worker().WorkerBusy() != 0) {
            closeAfterStop_ = true;
            if (!stopping_) BeginStop();
        } else {
            closeApproved_ = true;
            close();
        }
        return;
    }
    if (program_.Controller().OnTimerTick() && !exitCloseSent_) {
        exitCloseSent_ = true;
        close();
        return;
    }
    UpdateEnabling();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (shutDown_) {
        event->accept();
        return;
    }
    if (!closeApproved_) {
        const core::ViewState& state = program_.View().State();
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
    FinishClosing();
    event->accept();
}

void CMainFrame::FinishClosing() {
    timer_.stop();
    program_.View().State().status.closing = 1;
    program_.ShutDown();
    shutDown_ = true;
    messageWindow_->hide();
    pollWindow_->hide();
}

}  // namespace zelo::desktop

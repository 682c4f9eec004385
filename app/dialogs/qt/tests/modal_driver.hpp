#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

namespace zelo::dialogs::testing {

// Acts on the next modal window that opens (a dialog the code under test
// runs with exec(), or a message box it shows), from the event loop that
// window runs. Steps run in order, each on a window that was not the
// active one when the step before it ran. A step that finds no new window
// within twenty seconds is dropped and the window left open is rejected, so
// a test fails on its checks instead of hanging.
class ModalDriver {
public:
    using Step = std::function<void(QWidget*)>;

    void Then(Step step) {
        steps_.push_back(std::move(step));
        if (steps_.size() == 1) Arm(nullptr);
    }

    // The texts of the message boxes the steps closed.
    QStringList messages;

    // A step that records a message box's text and presses its OK.
    Step CloseMessage() {
        return [this](QWidget* window) {
            if (auto* box = qobject_cast<QMessageBox*>(window)) {
                messages << box->text();
                box->accept();
            } else {
                messages << "(not a message box: " + window->windowTitle() + ")";
            }
        };
    }

private:
    void Arm(QWidget* previous) {
        timers_.push_back(std::make_unique<QTimer>());
        QTimer* timer = timers_.back().get();
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, [this, timer, waited = 0, previous]() mutable {
            QWidget* window = QApplication::activeModalWidget();
            if ((window == nullptr || window == previous) && ++waited < kPatienceTicks) return;
            timer->stop();
            Step step = steps_.front();
            steps_.erase(steps_.begin());
            if (!steps_.empty()) Arm(window);
            if (window != nullptr && window != previous) {
                step(window);
            } else {
                messages << "(no new window for a step)";
                if (auto* dialog = qobject_cast<QDialog*>(window)) dialog->reject();
            }
        });
        timer->start();
    }

    static constexpr int kPatienceTicks = 2000;  // of 10 ms

    std::vector<Step> steps_;
    std::vector<std::unique_ptr<QTimer>> timers_;
};

inline void Press(QWidget* window, const char* buttonName) {
    if (auto* button = window->findChild<QPushButton*>(buttonName)) button->click();
}

}  // namespace zelo::dialogs::testing

// Driving the program's modal windows from a Qt test: the one way the
// dialog and desktop tests answer a dialog run with exec() or a message box,
// from the event loop that window runs. The helpers that name a widget fail
// the running test when the window has no such widget, so a renamed or
// missing field cannot pass unnoticed.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <functional>
#include <memory>
#include <vector>

namespace zelo::qt_testing {

// Fails the running test (the widget helpers' way of saying what is wrong).
inline void Fail(const QString& what) {
    QTest::qFail(what.toUtf8().constData(), __FILE__, __LINE__);
}

// The widget called `name` in `window`; where there is none of that type, a
// failure of the running test and nullptr.
template <typename T>
T* Child(QWidget* window, const char* name) {
    T* child = window != nullptr ? window->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    if (child == nullptr) {
        Fail(QStringLiteral("no widget '%1' of that type in the window '%2'")
                 .arg(QLatin1String(name), window != nullptr ? window->windowTitle() : QString()));
    }
    return child;
}

// Clicks the button, as the user would.
inline void Press(QWidget* window, const char* name) {
    if (auto* button = Child<QAbstractButton>(window, name)) button->click();
}
// Checks the radio button or check box (a click where it is not checked).
inline void Check(QWidget* window, const char* name) {
    auto* button = Child<QAbstractButton>(window, name);
    if (button != nullptr && !button->isChecked()) button->click();
}
// Replaces the text of the line edit.
inline void Type(QWidget* window, const char* name, const QString& text) {
    if (auto* edit = Child<QLineEdit>(window, name)) edit->setText(text);
}
inline void DoubleClick(QWidget* window, const char* listName, int row) {
    QListWidget* list = Child<QListWidget>(window, listName);
    if (list == nullptr) return;
    if (list->item(row) == nullptr) return Fail(QStringLiteral("no row %1 in the list").arg(row));
    emit list->itemDoubleClicked(list->item(row));
}
inline QStringList Entries(QWidget* window, const char* listName) {
    QStringList entries;
    if (QListWidget* list = Child<QListWidget>(window, listName)) {
        for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
    }
    return entries;
}

// Acts on the next modal window that opens (a dialog the code under test
// runs with exec(), or a message box it shows), from the event loop that
// window runs. Steps run in order, each on a window that was not the
// active one when the step before it ran. A step that finds no new window
// within twenty seconds is dropped and the window left open is rejected, as
// is a window a failed step left open, so a test fails on its checks
// instead of hanging.
class ModalDriver {
public:
    using Step = std::function<void(QWidget*)>;

    void Then(Step step) {
        steps_.push_back(std::move(step));
        if (steps_.size() == 1) Arm(nullptr);
    }

    // The common case, one dialog: runs `act` on it, then presses OK, or
    // Cancel. A dialog still open after that refused the button; it is
    // rejected, so that the test never hangs, and counted in stayedOpen.
    void Answer(std::function<void(QDialog&)> act) { Then(AnswerStep(std::move(act), "ok")); }
    void Cancel(std::function<void(QDialog&)> act) { Then(AnswerStep(std::move(act), "cancel")); }

    // The texts of the message boxes the steps closed.
    QStringList messages;
    // The titles of the windows the steps acted on, in order.
    QStringList titles;
    // How many dialogs refused the button Answer or Cancel pressed.
    int stayedOpen = 0;

    QString LastTitle() const { return titles.isEmpty() ? QString() : titles.last(); }

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
    Step AnswerStep(std::function<void(QDialog&)> act, const char* button) {
        return [this, act = std::move(act), button](QWidget* window) {
            QPointer<QDialog> dialog = qobject_cast<QDialog*>(window);
            if (dialog == nullptr) return Fail(QStringLiteral("the modal window is not a dialog"));
            if (act) act(*dialog);
            if (dialog == nullptr) return;
            Press(dialog, button);
            if (dialog != nullptr && dialog->isVisible()) {
                ++stayedOpen;
                dialog->reject();
            }
        };
    }

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
                QPointer<QWidget> acted = window;
                titles << window->windowTitle();
                step(window);
                // A check that failed inside the step may have left the
                // window open: close it so the test ends instead of hanging.
                if (QTest::currentTestFailed() && acted != nullptr && acted->isVisible()) {
                    if (auto* dialog = qobject_cast<QDialog*>(acted.data())) dialog->reject();
                }
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

// Answers every message box with `button` while it lives (a box without
// that button fails the test and is rejected); counts the boxes it answered
// and keeps the last text.
class BoxAnswerer {
public:
    explicit BoxAnswerer(QMessageBox::StandardButton button) : button_(button) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            lastText = box->text();
            ++answered;
            if (QAbstractButton* answer = box->button(button_)) {
                answer->click();
            } else {
                Fail(QStringLiteral("the message box has not the button to answer"));
                box->reject();
            }
        });
        timer_.start(5);
    }
    int answered = 0;
    QString lastText;

private:
    QMessageBox::StandardButton button_;
    QTimer timer_;
};

}  // namespace zelo::qt_testing

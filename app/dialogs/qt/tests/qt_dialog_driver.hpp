#pragma once

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTimer>
#include <functional>

#include "dialogs/qt/dialog_kit.hpp"

namespace zelo::dialogs::testing {

// Answers the boxes and the open-file dialog for the user, and records what
// they showed.
class ScriptedServices {
public:
    ScriptedServices() {
        saved_ = Services();
        Services().showMessage = [this](QWidget*, const QString& text) { messages << text; };
        Services().askYesNo = [this](QWidget*, const QString& text) {
            questions << text;
            return answerYes;
        };
        Services().chooseFile = [this](QWidget*, const QString& initialName) {
            initialNames << initialName;
            return files.isEmpty() ? QString() : files.takeFirst();
        };
    }
    ~ScriptedServices() { Services() = saved_; }

    QStringList messages;
    QStringList questions;
    QStringList initialNames;
    QStringList files;  // what the open-file dialog returns, one per browse
    bool answerYes = true;

private:
    DialogServices saved_;
};

// Runs `act` on the modal dialog once it is open, then presses OK (or
// Cancel). A dialog that refuses OK is cancelled afterwards so that the test
// never hangs; `stayedOpen` says whether that happened.
struct DialogScript {
    explicit DialogScript(std::function<void(QDialog&)> actOnDialog, bool ok = true)
        : act(std::move(actOnDialog)), pressOk(ok) {}

    std::function<void(QDialog&)> act;
    bool pressOk = true;
    bool stayedOpen = false;
    QString title;

    // Waits (up to 30 s) for a modal dialog to open, then acts on it.
    void Arm(int triesLeft = 3000) {
        QTimer::singleShot(triesLeft == 3000 ? 0 : 10, [this, triesLeft] {
            QPointer<QDialog> dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                if (triesLeft > 0) Arm(triesLeft - 1);
                return;
            }
            title = dialog->windowTitle();
            if (act) act(*dialog);
            QPushButton* button = dialog->findChild<QPushButton*>(
                pressOk ? QStringLiteral("ok") : QStringLiteral("cancel"));
            if (button != nullptr) button->click();
            if (dialog != nullptr && dialog->isVisible()) {
                stayedOpen = true;
                dialog->reject();
            }
        });
    }
};

template <typename T>
T* Child(QDialog& dialog, const char* name) {
    return dialog.findChild<T*>(QString::fromLatin1(name));
}

inline void SetText(QDialog& dialog, const char* name, const QString& text) {
    Child<QLineEdit>(dialog, name)->setText(text);
}

inline void Check(QDialog& dialog, const char* name) {
    Child<QAbstractButton>(dialog, name)->setChecked(true);
}

inline void DoubleClick(QDialog& dialog, const char* listName, int row) {
    QListWidget* list = Child<QListWidget>(dialog, listName);
    emit list->itemDoubleClicked(list->item(row));
}

inline QStringList Entries(QDialog& dialog, const char* listName) {
    QStringList entries;
    QListWidget* list = Child<QListWidget>(dialog, listName);
    for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
    return entries;
}

}  // namespace zelo::dialogs::testing

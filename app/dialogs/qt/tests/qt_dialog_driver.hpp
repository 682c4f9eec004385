#pragma once

#include <QStringList>

#include "dialogs/qt/dialog_kit.hpp"
#include "modal_driver.hpp"

namespace zelo::dialogs::testing {

using namespace zelo::qt_testing;

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

}  // namespace zelo::dialogs::testing

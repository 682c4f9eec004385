#pragma once

#include <QObject>

class QWidget;

namespace zelo::dialogs {

// The width a window needs for its whole title: the text, and room for the
// icon and the title bar's buttons.
int TitleWidth(const QWidget& window);

// Installed on the application, widens every dialog and message box as it
// shows so that its title is not cut ("ターミナ… プ選択"): the window
// manager sizes the title bar to the window, not to its title.
class TitleFit : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace zelo::dialogs

#pragma once

#include <QString>
#include <QWidget>
#include <string_view>

class QListWidget;

namespace zelo::desktop {

// A free-floating window of text lines that belongs to the main window: the
// Message Window and the Polling Data Window. It cannot be closed, only
// hidden from the window menu; a click in it brings the main window forward.
//
// Threads: the user interface thread only; the worker's lines arrive through
// queued signals.
class COutputWindow : public QWidget {
    Q_OBJECT

public:
    COutputWindow(const QString& title, QWidget* owner);

    // Adds the lines of `text` (see SplitOutputText), dropping the oldest
    // ones first when the window already holds more than kMaxOutputLines,
    // and scrolls so that the newest line shows.
    void AppendText(std::string_view text);
    // Deletes the n oldest lines; -1 (or more than there are) deletes all.
    void ClearLines(int n);
    // A monospace face of this pixel height.
    void SetFontSize(int size);

    int LineCount() const;
    QString Line(int index) const;
    QListWidget* List() const { return list_; }

signals:
    // The left button was released in the window.
    void Clicked();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* list_;
};

}  // namespace zelo::desktop

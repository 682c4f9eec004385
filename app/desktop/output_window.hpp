#pragma once

#include <QString>
#include <QWidget>
#include <string_view>

class QPlainTextEdit;

namespace zelo::desktop {

// A free-floating window of text lines that belongs to the main window: the
// Message Window and the Polling Data Window. It has no close button and is
// never closed, only hidden (a close from the window manager hides it as the
// window menu does); it never takes the
// keyboard focus from the main window when it shows; a click in it brings
// the main window forward.
//
// The lines live in a plain-text document with a block limit: a day of
// polling adds tens of thousands of lines, and the window keeps the newest
// kMaxOutputLines of them at a bounded cost per line.
//
// Threads: the user interface thread only; the worker's lines arrive through
// queued signals.
class COutputWindow : public QWidget {
    Q_OBJECT

public:
    COutputWindow(const QString& title, QWidget* owner);

    // Adds the lines of `text` (see SplitOutputText), dropping the oldest
    // beyond kMaxOutputLines, and scrolls so that the newest line shows.
    void AppendText(std::string_view text);
    // Deletes the n oldest lines; -1 (or more than there are) deletes all.
    void ClearLines(int n);
    // A monospace face of this pixel height.
    void SetFontSize(int size);

    int LineCount() const;
    QString Line(int index) const;
    QPlainTextEdit* Text() const { return text_; }

signals:
    // The left button was released in the window.
    void Clicked();
    // The window manager asked to close it, and it hid instead.
    void HiddenByUser();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* text_;
    // The document always holds one block; it is the first line only once
    // a line was added.
    bool empty_ = true;
};

}  // namespace zelo::desktop

#include "desktop/output_window.hpp"

#include <QCloseEvent>
#include <QFont>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

#include "desktop/output_text.hpp"
#include "dialogs/qt/display_text.hpp"

namespace zelo::desktop {

COutputWindow::COutputWindow(const QString& title, QWidget* owner)
    // A window of its own that stays with the main window, with a title and
    // the minimise and maximise buttons but no close button (X11 window
    // managers leave it out, Windows greys it).
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint),
      text_(new QPlainTextEdit(this)) {
    setWindowTitle(title);
    setObjectName(title);
    // Shown by the first line that arrives, while the operator works in the
    // main window: the keyboard stays there.
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text_);
    text_->setReadOnly(true);
    text_->setUndoRedoEnabled(false);  // an undo history would grow with every line
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setMaximumBlockCount(kMaxOutputLines);
    text_->setFocusPolicy(Qt::ClickFocus);
    text_->viewport()->installEventFilter(this);
}

void COutputWindow::AppendText(std::string_view text) {
    const std::vector<std::string> lines = SplitOutputText(text);
    if (lines.empty()) return;
    QTextCursor cursor(text_->document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    for (const std::string& line : lines) {
        if (!empty_) cursor.insertBlock();
        empty_ = false;
        cursor.insertText(dialogs::DisplayText(line));
    }
    cursor.endEditBlock();
    QScrollBar* bar = text_->verticalScrollBar();
    bar->setValue(bar->maximum());
}

void COutputWindow::ClearLines(int n) {
    if (n < 0 || n >= LineCount()) {
        text_->clear();
        empty_ = true;
        return;
    }
    QTextCursor cursor(text_->document());
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, n);
    cursor.removeSelectedText();
}

void COutputWindow::SetFontSize(int size) {
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(size > 0 ? size : 1);
    text_->setFont(font);
}

int COutputWindow::LineCount() const { return empty_ ? 0 : text_->document()->blockCount(); }

QString COutputWindow::Line(int index) const {
    if (index < 0 || index >= LineCount()) return {};
    return text_->document()->findBlockByNumber(index).text();
}

void COutputWindow::closeEvent(QCloseEvent* event) {
    // A window manager that shows a close button anyway, or Alt+F4: the
    // window hides as the window menu hides it, and is never destroyed.
    event->ignore();
    hide();
    emit HiddenByUser();
}

bool COutputWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) emit Clicked();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace zelo::desktop

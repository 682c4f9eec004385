#include "desktop/output_window.hpp"

#include <QCloseEvent>
#include <QFont>
#include <QListWidget>
#include <QVBoxLayout>

#include "desktop/output_text.hpp"

namespace zelo::desktop {

COutputWindow::COutputWindow(const QString& title, QWidget* owner)
    // A window of its own that stays with the main window, without a close
    // button: only the window menu hides it.
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint),
      list_(new QListWidget(this)) {
    setWindowTitle(title);
    setObjectName(title);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list_->setUniformItemSizes(true);
    list_->viewport()->installEventFilter(this);
}

void COutputWindow::AppendText(std::string_view text) {
    if (list_->count() > kMaxOutputLines) {
        for (int i = 0; i < kLinesDroppedAtCap; ++i) delete list_->takeItem(0);
    }
    for (const std::string& line : SplitOutputText(text)) {
        list_->addItem(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
    }
    list_->scrollToBottom();
    list_->viewport()->update();
}

void COutputWindow::ClearLines(int n) {
    list_->setUpdatesEnabled(false);
    if (n < 0 || n >= list_->count()) {
        list_->clear();
    } else {
        for (int i = 0; i < n; ++i) delete list_->takeItem(0);
    }
    list_->setUpdatesEnabled(true);
    list_->viewport()->update();
}

void COutputWindow::SetFontSize(int size) {
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(size > 0 ? size : 1);
    list_->setFont(font);
}

int COutputWindow::LineCount() const { return list_->count(); }

QString COutputWindow::Line(int index) const {
    const QListWidgetItem* item = list_->item(index);
    return item != nullptr ? item->text() : QString();
}

void COutputWindow::closeEvent(QCloseEvent* event) {
    // The window manager's close (Alt+F4 and the like) is refused: the
    // window only hides from the window menu.
    event->ignore();
}

bool COutputWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) emit Clicked();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace zelo::desktop

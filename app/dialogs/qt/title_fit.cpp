#include "dialogs/qt/title_fit.hpp"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>

namespace zelo::dialogs {

int TitleWidth(const QWidget& window) {
    // Title bars often use a larger or bold face than the window's: a fifth
    // more, and about eight line heights for the icon and three buttons.
    const QFontMetrics metrics(QApplication::font());
    return metrics.horizontalAdvance(window.windowTitle()) * 6 / 5 + 8 * metrics.height();
}

bool TitleFit::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show) return false;
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (dialog == nullptr || dialog->windowTitle().isEmpty()) return false;
    const int width = TitleWidth(*dialog);
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        // A message box fixes its own size from its layout when it shows
        // (after this filter): a spacer as wide as the title widens it.
        auto* grid = qobject_cast<QGridLayout*>(box->layout());
        if (grid != nullptr && !box->property("zeloTitleFit").toBool()) {
            box->setProperty("zeloTitleFit", true);
            grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                          grid->rowCount(), 0, 1, grid->columnCount());
        }
    } else if (dialog->minimumWidth() < width) {
        dialog->setMinimumWidth(width);
    }
    return false;
}

}  // namespace zelo::dialogs

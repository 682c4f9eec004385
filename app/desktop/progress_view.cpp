#include "desktop/progress_view.hpp"

#include <QDateTime>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <string>

#include "desktop/menu_ids.hpp"
#include "dialogs/qt/display_text.hpp"
#include "link/progress_state.hpp"

namespace zelo::desktop {
namespace {

// The display's geometry: pictures step 70 pixels to the right of the host.
constexpr int kPictureStep = 70;
constexpr int kFirstPictureX = 150;
constexpr int kPictureTop = 28;
constexpr int kPictureBottom = 88;
constexpr int kPictureWidth = 48;  // a click within this width of a step hits the picture
constexpr int kLineY = 110;

// The connecting lines: black, 2 pixels, dash-dot-dot, ending where they are
// told to rather than a pixel beyond, onto a picture.
QPen LinePen() {
    QPen pen(Qt::black, 2, Qt::DashDotDotLine);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

}  // namespace

CZelo32View::CZelo32View(core::ViewState& state, const ProgressPictures& pictures, Hooks hooks,
                         QWidget* parent)
    : QWidget(parent), state_(state), pictures_(pictures), hooks_(std::move(hooks)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(100, 100);
    ClearCanvas();
}

void CZelo32View::RefreshProgress(int erase) {
    if (erase != 0) ClearCanvas();
    update();
}

const QImage& CZelo32View::DrawNow() {
    QPainter painter(&canvas_);
    Draw(painter);
    return canvas_;
}

void CZelo32View::ClearCanvas() {
    const QSize size = this->size().expandedTo(QSize(100, 100));
    canvas_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    canvas_.fill(Qt::white);
}

void CZelo32View::paintEvent(QPaintEvent*) {
    DrawNow();
    QPainter painter(this);
    painter.drawImage(0, 0, canvas_);
}

void CZelo32View::resizeEvent(QResizeEvent*) { ClearCanvas(); }

void CZelo32View::DrawText(QPainter& painter, int x, int y, const QString& text,
                           const QColor& colour) {
    // The text's cell is filled first, so that its trailing blanks cover
    // what an earlier, longer text left there.
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect cell(x, y, metrics.horizontalAdvance(text), metrics.height());
    painter.fillRect(cell, Qt::white);
    painter.setPen(colour);
    painter.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}

void CZelo32View::Draw(QPainter& painter) {
    painter.setFont(font());
    const link::ProgressState& progress = state_.progress;
    const QString now = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    const int mode = progress.mode.load();
    if (mode != link::kProgressPerAddress && mode != link::kProgressTransfer &&
        mode != link::kProgressPolling) {
        return;
    }
    const QColor text = palette().color(QPalette::Text);
    if (mode == link::kProgressPolling && state_.poll.pollingPeriod == 1) {
        DrawText(painter, 120, 1,
                 QString::asprintf("Polling from %8s to %8s Current: %8s     ",
                                   state_.poll.startTime.c_str(), state_.poll.stopTime.c_str(),
                                   now.toLatin1().constData()),
                 text);
    }
    painter.drawImage(10, 10, pictures_.Host());

    // One copy for the whole drawing, so that every address drawn exists.
    const std::string addresses = state_.comm.addresses;
    const int addressCount = static_cast<int>(std::min(addresses.size(), link::kAddressSlots));
    painter.setPen(LinePen());
    painter.drawLine(57, 104, 57, kLineY);
    painter.drawLine(57, kLineY, addressCount * kPictureStep + 104, kLineY);

    const int phase = progress.phase.load();
    if (phase >= 1 && phase <= 9) {
        DrawBusy(painter, addresses, addressCount, mode, phase);
    } else {
        DrawAtRest(painter, addresses, addressCount, mode, phase);
    }
}

void CZelo32View::DrawAtRest(QPainter& painter, const std::string& addresses, int addressCount,
                             int mode, int phase) {
    const link::ProgressState& progress = state_.progress;
    const QColor text = palette().color(QPalette::Text);
    const QColor inactive = palette().color(QPalette::Disabled, QPalette::WindowText);
    for (int i = 0; i < addressCount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        const int x = 168 + kPictureStep * i;
        painter.drawImage(x - 18, kPictureTop,
                          pictures_.ForStatus(progress.typeFound[slot].load(),
                                              progress.addressStatus[slot].load()));
        painter.setPen(LinePen());
        painter.drawLine(x + 6, kPictureBottom, x + 6, kLineY);
        const bool selected = progress.addressSelected[slot].load() != 0;
        painter.drawImage(x, 90, pictures_.CheckMark(selected));
        DrawText(painter, x, 115, QString(QLatin1Char(addresses[slot])),
                 selected ? text : inactive);
        if (mode == link::kProgressPolling) {
            DrawText(painter, x - 18, 140,
                     dialogs::DisplayText(state_.pollContext.lastRecordTimes[slot].Get()), text);
        }
    }
    if (phase == 0 && !hooks_.stopRequested() && progress.countdown.load() > 0) {
        DrawText(painter, 120, 150, QStringLiteral("Next Upload"), text);
        DrawText(painter, 120, 170, QString::asprintf("%4d second  ", progress.countdown.load()),
                 text);
    }
}

void CZelo32View::DrawBusy(QPainter& painter, const std::string& addresses, int addressCount,
                           int mode, int phase) {
    link::ProgressState& progress = state_.progress;
    const QColor text = palette().color(QPalette::Text);
    const QColor inactive = palette().color(QPalette::Disabled, QPalette::WindowText);
    for (int i = 0; i < addressCount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        const int x = 174 + kPictureStep * i;
        painter.setPen(LinePen());
        painter.drawLine(x, kPictureBottom, x, kLineY);
        const bool selected = progress.addressSelected[slot].load() != 0;
        DrawText(painter, x - 6, 115, QString(QLatin1Char(addresses[slot])),
                 selected ? text : inactive);
        if (mode == link::kProgressPolling) {
            DrawText(painter, x - 24, 140,
                     dialogs::DisplayText(state_.pollContext.lastRecordTimes[slot].Get()), text);
        }
    }
    const int current = progress.currentAddress.load();
    if (current >= 0 && current < static_cast<int>(link::kAddressSlots)) {
        painter.drawImage(current * kPictureStep + kFirstPictureX, kPictureTop,
                          pictures_.BusyFrame(
                              progress.typeFound[static_cast<std::size_t>(current)].load(), phase));
    }
    // The next repaint without new progress shows the full pictures again.
    progress.phase = 0;

    const int bytes = progress.bytes.load();
    if (bytes == 0) return;
    DrawText(painter, 10, 140, QStringLiteral("File Name"), text);
    DrawText(painter, 10, 160, QStringLiteral("Packet"), text);
    DrawText(painter, 10, 180, QStringLiteral("Bytes"), text);
    const std::string fileName = progress.fileName.Get();
    if (mode == link::kProgressPerAddress) {
        const std::string saveAs = progress.saveAsName.Get();
        DrawText(painter, 100, 140,
                 QStringLiteral(":  %1   /  Save AS : %2                    ")
                     .arg(dialogs::DisplayText(fileName), dialogs::DisplayText(saveAs)),
                 text);
    } else {
        DrawText(painter, 100, 140,
                 QStringLiteral(":  %1                    ").arg(dialogs::DisplayText(fileName)),
                 text);
    }
    DrawText(painter, 100, 160, QString::asprintf(":  %d             ", progress.packets.load()),
             text);
    DrawText(painter, 100, 180, QString::asprintf(":  %d             ", bytes), text);
    const int total = progress.total.load();
    if (mode == link::kProgressTransfer && total != 0) {
        const long long percent = static_cast<long long>(bytes) * 100 / total;
        DrawText(painter, 10, 200, QStringLiteral("Percents"), text);
        DrawText(painter, 100, 200, QString::asprintf(":  %lld  %c           ", percent, '%'),
                 text);
    }
}

int CZelo32View::TerminalAt(int x, int y) const {
    if (y < kPictureTop || y > kPictureBottom || x <= kFirstPictureX) return -1;
    if ((x - kFirstPictureX) % kPictureStep >= kPictureWidth) return -1;
    const int index = (x - kFirstPictureX) / kPictureStep;
    const auto count = std::min(state_.comm.addresses.size(), link::kAddressSlots);
    return index < static_cast<int>(count) ? index : -1;
}

void CZelo32View::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const int x = at.x();
    const int y = at.y();
    link::ProgressState& progress = state_.progress;
    if (event->button() == Qt::LeftButton) {
        if (x > 85 && x < 100 && y > 70 && y < 80) {
            // Idle alone is not enough: it is still 1 while a command opens
            // the line, and a second command then would be refused anyway.
            emit CommandRequested(hooks_.readyForCommand() ? kMenuPoll : kMenuStop);
        } else if (const int index = TerminalAt(x, y); index >= 0) {
            auto& selected = progress.addressSelected[static_cast<std::size_t>(index)];
            selected = selected.load() != 0 ? 0 : 1;
        }
    } else if (event->button() == Qt::RightButton) {
        if (const int index = TerminalAt(x, y); index >= 0) {
            auto& type = progress.typeFound[static_cast<std::size_t>(index)];
            type = (type.load() + 1) % 5;
        }
    }
    update();
}

}  // namespace zelo::desktop

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

bool IsProgressMode(int mode) {
    return mode == link::kProgressPerAddress || mode == link::kProgressTransfer ||
           mode == link::kProgressPolling;
}

}  // namespace

struct CZelo32View::Frame {
    core::DisplaySettings settings;
    int addressCount = 0;
    int mode = 0;
    bool busy = false;  // a busy frame replaces the picture of the terminal in hand
    bool countdown = false;
    QColor text;
    QColor inactive;
};

CZelo32View::CZelo32View(core::ModelState& state, ProgressPictures& pictures, Hooks hooks,
                         QWidget* parent)
    : QWidget(parent), state_(state), pictures_(pictures), hooks_(std::move(hooks)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(100, 100);
}

void CZelo32View::RefreshProgress(bool) {
    busyFrameDue_ = true;
    update();
}

QImage CZelo32View::DrawNow(qreal devicePixelRatio) {
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : devicePixelRatioF();
    const QSize size = this->size().expandedTo(QSize(100, 100));
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    Draw(painter);
    return image;
}

void CZelo32View::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Draw(painter);
}

void CZelo32View::DrawText(QPainter& painter, int x, int y, const QString& text,
                           const QColor& colour) {
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect cell(x, y, metrics.horizontalAdvance(text), metrics.height());
    painter.setPen(colour);
    painter.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}

void CZelo32View::Draw(QPainter& painter) {
    pictures_.RenderAt(painter.device()->devicePixelRatioF());
    painter.fillRect(QRect(QPoint(0, 0), size().expandedTo(QSize(100, 100))), Qt::white);
    painter.setFont(font());
    const link::ProgressState& progress = state_.progress;
    // A busy frame is due once per progress update, whatever this paint shows.
    const bool busyDue = std::exchange(busyFrameDue_, false);

    Frame frame;
    frame.mode = progress.mode.load();
    if (!IsProgressMode(frame.mode)) return;
    frame.settings = state_.display.Get();
    frame.addressCount =
        static_cast<int>(std::min(frame.settings.addresses.size(), link::kAddressSlots));
    const int phase = progress.phase.load();
    frame.busy = busyDue && phase >= 1 && phase <= 9;
    frame.countdown = !frame.busy && !hooks_.stopRequested() && progress.countdown.load() > 0;
    frame.text = palette().color(QPalette::Text);
    frame.inactive = palette().color(QPalette::Disabled, QPalette::WindowText);

    if (frame.mode == link::kProgressPolling && frame.settings.pollingPeriod == 1) {
        const QString now = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
        DrawText(painter, 120, 1,
                 QStringLiteral("Polling from %1 to %2 Current: %3")
                     .arg(dialogs::DisplayText(frame.settings.pollStartTime), 8)
                     .arg(dialogs::DisplayText(frame.settings.pollStopTime), 8)
                     .arg(now, 8),
                 frame.text);
    }
    painter.drawImage(10, 10, pictures_.Host());
    painter.setPen(LinePen());
    painter.drawLine(57, 104, 57, kLineY);
    painter.drawLine(57, kLineY, frame.addressCount * kPictureStep + 104, kLineY);
    DrawTerminals(painter, frame);

    if (frame.countdown) {
        DrawText(painter, 120, 150, QStringLiteral("Next Upload"), frame.text);
        DrawText(painter, 120, 170, QString::asprintf("%4d second", progress.countdown.load()),
                 frame.text);
    } else if (frame.mode != link::kProgressPolling) {
        DrawTransfer(painter, frame);
    }
}

void CZelo32View::DrawTerminals(QPainter& painter, const Frame& frame) {
    const link::ProgressState& progress = state_.progress;
    for (int i = 0; i < frame.addressCount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        const int x = 168 + kPictureStep * i;
        const int type = progress.typeFound[slot].load();
        const bool inHand = frame.busy && progress.currentAddress.load() == i;
        painter.drawImage(x - 18, kPictureTop,
                          inHand ? pictures_.BusyFrame(type, progress.phase.load())
                                 : pictures_.ForStatus(type, progress.addressStatus[slot].load()));
        painter.setPen(LinePen());
        painter.drawLine(x + 6, kPictureBottom, x + 6, kLineY);
        const bool selected = progress.addressSelected[slot].load() != 0;
        painter.drawImage(x, 90, pictures_.CheckMark(selected));
        DrawText(painter, x, 115, QString(QLatin1Char(frame.settings.addresses[slot])),
                 selected ? frame.text : frame.inactive);
        if (frame.mode == link::kProgressPolling) {
            DrawText(painter, x - 18, 140,
                     dialogs::DisplayText(state_.pollContext.lastRecordTimes[slot].Get()),
                     frame.text);
        }
    }
}

void CZelo32View::DrawTransfer(QPainter& painter, const Frame& frame) {
    const link::ProgressState& progress = state_.progress;
    const int bytes = progress.bytes.load();
    if (bytes == 0) return;
    DrawText(painter, 10, 140, QStringLiteral("File Name"), frame.text);
    DrawText(painter, 10, 160, QStringLiteral("Packet"), frame.text);
    DrawText(painter, 10, 180, QStringLiteral("Bytes"), frame.text);
    const QString fileName = dialogs::DisplayText(progress.fileName.Get());
    if (frame.mode == link::kProgressPerAddress) {
        DrawText(painter, 100, 140,
                 QStringLiteral(":  %1   /  Save AS : %2")
                     .arg(fileName, dialogs::DisplayText(progress.saveAsName.Get())),
                 frame.text);
    } else {
        DrawText(painter, 100, 140, QStringLiteral(":  %1").arg(fileName), frame.text);
    }
    DrawText(painter, 100, 160, QString::asprintf(":  %d", progress.packets.load()), frame.text);
    DrawText(painter, 100, 180, QString::asprintf(":  %d", bytes), frame.text);
    const int total = progress.total.load();
    if (frame.mode == link::kProgressTransfer && total != 0) {
        const long long percent = static_cast<long long>(bytes) * 100 / total;
        DrawText(painter, 10, 200, QStringLiteral("Percents"), frame.text);
        DrawText(painter, 100, 200, QString::asprintf(":  %lld  %%", percent), frame.text);
    }
}

int CZelo32View::TerminalAt(int x, int y) const {
    if (y < kPictureTop || y > kPictureBottom || x <= kFirstPictureX) return -1;
    if ((x - kFirstPictureX) % kPictureStep >= kPictureWidth) return -1;
    const int index = (x - kFirstPictureX) / kPictureStep;
    const auto count = std::min(state_.display.Get().addresses.size(), link::kAddressSlots);
    return index < static_cast<int>(count) ? index : -1;
}

void CZelo32View::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const int x = at.x();
    const int y = at.y();
    link::ProgressState& progress = state_.progress;
    if (event->button() == Qt::LeftButton) {
        if (x > kHostSpot.left() && x < kHostSpot.right() && y > kHostSpot.top() &&
            y < kHostSpot.bottom()) {
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

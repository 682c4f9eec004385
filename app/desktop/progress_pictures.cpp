#include "desktop/progress_pictures.hpp"

#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include "link/progress_state.hpp"

// The resources live in a static library: the program and the tests make
// sure they are registered before the first picture is drawn.
static void RegisterPictureResources() { Q_INIT_RESOURCE(pictures); }

namespace zelo::desktop {
namespace {

// Pictures are opaque on the view's white, so that one drawn over another
// (a busy frame over a status picture) leaves nothing of the first.
QImage Render(const QString& name, int width, int height, qreal ratio) {
    QImage image(QSize(width, height) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QSvgRenderer renderer(QStringLiteral(":/pictures/%1.svg").arg(name));
    QPainter painter(&image);
    // In logical pixels: the ratio alone makes the image sharper.
    renderer.render(&painter, QRectF(0, 0, width, height));
    return image;
}

constexpr std::array<const char*, kTerminalLooks> kLookNames = {"a", "b", "c", "d"};
constexpr std::array<const char*, 5> kPictureNames = {"notdone", "working", "failed", "done",
                                                      "missing"};
constexpr int kTerminalWidth = 49;
constexpr int kTerminalHeight = 60;

}  // namespace

TerminalLook LookOfType(int typeFound) {
    switch (typeFound) {
        case 1: return TerminalLook::kFenna;
        case 3:
        case 4: return TerminalLook::kEstra;
        case 5: return TerminalLook::kCorvo;
        default: return TerminalLook::kGravo;  // 0, 2, Brisa and anything unknown
    }
}

ProgressPictures::ProgressPictures(qreal devicePixelRatio) {
    RegisterPictureResources();
    RenderAt(devicePixelRatio);
}

void ProgressPictures::RenderAt(qreal devicePixelRatio) {
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    if (ratio == ratio_) return;
    ratio_ = ratio;
    host_ = Render(QStringLiteral("host"), 94, 94, ratio);
    checkOn_ = Render(QStringLiteral("check_on"), 12, 13, ratio);
    checkOff_ = Render(QStringLiteral("check_off"), 12, 13, ratio);
    for (int look = 0; look < kTerminalLooks; ++look) {
        const QString prefix = QStringLiteral("terminal_%1_").arg(QLatin1String(kLookNames[look]));
        LookSet& set = looks_[static_cast<std::size_t>(look)];
        for (std::size_t i = 0; i < kPictureNames.size(); ++i) {
            set.status[i] = Render(prefix + QLatin1String(kPictureNames[i]), kTerminalWidth,
                                   kTerminalHeight, ratio);
        }
        for (int frame = 1; frame <= kBusyFrames; ++frame) {
            set.busy[static_cast<std::size_t>(frame - 1)] =
                Render(prefix + QStringLiteral("busy%1").arg(frame), kTerminalWidth,
                       kTerminalHeight, ratio);
        }
    }
}

const QImage& ProgressPictures::ForStatus(int typeFound, int addressStatus) const {
    const LookSet& set = looks_[static_cast<std::size_t>(LookOfType(typeFound))];
    switch (addressStatus) {
        case link::kStatusDone: return set.status[static_cast<std::size_t>(TerminalPicture::kDone)];
        case link::kStatusTransferring: return set.busy[0];
        case link::kStatusWorking:
            return set.status[static_cast<std::size_t>(TerminalPicture::kWorking)];
        case link::kStatusFailed:
            return set.status[static_cast<std::size_t>(TerminalPicture::kFailed)];
        case link::kStatusNoSuchFile:
            return set.status[static_cast<std::size_t>(TerminalPicture::kMissing)];
        default: return set.status[static_cast<std::size_t>(TerminalPicture::kNotDone)];
    }
}

const QImage& ProgressPictures::BusyFrame(int typeFound, int frame) const {
    const LookSet& set = looks_[static_cast<std::size_t>(LookOfType(typeFound))];
    const int clamped = frame < 1 ? 1 : (frame > kBusyFrames ? kBusyFrames : frame);
    return set.busy[static_cast<std::size_t>(clamped - 1)];
}

}  // namespace zelo::desktop

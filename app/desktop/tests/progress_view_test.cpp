// The progress display's pixels for each mode and phase, and the mouse
// actions on it.
#include "desktop/progress_view.hpp"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include "desktop/menu_ids.hpp"
#include "link/progress_state.hpp"

namespace zelo::desktop {
namespace {

// A picture as the canvas shows it: drawn over the view's background.
QImage OverBackground(const QImage& picture, const QColor& background) {
    QImage image(picture.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    painter.drawImage(0, 0, picture);
    return image;
}

bool AllBackground(const QImage& canvas, const QRect& area, const QColor& background) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (canvas.pixelColor(x, y) != background) return false;
        }
    }
    return true;
}

}  // namespace

class ProgressViewTest : public QObject {
    Q_OBJECT

private:
    struct Fixture {
        core::ViewState state;
        bool stopRequested = false;
        bool ready = true;
        CZelo32View view;

        explicit Fixture(const ProgressPictures& pictures)
            : view(state, pictures,
                   CZelo32View::Hooks{[this] { return stopRequested; }, [this] { return ready; }}) {
            view.resize(1000, 260);
            view.RefreshProgress(1);
        }
        QColor Background() const { return QColor(Qt::white); }
        bool Shows(const QImage& picture, int x, int y) {
            const QImage& canvas = view.DrawNow();
            return canvas.copy(QRect(QPoint(x, y), picture.size())) ==
                   OverBackground(picture, Background());
        }
    };

    ProgressPictures pictures_;

private slots:
    void ModeOutsideTwoToFourDrawsNothing() {
        Fixture f(pictures_);
        f.state.comm.addresses = "AB";
        for (int mode : {0, 1, 5}) {
            f.state.progress.mode = mode;
            QVERIFY(AllBackground(f.view.DrawNow(), f.view.Canvas().rect(), f.Background()));
        }
    }

    void AtRestEachAddressShowsItsStatusAndCheckMark() {
        Fixture f(pictures_);
        f.state.comm.addresses = "AB";
        f.state.progress.mode = link::kProgressPerAddress;
        f.state.progress.phase = link::kPhaseAtRest;
        f.state.progress.addressStatus[0] = link::kStatusDone;
        f.state.progress.addressStatus[1] = link::kStatusFailed;
        f.state.progress.addressSelected[1] = 0;
        QVERIFY(f.Shows(pictures_.Host(), 10, 10));
        QVERIFY(f.Shows(pictures_.ForStatus(0, link::kStatusDone), 150, 28));
        QVERIFY(f.Shows(pictures_.ForStatus(0, link::kStatusFailed), 220, 28));
        QVERIFY(!f.Shows(pictures_.ForStatus(0, link::kStatusDone), 220, 28));
        QVERIFY(f.Shows(pictures_.CheckMark(true), 168, 90));
        QVERIFY(f.Shows(pictures_.CheckMark(false), 238, 90));
        // Nothing is in transfer: no file texts.
        QVERIFY(AllBackground(f.view.Canvas(), QRect(10, 140, 300, 80), f.Background()));
    }

    void PictureRowFollowsTheTypeFound() {
        QVERIFY(pictures_.ForStatus(0, link::kStatusDone) ==
                pictures_.ForStatus(2, link::kStatusDone));
        QVERIFY(pictures_.ForStatus(3, link::kStatusDone) ==
                pictures_.ForStatus(4, link::kStatusDone));
        QVERIFY(pictures_.ForStatus(1, link::kStatusDone) !=
                pictures_.ForStatus(0, link::kStatusDone));
        QVERIFY(pictures_.ForStatus(5, link::kStatusDone) !=
                pictures_.ForStatus(3, link::kStatusDone));
        // Brisa has no row of its own and looks like Gravo/Halda.
        QVERIFY(pictures_.ForStatus(6, link::kStatusFailed) ==
                pictures_.ForStatus(0, link::kStatusFailed));
        Fixture f(pictures_);
        f.state.comm.addresses = "A";
        f.state.progress.mode = link::kProgressPerAddress;
        f.state.progress.typeFound[0] = 5;
        f.state.progress.addressStatus[0] = link::kStatusTransferring;  // the first busy frame
        QVERIFY(f.Shows(pictures_.BusyFrame(5, 1), 150, 28));
    }

    void LineReachesPastTheLastAddress() {
        Fixture f(pictures_);
        f.state.comm.addresses = "ABCDEFGHIJKL";
        f.state.progress.mode = link::kProgressPerAddress;
        const QImage& canvas = f.view.DrawNow();
        const int end = 12 * 70 + 104;  // 944
        bool drawnNearEnd = false;
        for (int x = end - 6; x <= end; ++x)
            drawnNearEnd |= canvas.pixelColor(x, 110) != f.Background();
        QVERIFY(drawnNearEnd);
        QVERIFY(AllBackground(canvas, QRect(end + 3, 105, 40, 10), f.Background()));
    }

    void BusyFrameReplacesOnlyTheTerminalInHandAndShowsTheTransfer() {
        Fixture f(pictures_);
        f.state.comm.addresses = "AB";
        f.state.progress.mode = link::kProgressTransfer;
        f.state.progress.phase = link::kPhaseAtRest;
        f.state.progress.addressStatus[0] = link::kStatusDone;
        f.view.DrawNow();
        f.state.progress.currentAddress = 1;
        f.state.progress.phase = 3;
        f.state.progress.fileName.Set("PRICES.DAT");
        f.state.progress.bytes = 50;
        f.state.progress.total = 200;
        QVERIFY(f.Shows(pictures_.BusyFrame(0, 3), 220, 28));
        QCOMPARE(f.state.progress.phase.load(), 0);  // the next repaint shows the full pictures
        // Address A's picture stays from the last repaint: busy frames do not erase.
        QVERIFY(f.Shows(pictures_.ForStatus(0, link::kStatusDone), 150, 28));
        QVERIFY(!AllBackground(f.view.Canvas(), QRect(100, 200, 60, 12), f.Background()));
        QVERIFY(!AllBackground(f.view.Canvas(), QRect(10, 140, 60, 12), f.Background()));
    }

    void PercentNeedsATotal() {
        Fixture f(pictures_);
        f.state.comm.addresses = "A";
        f.state.progress.mode = link::kProgressTransfer;
        f.state.progress.phase = 2;
        f.state.progress.bytes = 50;
        f.state.progress.total = 0;
        f.view.DrawNow();
        QVERIFY(AllBackground(f.view.Canvas(), QRect(10, 200, 150, 12), f.Background()));
        QVERIFY(!AllBackground(f.view.Canvas(), QRect(100, 180, 60, 12), f.Background()));
    }

    void CountdownShowsUnlessStopped() {
        Fixture f(pictures_);
        f.state.comm.addresses = "A";
        f.state.progress.mode = link::kProgressPerAddress;
        f.state.progress.phase = 0;
        f.state.progress.countdown = 5;
        f.stopRequested = true;
        QVERIFY(AllBackground(f.view.DrawNow(), QRect(120, 150, 80, 35), f.Background()));
        f.stopRequested = false;
        QVERIFY(!AllBackground(f.view.DrawNow(), QRect(120, 150, 80, 35), f.Background()));
    }

    void PollingShowsItsWindowAndLastRecordTimes() {
        Fixture f(pictures_);
        f.state.comm.addresses = "A";
        f.state.progress.mode = link::kProgressPolling;
        f.state.progress.phase = link::kPhaseAtRest;
        f.state.poll.pollingPeriod = 0;
        QVERIFY(AllBackground(f.view.DrawNow(), QRect(120, 1, 300, 8), f.Background()));
        QVERIFY(AllBackground(f.view.Canvas(), QRect(150, 140, 60, 12), f.Background()));
        f.state.poll.pollingPeriod = 1;  // Specify: the polling window is shown
        f.state.pollContext.lastRecordTimes[0].Set("10:11:12  ");
        f.view.DrawNow();
        QVERIFY(!AllBackground(f.view.Canvas(), QRect(120, 1, 300, 8), f.Background()));
        QVERIFY(!AllBackground(f.view.Canvas(), QRect(150, 140, 60, 12), f.Background()));
    }

    void HostSpotPollsOnlyWhenNothingRuns() {
        Fixture f(pictures_);
        f.state.comm.addresses = "A";
        QSignalSpy requested(&f.view, &CZelo32View::CommandRequested);
        QTest::mouseDClick(&f.view, Qt::LeftButton, {}, QPoint(90, 75));
        f.ready = false;  // e.g. a worker is opening the line while idle is still 1
        QTest::mouseDClick(&f.view, Qt::LeftButton, {}, QPoint(90, 75));
        QTest::mouseDClick(&f.view, Qt::LeftButton, {}, QPoint(100, 75));  // outside the spot
        QCOMPARE(requested.count(), 2);
        QCOMPARE(requested[0][0].toInt(), kMenuPoll);
        QCOMPARE(requested[1][0].toInt(), kMenuStop);
    }

    void DoubleClicksOnATerminalSelectAndCycleItsRow() {
        Fixture f(pictures_);
        f.state.comm.addresses = "AB";
        QTest::mouseDClick(&f.view, Qt::LeftButton, {}, QPoint(220 + 10, 50));
        QCOMPARE(f.state.progress.addressSelected[1].load(), 0);
        QTest::mouseDClick(&f.view, Qt::LeftButton, {}, QPoint(220 + 10, 50));
        QCOMPARE(f.state.progress.addressSelected[1].load(), 1);
        f.state.progress.typeFound[0] = 4;
        QTest::mouseDClick(&f.view, Qt::RightButton, {}, QPoint(151, 28));
        QCOMPARE(f.state.progress.typeFound[0].load(), 0);  // (4 + 1) mod 5
        // Between pictures, and past the last address: nothing.
        QTest::mouseDClick(&f.view, Qt::LeftButton, {}, QPoint(150 + 50, 50));
        QTest::mouseDClick(&f.view, Qt::LeftButton, {}, QPoint(290 + 10, 50));
        QCOMPARE(f.state.progress.addressSelected[0].load(), 1);
        QCOMPARE(f.state.progress.addressSelected[2].load(), 1);
    }
};

}  // namespace zelo::desktop

QTEST_MAIN(zelo::desktop::ProgressViewTest)
#include "progress_view_test.moc"

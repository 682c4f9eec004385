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
        core::ModelState state;
        bool stopRequested = false;
        bool ready = true;
        CZelo32View view;

        QImage canvas;

        explicit Fixture(ProgressPictures& pictures)
            : view(state, pictures,
                   CZelo32View::Hooks{[this] { return stopRequested; }, [this] { return ready; }}) {
            view.resize(1000, 260);
        }
        QColor Background() const { return QColor(Qt::white); }
        // What a repaint shows now, with the settings as the records hold them.
        const QImage& Draw() {
            core::PublishDisplay(state);
            canvas = view.DrawNow(1);
            return canvas;
        }
        bool Shows(const QImage& picture, int x, int y) {
            Draw();
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
            QVERIFY(AllBackground(f.Draw(), f.canvas.rect(), f.Background()));
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
        QVERIFY(AllBackground(f.canvas, QRect(10, 140, 300, 80), f.Background()));
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
        const QImage& canvas = f.Draw();
        const int end = 12 * 70 + 104;  // 944
        bool drawnNearEnd = false;
        for (int x = end - 6; x <= end; ++x)
            drawnNearEnd |= canvas.pixelColor(x, 110) != f.Background();
        QVERIFY(drawnNearEnd);
        QVERIFY(AllBackground(canvas, QRect(end + 3, 105, 40, 10), f.Background()));
    }

    void BusyFrameReplacesOnlyTheTerminalInHandOncePerProgress() {
        Fixture f(pictures_);
        f.state.comm.addresses = "AB";
        f.state.progress.mode = link::kProgressTransfer;
        f.state.progress.addressStatus[0] = link::kStatusDone;
        f.state.progress.addressStatus[1] = link::kStatusWorking;
        f.state.progress.currentAddress = 1;
        f.state.progress.phase = 3;
        f.state.progress.fileName.Set("PRICES.DAT");
        f.state.progress.bytes = 50;
        f.state.progress.total = 200;
        f.view.RefreshProgress(false);
        QVERIFY(f.Shows(pictures_.BusyFrame(0, 3), 220, 28));
        QCOMPARE(f.state.progress.phase.load(), 3);  // painting leaves the model alone
        QVERIFY(f.Shows(pictures_.ForStatus(0, link::kStatusDone), 150, 28));
        QVERIFY(!AllBackground(f.canvas, QRect(100, 200, 60, 12), f.Background()));
        QVERIFY(!AllBackground(f.canvas, QRect(10, 140, 60, 12), f.Background()));
        // The next paint without new progress shows B's status picture again.
        QVERIFY(f.Shows(pictures_.ForStatus(0, link::kStatusWorking), 220, 28));
    }

    // Every paint starts blank: nothing an earlier state drew stays.
    void NothingOfAnEarlierStateShowsThrough() {
        Fixture f(pictures_);
        f.state.comm.addresses = "A";
        f.state.progress.mode = link::kProgressPerAddress;
        f.state.progress.bytes = 50;
        f.state.progress.fileName.Set("A-VERY-LONG-FILE-NAME.DAT");
        f.Draw();
        QVERIFY(!AllBackground(f.canvas, QRect(10, 140, 300, 12), f.Background()));
        // Polling: the last-record times, not the old file line.
        f.state.progress.mode = link::kProgressPolling;
        f.Draw();
        QVERIFY(AllBackground(f.canvas, QRect(10, 140, 130, 60), f.Background()));
        // A countdown does not share its rows with the transfer's.
        f.state.progress.mode = link::kProgressPerAddress;
        f.state.progress.countdown = 17;
        f.Draw();
        QVERIFY(AllBackground(f.canvas, QRect(10, 160, 100, 40), f.Background()));
        // Stopped: the countdown is gone at once.
        f.state.progress.countdown = 0;
        f.state.progress.bytes = 0;
        f.Draw();
        QVERIFY(AllBackground(f.canvas, QRect(10, 140, 400, 80), f.Background()));
        // A new list of addresses: the second picture goes.
        f.state.comm.addresses = "AB";
        QVERIFY(!AllBackground(f.Draw(), QRect(220, 28, 49, 60), f.Background()));
        f.state.comm.addresses = "A";
        QVERIFY(AllBackground(f.Draw(), QRect(220, 28, 49, 60), f.Background()));
    }

    void DrawsAtTheDevicePixelRatio() {
        Fixture f(pictures_);
        f.state.comm.addresses = "A";
        f.state.progress.mode = link::kProgressPerAddress;
        core::PublishDisplay(f.state);
        const QImage sharp = f.view.DrawNow(2);
        QCOMPARE(sharp.size(), f.view.size() * 2);
        QCOMPARE(pictures_.DevicePixelRatio(), 2.0);
        QCOMPARE(pictures_.Host().size(), QSize(188, 188));
        // Sharp: the host's outline has edges a 1x picture scaled up would
        // not have at odd device pixels.
        QImage host = pictures_.Host();
        host.setDevicePixelRatio(1);
        pictures_.RenderAt(1);
        const QImage blurred = pictures_.Host().scaled(188, 188);
        QVERIFY(host != blurred);
        // The same picture, not a part of it drawn larger: inside the keyboard.
        QCOMPARE(host.pixelColor(140, 144), pictures_.Host().pixelColor(70, 72));
        QImage shown = sharp.copy(QRect(20, 20, 188, 188));
        shown.setDevicePixelRatio(1);
        QVERIFY(shown == OverBackground(host, f.Background()));
    }

    // The green spot of the host picture is where a double click polls.
    void GreenSpotIsTheDoubleClickSpot() {
        Fixture f(pictures_);
        f.state.comm.addresses = "A";
        f.state.progress.mode = link::kProgressPerAddress;
        const QImage& canvas = f.Draw();
        QRect green;
        for (int y = 0; y < 110; ++y) {
            for (int x = 0; x < 110; ++x) {
                const QColor c = canvas.pixelColor(x, y);
                if (c.green() > c.red() + 60 && c.green() > c.blue() + 60)
                    green |= QRect(x, y, 1, 1);
            }
        }
        QVERIFY(green.width() >= 4 && green.height() >= 4);
        const QRect spot = CZelo32View::kHostSpot.adjusted(1, 1, -1, -1);  // inside, strictly
        QVERIFY2(spot.contains(green), qPrintable(QStringLiteral("green at %1,%2 %3x%4")
                                                      .arg(green.x())
                                                      .arg(green.y())
                                                      .arg(green.width())
                                                      .arg(green.height())));
        QSignalSpy requested(&f.view, &CZelo32View::CommandRequested);
        QTest::mouseDClick(&f.view, Qt::LeftButton, {}, green.center());
        QCOMPARE(requested.count(), 1);
        QCOMPARE(requested[0][0].toInt(), kMenuPoll);
    }

    void PercentNeedsATotal() {
        Fixture f(pictures_);
        f.state.comm.addresses = "A";
        f.state.progress.mode = link::kProgressTransfer;
        f.state.progress.phase = 2;
        f.state.progress.bytes = 50;
        f.state.progress.total = 0;
        f.Draw();
        QVERIFY(AllBackground(f.canvas, QRect(10, 200, 150, 12), f.Background()));
        QVERIFY(!AllBackground(f.canvas, QRect(100, 180, 60, 12), f.Background()));
    }

    void CountdownShowsUnlessStopped() {
        Fixture f(pictures_);
        f.state.comm.addresses = "A";
        f.state.progress.mode = link::kProgressPerAddress;
        f.state.progress.phase = 0;
        f.state.progress.countdown = 5;
        f.stopRequested = true;
        QVERIFY(AllBackground(f.Draw(), QRect(120, 150, 80, 35), f.Background()));
        f.stopRequested = false;
        QVERIFY(!AllBackground(f.Draw(), QRect(120, 150, 80, 35), f.Background()));
    }

    void PollingShowsItsWindowAndLastRecordTimes() {
        Fixture f(pictures_);
        f.state.comm.addresses = "A";
        f.state.progress.mode = link::kProgressPolling;
        f.state.progress.phase = link::kPhaseAtRest;
        f.state.poll.pollingPeriod = 0;
        QVERIFY(AllBackground(f.Draw(), QRect(120, 1, 300, 8), f.Background()));
        QVERIFY(AllBackground(f.canvas, QRect(150, 140, 60, 12), f.Background()));
        f.state.poll.pollingPeriod = 1;  // Specify: the polling window is shown
        f.state.pollContext.lastRecordTimes[0].Set("10:11:12  ");
        f.Draw();
        QVERIFY(!AllBackground(f.canvas, QRect(120, 1, 300, 8), f.Background()));
        QVERIFY(!AllBackground(f.canvas, QRect(150, 140, 60, 12), f.Background()));
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
        core::PublishDisplay(f.state);
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

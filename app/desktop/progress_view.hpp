#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <string>

#include "core/model_state.hpp"
#include "desktop/progress_pictures.hpp"

namespace zelo::desktop {

// The main view: the progress display of the running command (host
// picture, one picture per terminal address with its status, the file in
// transfer or the polling window), and the mouse actions on it.
//
// Every paint draws the whole current state on a cleared background, at
// the device pixel ratio: nothing an earlier paint left can show through.
// A busy frame is shown once per progress update, over the picture of the
// terminal in hand; the next paint without new progress shows its status
// picture again.
//
// Threads: the user interface thread. It reads ProgressState (atomics and
// texts handed over whole) and the DisplaySnapshot of the settings, never
// the settings records the worker may be writing, and painting changes
// nothing of the model.
class CZelo32View : public QWidget {
    Q_OBJECT

public:
    struct Hooks {
        // The connection object's stop flag is set.
        std::function<bool()> stopRequested;
        // Nothing runs: the line is idle and no worker is busy, so a double
        // click on the host may start a poll rather than stop.
        std::function<bool()> readyForCommand;
    };

    CZelo32View(core::ModelState& state, ProgressPictures& pictures, Hooks hooks,
                QWidget* parent = nullptr);

    // The progress changed: paint it again. (erase is the operations' wish
    // for a blank start; every paint starts blank.)
    void RefreshProgress(bool erase);
    // Paints what a repaint would paint into an image of the view's size at
    // the given device pixel ratio (by default the view's own), as a repaint
    // does; tests look at its pixels.
    QImage DrawNow(qreal devicePixelRatio = 0);

    // The spot on the host picture that polls or stops on a double click,
    // in view coordinates (the points strictly inside it count).
    static constexpr QRect kHostSpot{85, 70, 16, 11};

signals:
    // A double click asked for a menu command (Poll or Stop).
    void CommandRequested(int menuId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // What one paint shows, read once so that every part agrees.
    struct Frame;
    void Draw(QPainter& painter);
    void DrawTerminals(QPainter& painter, const Frame& frame);
    void DrawTransfer(QPainter& painter, const Frame& frame);
    void DrawText(QPainter& painter, int x, int y, const QString& text, const QColor& colour);
    // The address index of a terminal picture at this point, or -1.
    int TerminalAt(int x, int y) const;

    core::ModelState& state_;
    ProgressPictures& pictures_;
    Hooks hooks_;
    // The view's own: progress came in since the last paint, so a busy
    // frame (if the phase says one) is due.
    bool busyFrameDue_ = false;
};

}  // namespace zelo::desktop

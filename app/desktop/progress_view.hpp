#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <string>

#include "core/view_state.hpp"
#include "desktop/progress_pictures.hpp"

namespace zelo::desktop {

// The main view: the progress display of the running command (host
// picture, one picture per terminal address with its status, the file in
// transfer or the polling window), and the mouse actions on it.
//
// It draws on white into a canvas of its own that a repaint does not erase, as the
// display was designed: a busy frame only replaces the picture of the
// terminal in hand, and trailing blanks of a text cover what a longer
// earlier text left. RefreshProgress with erase, and a resize, start from a
// blank canvas.
//
// Threads: the user interface thread. It reads ProgressState, which the
// worker writes; the worker only reaches it through queued signals.
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

    CZelo32View(core::ViewState& state, const ProgressPictures& pictures, Hooks hooks,
                QWidget* parent = nullptr);

    // The progress changed: draw it again, on a blank canvas when erase is 1.
    void RefreshProgress(int erase);
    // Draws the current progress onto the canvas now (what a repaint does)
    // and returns the canvas; tests look at its pixels.
    const QImage& DrawNow();
    const QImage& Canvas() const { return canvas_; }

signals:
    // A double click asked for a menu command (Poll or Stop).
    void CommandRequested(int menuId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Draw(QPainter& painter);
    void DrawAtRest(QPainter& painter, const std::string& addresses, int addressCount, int mode,
                    int phase);
    void DrawBusy(QPainter& painter, const std::string& addresses, int addressCount, int mode,
                  int phase);
    void DrawText(QPainter& painter, int x, int y, const QString& text, const QColor& colour);
    // The address index of a terminal picture at this point, or -1.
    int TerminalAt(int x, int y) const;
    void ClearCanvas();

    core::ViewState& state_;
    const ProgressPictures& pictures_;
    Hooks hooks_;
    QImage canvas_;
};

}  // namespace zelo::desktop

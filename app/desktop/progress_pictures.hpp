#pragma once

#include <QImage>
#include <array>

namespace zelo::desktop {

// The looks of the terminal pictures. Terminal types 0 and 2 look alike, so
// do 3 and 4; 1 and 5 have their own. Brisa (6) has no set of its own and
// takes the Gravo/Halda look, the family it shares its timing with; so does
// any other value.
enum class TerminalLook { kGravo = 0, kFenna = 1, kEstra = 2, kCorvo = 3 };
inline constexpr int kTerminalLooks = 4;
TerminalLook LookOfType(int typeFound);

// The pictures of one look, by what they show.
enum class TerminalPicture { kNotDone, kWorking, kFailed, kDone, kMissing };
// The picture for an address status: 2 done, 3 the first busy frame, 4
// working, 5 failed, 6 file missing, anything else not done.
inline constexpr int kBusyFrames = 5;

// Every picture of the progress display, drawn from the program's
// resources at the display's sizes (the host 94x94, terminals 49x60, check
// marks 12x13) times a device pixel ratio, so that a scaled screen shows
// them sharp; they draw at their sizes in logical pixels.
class ProgressPictures {
public:
    explicit ProgressPictures(qreal devicePixelRatio = 1.0);

    // Draws every picture again for this ratio; nothing when it is the one
    // they have.
    void RenderAt(qreal devicePixelRatio);
    qreal DevicePixelRatio() const { return ratio_; }

    const QImage& Host() const { return host_; }
    const QImage& CheckMark(bool selected) const { return selected ? checkOn_ : checkOff_; }
    // The status picture of an address in the row of its type.
    const QImage& ForStatus(int typeFound, int addressStatus) const;
    // Busy frame 1..kBusyFrames (a frame outside is clamped).
    const QImage& BusyFrame(int typeFound, int frame) const;

private:
    struct LookSet {
        std::array<QImage, 5> status;  // by TerminalPicture
        std::array<QImage, kBusyFrames> busy;
    };
    qreal ratio_ = 0;
    QImage host_;
    QImage checkOn_;
    QImage checkOff_;
    std::array<LookSet, kTerminalLooks> looks_;
};

}  // namespace zelo::desktop

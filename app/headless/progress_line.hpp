#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <mutex>
#include <string>

namespace zelo::headless {

// One transfer's figures as the progress line shows them.
struct TransferFigures {
    char address = ' ';
    std::string file;
    std::int64_t bytes = 0;
    std::int64_t total = 0;  // 0: not known (uploads)
    double seconds = 0;      // since the file began
};

// "A BIG.DAT  81920/204800 bytes  40%  960 B/s  2:08 left"; without a
// total: "A LOG.TXT  81920 bytes  960 B/s".
std::string FormatProgress(const TransferFigures& figures);
// "A BIG.DAT  204800 bytes in 3:33 (960 B/s)".
std::string FormatFinished(const TransferFigures& figures);

// The updating line on a terminal while a file goes over the line, like the
// one lrzsz and scp draw: redrawn in place with a carriage return at most a
// few times a second, and closed with a line of its size and time when the
// transfer's result line is about to be written.
//
// Threads: the worker calls Update and Finish; a result line's writer calls
// Finish from the same thread. The lock only keeps a drawing whole.
class ProgressLine {
public:
    using Clock = std::chrono::steady_clock;
    using Now = std::function<Clock::time_point()>;

    explicit ProgressLine(std::ostream& terminal, Now now = Clock::now);

    // The running transfer's state; a new address or file, or bytes that
    // went back, start a new file.
    void Update(char address, const std::string& file, std::int64_t bytes, std::int64_t total);
    // Closes the line of the file being shown with its final figures; does
    // nothing when no transfer is shown.
    void Finish();

private:
    void Draw(const std::string& text);

    std::mutex mutex_;
    std::ostream& terminal_;
    Now now_;
    bool active_ = false;
    TransferFigures figures_;
    Clock::time_point started_{};
    Clock::time_point drawn_{};
    std::size_t drawnWidth_ = 0;
};

}  // namespace zelo::headless

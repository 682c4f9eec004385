#include "headless/progress_line.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>

namespace zelo::headless {
namespace {

// Often enough to look alive, seldom enough not to slow a fast line.
constexpr auto kRedrawPeriod = std::chrono::milliseconds(250);

std::string Duration(double seconds) {
    const long whole = std::lround(std::max(0.0, seconds));
    char text[32];
    if (whole >= 3600) {
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    }
    return text;
}

std::string Rate(double bytesPerSecond) {
    char text[32];
    if (bytesPerSecond >= 10240) {
        std::snprintf(text, sizeof text, "%.1f KB/s", bytesPerSecond / 1024);
    } else {
        std::snprintf(text, sizeof text, "%.0f B/s", bytesPerSecond);
    }
    return text;
}

// A rate once there is something to measure it by.
double RateOf(const TransferFigures& figures) {
    return figures.seconds > 0.5 && figures.bytes > 0
               ? static_cast<double>(figures.bytes) / figures.seconds
               : 0;
}

}  // namespace

std::string FormatProgress(const TransferFigures& figures) {
    std::string text =
        std::string(1, figures.address) + " " + figures.file + "  " + std::to_string(figures.bytes);
    if (figures.total > 0) text += "/" + std::to_string(figures.total);
    text += " bytes";
    if (figures.total > 0) {
        const std::int64_t done = std::min(figures.bytes, figures.total);
        text += "  " + std::to_string(done * 100 / figures.total) + "%";
    }
    const double rate = RateOf(figures);
    if (rate > 0) {
        text += "  " + Rate(rate);
        if (figures.total > figures.bytes) {
            text += "  " + Duration(static_cast<double>(figures.total - figures.bytes) / rate) +
                    " left";
        }
    }
    return text;
}

std::string FormatFinished(const TransferFigures& figures) {
    std::string text = std::string(1, figures.address) + " " + figures.file + "  " +
                       std::to_string(figures.bytes) + " bytes in " + Duration(figures.seconds);
    const double rate = RateOf(figures);
    if (rate > 0) text += " (" + Rate(rate) + ")";
    return text;
}

ProgressLine::ProgressLine(std::ostream& terminal, Now now)
    : terminal_(terminal), now_(std::move(now)) {}

void ProgressLine::Update(char address, const std::string& file, std::int64_t bytes,
                          std::int64_t total) {
    std::lock_guard lock(mutex_);
    const auto now = now_();
    const bool sameFile =
        active_ && figures_.address == address && figures_.file == file && bytes >= figures_.bytes;
    if (!sameFile) {
        active_ = true;
        figures_ = TransferFigures{address, file, 0, 0, 0};
        started_ = now;
        drawn_ = Clock::time_point{};
    }
    figures_.bytes = bytes;
    figures_.total = total;
    figures_.seconds = std::chrono::duration<double>(now - started_).count();
    const bool complete = total > 0 && bytes >= total;
    if (!sameFile || complete || now - drawn_ >= kRedrawPeriod) {
        drawn_ = now;
        Draw(FormatProgress(figures_));
    }
}

void ProgressLine::Finish() {
    std::lock_guard lock(mutex_);
    if (!active_) return;
    active_ = false;
    figures_.seconds = std::chrono::duration<double>(now_() - started_).count();
    Draw(FormatFinished(figures_));
    terminal_ << '\n' << std::flush;
    drawnWidth_ = 0;
}

void ProgressLine::Draw(const std::string& text) {
    // Blanks cover what a longer earlier drawing left behind.
    const std::size_t pad = drawnWidth_ > text.size() ? drawnWidth_ - text.size() : 0;
    terminal_ << '\r' << text << std::string(pad, ' ') << std::flush;
    drawnWidth_ = text.size();
}

}  // namespace zelo::headless

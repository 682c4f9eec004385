// An output window fed a day of polling: 100,000 lines, one per append as
// the worker's queued lines arrive, the event loop running between batches.
// Prints the cost per line at the start and at the end, the longest the
// event loop was held by one batch, and the process's memory at 2,000 and
// at 100,000 lines, with their ratios: a bounded window keeps both near 1.
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "desktop/output_text.hpp"
#include "desktop/output_window.hpp"

namespace {

// Resident memory in KiB, from /proc.
long ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4;
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    const int total = argc > 1 ? std::atoi(argv[1]) : 100000;
    constexpr int kBatch = 50;  // lines the loop receives between two turns
    constexpr int kWindow = zelo::desktop::kMaxOutputLines;

    zelo::desktop::COutputWindow window(QStringLiteral("Polling Data Window"), nullptr);
    window.resize(800, 300);
    window.show();
    QApplication::processEvents();

    QElapsedTimer clock;
    double firstMs = 0, lastMs = 0, worstBatchMs = 0;
    long residentAtCap = 0;
    for (int start = 0; start < total; start += kBatch) {
        clock.start();
        for (int i = start; i < std::min(start + kBatch, total); ++i) {
            window.AppendText("A 2026/12/10 10:00:00 record " + std::to_string(i) +
                              " 4901234567894 12 0001\n");
        }
        QApplication::processEvents();  // paint, as the loop does between batches
        const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        worstBatchMs = std::max(worstBatchMs, ms);
        if (start < kWindow) firstMs += ms;
        if (start >= total - kWindow) lastMs += ms;
        if (start + kBatch == kWindow) residentAtCap = ResidentKiB();
    }
    const long residentAtEnd = ResidentKiB();
    std::printf("lines %d, window keeps %d (%d)\n", total, kWindow, window.LineCount());
    std::printf("first %d lines: %.1f us/line; last %d: %.1f us/line; ratio last/first %.2f\n",
                kWindow, firstMs * 1000 / kWindow, kWindow, lastMs * 1000 / kWindow,
                lastMs / firstMs);
    std::printf("longest turn of the event loop (%d lines and a paint): %.1f ms\n", kBatch,
                worstBatchMs);
    std::printf("resident memory at %d lines %ld KiB, at %d lines %ld KiB; ratio %.2f\n", kWindow,
                residentAtCap, total, residentAtEnd,
                static_cast<double>(residentAtEnd) / static_cast<double>(residentAtCap));
    return 0;
}

#pragma once

#include <atomic>
#include <string_view>

#include "link/link_status.hpp"

namespace zelo::link {

// The connection object: the one place through which the program talks to
// terminals. Its operations run on the worker thread and report through the
// hooks below, which in this base class do nothing; CViewTerminalLink
// forwards them to the view.
//
// Threads: the user interface thread calls RequestStop while an operation
// runs; every operation polls IsStopRequested after each library call.
class CTerminalLink {
public:
    CTerminalLink() = default;
    CTerminalLink(const CTerminalLink&) = delete;
    CTerminalLink& operator=(const CTerminalLink&) = delete;
    virtual ~CTerminalLink();

    // An operation changed a setting that belongs in the configuration file
    // (a speed found by the speed search, new communication parameters).
    virtual void OnSettingsChanged() {}
    // The progress state changed; erase is 1 at the start of a file transfer
    // series, else 0.
    virtual void RefreshProgress(int erase) { (void)erase; }
    // One polled record arrived from the terminal at `address`.
    virtual void ShowPollData(char address, std::string_view record) {
        (void)address;
        (void)record;
    }
    // One result line: `address` is blank for lines about the whole line;
    // `code` is a library result code or kInformationOnly. Operations never
    // pass a password in `label` or `detail`.
    virtual void ShowResult(char address, std::string_view label, std::string_view detail,
                            int code) {
        (void)address;
        (void)label;
        (void)detail;
        (void)code;
    }

    void RequestStop(int stop) { stopFlag_.store(stop); }
    int IsStopRequested() const { return stopFlag_.load(); }
    // Sleeps 10 ms at a time until `status.idle` is non-zero: the stop
    // protocol's way for an operation to let the Stop command finish first.
    static void WaitUntilIdle(const LinkStatus& status);

private:
    std::atomic<int> stopFlag_{0};
};

}  // namespace zelo::link

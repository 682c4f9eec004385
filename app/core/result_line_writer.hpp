#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "core/core_platform.hpp"
#include "core/error_log.hpp"
#include "core/front_end_duties.hpp"
#include "link/link_status.hpp"
#include "link/result_line.hpp"

namespace zelo::core {

// The view's side of a result line: it stamps the line with the local time,
// adds the result text (and, when power saving could not be switched back
// on, says so), writes it to ERR_LOG.TXT when the log is open, to the Message
// Window, and in command-line mode shows failures in a message box.
// Informational lines (code -1) reach only the Message Window; successes
// reach the log but never a box. A failure met once the line was lost says
// so in place of its code's words.
//
// Every box about a run goes through here too. A run that closes by itself
// (a command line with AUTO_EXIT) never waits for a person: it shows no box,
// and what a box would say becomes the operator's note beside the result
// lines (the Message Window, the console's standard error), and a stamped
// line in ERR_LOG.TXT when it reports a failure. The writer also counts the
// failures it reported, for the exit status.
//
// Threads: Write and ShowBox on the worker while a command runs, else on
// the user interface thread; the count may be read from either.
class ResultLineWriter {
public:
    // powerSavingReturn: the library's result of its last power-saving
    // switch; HM_get_power_saving_return when not given. lineLost: whether
    // the library lost the line; HM_last_error_text's reason when not given.
    ResultLineWriter(Platform& platform, const link::LinkStatus& status, ErrorLog& log,
                     FrontEndDuties& view, std::function<int()> powerSavingReturn = {},
                     std::function<bool()> lineLost = {});

    // Says whether the run closes by itself now; none: it never does.
    void SetClosesByItself(std::function<bool()> closesByItself) {
        closesByItself_ = std::move(closesByItself);
    }

    void Write(const link::ResultReport& report);
    // A message box with this text, or its line when the run closes by
    // itself. A failure (a port or file that could not be opened) counts.
    void ShowBox(const std::string& text, bool failure);
    // Result lines with a failure code and failure boxes so far.
    int FailuresReported() const { return failures_.load(); }

private:
    bool ClosesByItself() const { return closesByItself_ && closesByItself_(); }

    Platform& platform_;
    const link::LinkStatus& status_;
    ErrorLog& log_;
    FrontEndDuties& view_;
    std::function<int()> powerSavingReturn_;
    std::function<bool()> lineLost_;
    std::function<bool()> closesByItself_;
    std::atomic<int> failures_{0};
};

}  // namespace zelo::core

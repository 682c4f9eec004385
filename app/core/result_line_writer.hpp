#pragma once

#include <functional>

#include "core/core_platform.hpp"
#include "core/error_log.hpp"
#include "core/view_duties.hpp"
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
class ResultLineWriter {
public:
    // powerSavingReturn: the library's result of its last power-saving
    // switch; HM_get_power_saving_return when not given. lineLost: whether
    // the library lost the line; HM_last_error_text's reason when not given.
    ResultLineWriter(Platform& platform, const link::LinkStatus& status, ErrorLog& log,
                     ViewDuties& view, std::function<int()> powerSavingReturn = {},
                     std::function<bool()> lineLost = {});

    void Write(const link::ResultReport& report);

private:
    Platform& platform_;
    const link::LinkStatus& status_;
    ErrorLog& log_;
    ViewDuties& view_;
    std::function<int()> powerSavingReturn_;
    std::function<bool()> lineLost_;
};

}  // namespace zelo::core

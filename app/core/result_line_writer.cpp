#include "core/result_line_writer.hpp"

#include <zelodll.h>

#include <cstdio>
#include <string>
#include <utility>

#include "link/result_text.hpp"

namespace zelo::core {

ResultLineWriter::ResultLineWriter(Platform& platform, const link::LinkStatus& status,
                                   ErrorLog& log, FrontEndDuties& view,
                                   std::function<int()> powerSavingReturn,
                                   std::function<bool()> lineLost)
    : platform_(platform),
      status_(status),
      log_(log),
      view_(view),
      powerSavingReturn_(std::move(powerSavingReturn)),
      lineLost_(std::move(lineLost)) {
    if (!powerSavingReturn_) powerSavingReturn_ = [] { return HM_get_power_saving_return(); };
    if (!lineLost_)
        lineLost_ = [] { return HM_last_error_text(nullptr, 0) == ZELO_OPEN_LINE_LOST; };
}

void ResultLineWriter::Write(const link::ResultReport& report) {
    const LocalTime now = platform_.Now();
    const bool failed = report.code != link::kInformationOnly && report.code != 0;
    std::string resultText(failed && lineLost_() ? link::kLineLostText
                                                 : link::ResultText(report.code));
    if (status_.powerSaving != 0 && link::TakesPowerSavingSuffix(report.code) &&
        powerSavingReturn_() != 0) {
        resultText += link::kPowerSavingOnFailedSuffix;
    }
    std::string line =
        link::FormatResultLine(report, {now.hour, now.minute, now.second}, resultText);

    if (report.code != link::kInformationOnly) log_.Append(line);

    // The Message Window takes a bare LF.
    line.erase(line.size() - 2);
    line += '\n';
    view_.AppendToMessageWindow(std::move(line));

    if (report.code == link::kInformationOnly || report.code == 0) return;
    ++failures_;
    // The line just written says what the box would.
    if (status_.commandLineMode != 0 && status_.showErrorBox != 0 && !ClosesByItself()) {
        view_.ShowMessageBox(link::FormatErrorBoxText(report, resultText));
    }
}

void ResultLineWriter::ShowBox(const std::string& text, bool failure) {
    if (failure) ++failures_;
    if (!ClosesByItself()) {
        view_.ShowMessageBox(text);
        return;
    }
    if (failure) {
        // Stamped as a result line for the whole line is: a blank address.
        const LocalTime now = platform_.Now();
        char stamp[16];
        std::snprintf(stamp, sizeof stamp, "  %.2d:%.2d:%.2d ", now.hour, now.minute, now.second);
        log_.Append(stamp + text + "\r\n");
    }
    view_.ShowOperatorNote(text);
}

}  // namespace zelo::core

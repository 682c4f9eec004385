#include "core/result_line_writer.hpp"

#include <zelodll.h>

#include <string>
#include <utility>

#include "link/result_text.hpp"

namespace zelo::core {

ResultLineWriter::ResultLineWriter(Platform& platform, const link::LinkStatus& status,
                                   ErrorLog& log, ViewDuties& view,
                                   std::function<int()> powerSavingReturn)
    : platform_(platform),
      status_(status),
      log_(log),
      view_(view),
      powerSavingReturn_(std::move(powerSavingReturn)) {
    if (!powerSavingReturn_) powerSavingReturn_ = [] { return HM_get_power_saving_return(); };
}

void ResultLineWriter::Write(const link::ResultReport& report) {
    const LocalTime now = platform_.Now();
    std::string resultText(link::ResultText(report.code));
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

    if (status_.commandLineMode != 0 && status_.showErrorBox != 0 &&
        report.code != link::kInformationOnly && report.code != 0) {
        view_.ShowMessageBox(link::FormatErrorBoxText(report, resultText));
    }
}

}  // namespace zelo::core

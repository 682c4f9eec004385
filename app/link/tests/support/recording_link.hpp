// The connection object of the link tests: records what the operations
// report through its hooks.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "link/link_status.hpp"
#include "link/result_line.hpp"
#include "link/result_text.hpp"
#include "link/terminal_link.hpp"

namespace zelo::link::testing {

class RecordingLink final : public CTerminalLink {
public:
    void RefreshProgress(bool erase) override {
        ++refreshes;
        if (onRefresh) onRefresh();
        (void)erase;
    }
    void ShowPollData(char address, std::string_view record) override {
        records.push_back(std::string(1, address) + " " + std::string(record));
    }
    void ShowResult(char address, std::string_view label, std::string_view detail,
                    int code) override {
        lines.push_back(std::string(1, address) + "|" + std::string(label) + "|" +
                        std::string(detail) + "|" + std::to_string(code));
        // The line as written, without its time stamp and line end.
        const std::string full =
            FormatResultLine({address, label, detail, code}, {0, 0, 0}, ResultText(code));
        written.push_back(full.substr(0, 1) + full.substr(10, full.size() - 12));
        codes.push_back(code);
        if (onResult) onResult(written.size());
    }
    void OnSettingsChanged() override { ++settingsSaved; }
    void ShowMessageBox(std::string_view text) override { boxes.emplace_back(text); }
    void ExplainFailure(std::string_view text) override { explained.emplace_back(text); }

    // The Stop command as the user interface thread gives it.
    void Stop(LinkStatus& status) {
        RequestStop();
        HM_stop_communication();
        status.idle = 1;
    }

    std::vector<std::string> lines;    // "A|label|detail|code"
    std::vector<std::string> written;  // as the result line shows it
    std::vector<int> codes;
    std::vector<std::string> records;
    std::vector<std::string> boxes;
    std::vector<std::string> explained;
    std::function<void()> onRefresh;
    std::function<void(std::size_t)> onResult;
    int refreshes = 0;
    int settingsSaved = 0;
};

}  // namespace zelo::link::testing

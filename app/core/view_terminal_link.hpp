#pragma once

#include "core/result_line_writer.hpp"
#include "core/view_duties.hpp"
#include "link/terminal_link.hpp"

namespace zelo::core {

// The connection object as the view uses it: its hooks reach the view's
// duties. The worker attaches the view each time it starts; until then the
// hooks do nothing, as in the base class.
class CViewTerminalLink : public link::CTerminalLink {
public:
    void AttachView(ViewDuties& view, ResultLineWriter& writer) {
        view_ = &view;
        writer_ = &writer;
    }

    void OnSettingsChanged() override;
    void RefreshProgress(int erase) override;
    void ShowPollData(char address, std::string_view record) override;
    void ShowResult(char address, std::string_view label, std::string_view detail,
                    int code) override;
    void ShowMessageBox(std::string_view text) override;
    void ExplainFailure(std::string_view text) override;

private:
    ViewDuties* view_ = nullptr;
    ResultLineWriter* writer_ = nullptr;
};

}  // namespace zelo::core

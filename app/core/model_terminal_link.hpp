#pragma once

#include "core/front_end_duties.hpp"
#include "core/model_state.hpp"
#include "core/result_line_writer.hpp"
#include "link/terminal_link.hpp"

namespace zelo::core {

// The connection object as the view uses it: its hooks reach the view's
// duties. The view core attaches itself once, when it is made; a link not
// attached (a test's) does nothing in its hooks, as in the base class. With
// the view's state, every progress refresh first publishes what the display
// shows of the settings (a script line may have changed the addresses).
class ModelTerminalLink : public link::CTerminalLink {
public:
    void AttachView(FrontEndDuties& view, ResultLineWriter& writer, ModelState* state = nullptr) {
        view_ = &view;
        writer_ = &writer;
        state_ = state;
    }

    void OnSettingsChanged() override;
    void RefreshProgress(bool erase) override;
    void ShowPollData(char address, std::string_view record) override;
    void ShowResult(char address, std::string_view label, std::string_view detail,
                    int code) override;
    void ShowMessageBox(std::string_view text) override;
    void ExplainFailure(std::string_view text) override;

private:
    FrontEndDuties* view_ = nullptr;
    ResultLineWriter* writer_ = nullptr;
    ModelState* state_ = nullptr;
};

}  // namespace zelo::core

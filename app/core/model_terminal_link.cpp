#include "core/model_terminal_link.hpp"

#include <string>

#include "link/result_text.hpp"
#include "zelodll.h"

namespace zelo::core {

void ModelTerminalLink::OnSettingsChanged() {
    if (view_ != nullptr) view_->SaveConfiguration();
}

void ModelTerminalLink::RefreshProgress(bool erase) {
    if (state_ != nullptr) PublishDisplay(*state_);
    if (view_ != nullptr) view_->RefreshProgress(erase);
}

void ModelTerminalLink::ShowPollData(char address, std::string_view record) {
    if (view_ != nullptr) view_->HandlePollRecord(address, std::string(record));
}

void ModelTerminalLink::ShowResult(char address, std::string_view label, std::string_view detail,
                                   int code) {
    if (writer_ != nullptr) writer_->Write({address, label, detail, code});
    if (code != ZELO_OK && code != link::kInformationOnly) ExplainLineLoss();
}

// The connection object's boxes each report a failure: a port, a file or
// folder that could not be opened, nothing to erase, a wrong ROM setting.
void ModelTerminalLink::ShowMessageBox(std::string_view text) {
    if (writer_ != nullptr) writer_->ShowBox(std::string(text), true);
}

void ModelTerminalLink::ExplainFailure(std::string_view text) {
    if (view_ != nullptr) view_->ShowOperatorNote(std::string(text));
}

}  // namespace zelo::core

#include "core/view_terminal_link.hpp"

#include <string>

namespace zelo::core {

void CViewTerminalLink::OnSettingsChanged() {
    if (view_ != nullptr) view_->SaveConfiguration();
}

void CViewTerminalLink::RefreshProgress(int erase) {
    if (state_ != nullptr) PublishDisplay(*state_);
    if (view_ != nullptr) view_->RefreshProgress(erase);
}

void CViewTerminalLink::ShowPollData(char address, std::string_view record) {
    if (view_ != nullptr) view_->HandlePollRecord(address, std::string(record));
}

void CViewTerminalLink::ShowResult(char address, std::string_view label, std::string_view detail,
                                   int code) {
    if (writer_ != nullptr) writer_->Write({address, label, detail, code});
    if (view_ != nullptr) view_->NoteResult(address, code);
}

void CViewTerminalLink::ShowMessageBox(std::string_view text) {
    if (view_ != nullptr) view_->ShowMessageBox(std::string(text));
}

void CViewTerminalLink::ExplainFailure(std::string_view text) {
    if (view_ != nullptr) view_->ShowOperatorNote(std::string(text));
}

}  // namespace zelo::core

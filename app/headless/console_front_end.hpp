#pragma once

#include <atomic>
#include <functional>
#include <iosfwd>
#include <mutex>
#include <string>

#include "core/front_end.hpp"
#include "link/comm_settings.hpp"
#include "link/progress_state.hpp"

namespace zelo::headless {

// The main view's duties and the user's answers for a run without a
// display: result lines go to `out` as the Message Window shows them,
// boxes to `err`, polled records to `pollData` when given. Every question
// is answered as an unattended run needs: a box is acknowledged, a Yes/No
// question is answered No, a dialog is cancelled.
//
// Threads: called from the worker and the main thread; each stream write
// is whole under one lock, and nothing waits for the main thread.
class ConsoleFrontEnd : public core::FrontEnd {
public:
    ConsoleFrontEnd(std::ostream& out, std::ostream& err, std::ostream* pollData);

    // Set by the program once its view core exists, to save through it.
    void SetSave(std::function<void()> save) { save_ = std::move(save); }
    // Draws transfers on `line` from the view's records, which the worker
    // owns while it runs; every other write first closes the line.
    void SetProgress(class ProgressLine* line, const link::ProgressState& progress,
                     const link::CommSettings& comm) {
        progressLine_ = line;
        progress_ = &progress;
        comm_ = &comm;
    }

    // FrontEndDuties
    void AppendToMessageWindow(std::string line) override;
    void HandlePollRecord(char address, std::string record) override;
    void RefreshProgress(bool erase) override;
    void ShowMessageBox(std::string text) override;
    void SaveConfiguration() override;
    void OpenTerminalDialog() override;
    void ShowOperatorNote(std::string text) override { WriteError(text); }

    // UserInterface
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    std::optional<core::PickAnswer> PickTerminalFiles(const core::PickRequest& request) override;
    std::optional<std::string> ChooseDialNumber(const core::PhoneBook& phoneBook) override;
    bool ChooseDateTime(core::TimeSyncRequest& request) override;

private:
    void WriteError(const std::string& text);

    std::mutex mutex_;
    std::ostream& out_;
    std::ostream& err_;
    std::ostream* pollData_;
    std::function<void()> save_;
    class ProgressLine* progressLine_ = nullptr;
    const link::ProgressState* progress_ = nullptr;
    const link::CommSettings* comm_ = nullptr;
};

}  // namespace zelo::headless

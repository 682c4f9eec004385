#pragma once

#include <string>
#include <vector>

#include "core/core_platform.hpp"
#include "core/front_end_duties.hpp"
#include "file_bytes.hpp"
#include "temporary_folder.hpp"

namespace zelo::core::testing {

using test_support::ReadAll;
using test_support::WriteAll;

// Real files, a clock that says what the test wants.
class FixedClockPlatform : public SystemPlatform {
public:
    LocalTime Now() override { return now; }
    LocalTime now{2026, 12, 8, 2, 9, 5, 7};
};

// The view as the tests see it: records what the logic asked of it.
class RecordingView : public FrontEndDuties {
public:
    void AppendToMessageWindow(std::string line) override { windowLines.push_back(line); }
    void HandlePollRecord(char address, std::string record) override {
        pollRecords.push_back(std::string(1, address) + ":" + record);
    }
    void RefreshProgress(bool erase) override { refreshes.push_back(erase); }
    void ShowMessageBox(std::string text) override { boxes.push_back(text); }
    void SaveConfiguration() override { ++saves; }
    void OpenTerminalDialog() override { ++terminalDialogs; }
    void ShowOperatorNote(std::string text) override { notes.push_back(text); }

    std::vector<std::string> windowLines;
    std::vector<std::string> pollRecords;
    std::vector<int> refreshes;
    std::vector<std::string> boxes;
    std::vector<std::string> notes;
    int saves = 0;
    int terminalDialogs = 0;
};

}  // namespace zelo::core::testing

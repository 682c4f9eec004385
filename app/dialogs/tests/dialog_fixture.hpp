#pragma once

#include <string>
#include <vector>

#include "core/configuration.hpp"
#include "core/library_settings.hpp"
#include "core/program_model.hpp"
#include "core/tests/test_support.hpp"

namespace zelo::dialogs::testing {

using test_support::ReadAll;
using test_support::TemporaryFolder;
using test_support::WriteAll;

// Real files in a fresh folder, which is the working directory the view
// finds; the clock is fixed.
class FolderPlatform : public core::testing::FixedClockPlatform {
public:
    explicit FolderPlatform(std::string folder) : folder_(std::move(folder)) {}
    std::string CurrentDirectory() override { return folder_; }

private:
    std::string folder_;
};

// Zelocom.ini in a fresh folder, loaded and saved as the program does.
class ConfigurationFile {
public:
    void Load(core::ModelState& state) {
        core::LoadConfiguration(platform_, path_, state, view_, core::MissingModel::kUseDefault);
    }
    bool Save(const core::ModelState& state) {
        return core::SaveConfiguration(platform_, path_, state);
    }

private:
    TemporaryFolder folder_;
    core::testing::FixedClockPlatform platform_;
    core::testing::RecordingView view_;
    std::string path_ = folder_.File("Zelocom.ini");
};

// What the dialogs handed to the library, in order.
class RecordingLibrary : public core::LibrarySettings {
public:
    void SetTimeOut(int value) override { calls.push_back("time_out " + std::to_string(value)); }
    void SetNakDelay(int value) override { calls.push_back("NAK " + std::to_string(value)); }
    void SetEscDelay(int value) override { calls.push_back("ESC " + std::to_string(value)); }
    void SetPowerSaving(int status) override {
        calls.push_back("power_saving " + std::to_string(status));
    }
    void SetUploadSaveMode(int mode) override {
        calls.push_back("save_mode " + std::to_string(mode));
    }
    std::vector<std::string> calls;
};

// A started view over Zelocom.ini in a fresh folder, which may be written
// before the start.
class DialogFixture {
public:
    explicit DialogFixture(const std::string& configuration =
                               "[Communication]\n"
                               "Terminal_type=Fenna\n") {
        WriteAll(Ini(), configuration);
        view.StartUp();
    }
    std::string Ini() const { return folder.File("Zelocom.ini"); }
    std::string IniText() const { return ReadAll(Ini()); }
    bool IniHas(const std::string& line) const {
        return IniText().find(line + "\n") != std::string::npos;
    }

    TemporaryFolder folder;
    FolderPlatform platform{folder.Text()};
    core::testing::RecordingView duties;
    core::ProgramModel view{platform, duties};
    core::ModelState& state = view.State();
    RecordingLibrary library;
};

}  // namespace zelo::dialogs::testing

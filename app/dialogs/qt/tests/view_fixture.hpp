#pragma once

#include <string>

#include "core/program_model.hpp"
#include "test_support.hpp"

namespace zelo::dialogs::testing {

// A view started in a fresh folder holding the given Zelocom.ini.
class ViewFixture {
public:
    explicit ViewFixture(const std::string& ini) {
        platform_.directory = dir_.Text();
        test_support::WriteAll(IniPath(), ini);
        view_.StartUp();
    }
    core::ProgramModel& View() { return view_; }
    core::ModelState& State() { return view_.State(); }
    core::Platform& Platform() { return platform_; }
    std::string IniPath() const { return dir_.File("Zelocom.ini"); }
    std::string Ini() const { return test_support::ReadAll(IniPath()); }
    std::string File(const std::string& name) const { return dir_.File(name); }

private:
    class FolderPlatform : public core::testing::FixedClockPlatform {
    public:
        std::string CurrentDirectory() override { return directory; }
        std::string directory;
    };

    test_support::TemporaryFolder dir_;
    FolderPlatform platform_;
    core::testing::RecordingView duties_;
    core::ProgramModel view_{platform_, duties_};
};

inline std::string IniFor(const std::string& type, const std::string& more = {}) {
    return "[Communication]\nAddress=AB\nTerminal_type=" + type + "\nTERMINAL_TIMEOUT=02\n" + more;
}

}  // namespace zelo::dialogs::testing

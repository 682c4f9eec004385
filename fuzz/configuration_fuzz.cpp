// Zelocom.ini and the profile text beneath it, from any bytes: no crash, and
// a file settles after one save: load, save, load, save writes the same
// file twice. (The first save may differ from the input: it adds every
// setting the program keeps.)
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/configuration.hpp"
#include "core/front_end_duties.hpp"
#include "core/model_state.hpp"
#include "core/profile_text.hpp"
#include "memory_platform.hpp"

namespace {

void require(bool holds) {
    if (!holds) std::abort();
}

// The view's duties, none of which a load or a save needs done.
class NoView : public zelo::core::FrontEndDuties {
public:
    void AppendToMessageWindow(std::string) override {}
    void HandlePollRecord(char, std::string) override {}
    void RefreshProgress(bool) override {}
    void ShowMessageBox(std::string) override {}
    void SaveConfiguration() override {}
    void OpenTerminalDialog() override {}
};

std::string loadThenSave(zelo::fuzz::MemoryPlatform& platform, const std::string& path) {
    NoView view;
    zelo::core::ModelState state;
    zelo::core::LoadConfiguration(platform, path, state, view,
                                  zelo::core::MissingModel::kUseDefault);
    require(zelo::core::SaveConfiguration(platform, path, state));
    return platform.files.at(path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);

    // The profile text alone: what it reads back is what it was given.
    zelo::core::ProfileText text(input);
    require(zelo::core::ProfileText(text.Contents()).Contents() == text.Contents());
    text.Write("Communication", "Port", "1\r\nInjected=1");
    require(text.Read("Communication", "Port", "", 64) == "1");

    // A save writes every setting the program keeps (the phone book alone
    // is 200 keys), which makes the round trip a hundred times slower than
    // the text alone; it runs for one input length in eight.
    if (size % 8 != 0) return 0;
    zelo::fuzz::MemoryPlatform platform;
    const std::string path = "/fuzz/Zelocom.ini";
    platform.files[path] = input;
    const std::string first = loadThenSave(platform, path);
    const std::string second = loadThenSave(platform, path);
    require(first == second);
    return 0;
}

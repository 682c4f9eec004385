#include "dialogs/lanta_remote.hpp"

#include "dialogs/lanta_record.hpp"

namespace zelo::dialogs {

LantaCommand PrepareLantaCommand(core::Platform& platform, const std::string& configPath,
                                 core::ModelState& state, core::CommandArguments& args) {
    if (configPath.size() > kMaxLantaConfigPath) {
        return {false, "The path of the Lanta configuration file is longer than " +
                           std::to_string(kMaxLantaConfigPath) + " characters."};
    }
    std::string contents;
    const core::ReadResult read = platform.ReadFile(configPath, kMaxLantaFileBytes, contents);
    if (read == core::ReadResult::kMissing) return {false, configPath + " not found!"};

    state.lists.lantaConfigName = configPath;
    const LantaRecordResult built = read == core::ReadResult::kRead
                                        ? BuildLantaRecord(contents, configPath)
                                        : LantaRecordWithoutFile();
    if (built.kind == LantaRecordResult::Kind::kRefused) return {false, built.message};
    args.lantaRecord = built.record;
    return {true, built.message};
}

}  // namespace zelo::dialogs

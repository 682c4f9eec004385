// zelo32's command line and batch-script lines from any text: no crash, no
// line or token beyond its limit, and nothing of an over-long line kept.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/command_line.hpp"

using namespace zelo::core;

namespace {

void require(bool holds) {
    if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    for (bool useModem : {false, true}) {
        const SplitCommandLine split = SplitCommandLineText(text, useModem);
        if (split.refusal.empty()) {
            require(split.tokens.size() <= 5);
            for (const auto& token : split.tokens) require(token.size() <= kMaxTokenLength);
            if (split.tokens.size() >= 2) {
                if (const CommandCharacter* command = FindCommandCharacter(split.tokens[1][0]))
                    (void)CheckRunArguments(split.tokens, *command);
            }
        }
    }

    for (const ScriptLine& line : ScriptLinesOf(text)) {
        require(line.text.size() <= kMaxScriptLine);
        if (line.tooLong) require(line.text.empty());
        const auto tokens = SplitScriptLine(line.text);
        require(tokens.size() <= 5);
        if (tokens.size() >= 2) {
            if (const CommandCharacter* command = FindCommandCharacter(tokens[1][0]))
                (void)CheckRunArguments(tokens, *command);
        }
    }
    return 0;
}

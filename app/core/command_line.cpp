#include "core/command_line.hpp"

#include <array>

#include "core/command_table.hpp"
#include "core/model_records.hpp"
#include "link/comm_settings.hpp"

namespace zelo::core {
namespace {

constexpr std::array<CommandCharacter, 7> kCommandCharacters = {{
    {'1', kPoll, 2},
    {'A', kWarmStart, 2},
    {'E', kErase, 3},
    {'L', kDownloadListedFiles, 4},
    {'M', kTimeAndDate, 2},
    {'U', kUploadListedFiles, 4},
    {'X', kRun, 3},
}};

std::vector<std::string_view> SplitAt(std::string_view text, std::string_view delimiters) {
    std::vector<std::string_view> pieces;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t begin = text.find_first_not_of(delimiters, at);
        if (begin == std::string_view::npos) break;
        std::size_t end = text.find_first_of(delimiters, begin);
        if (end == std::string_view::npos) end = text.size();
        pieces.push_back(text.substr(begin, end - begin));
        at = end;
    }
    return pieces;
}

}  // namespace

const CommandCharacter* FindCommandCharacter(char c) {
    for (const auto& command : kCommandCharacters) {
        if (command.character == c) return &command;
    }
    return nullptr;
}

SplitCommandLine SplitCommandLineText(std::string_view text, bool useModem) {
    SplitCommandLine split;
    if (text.size() > kMaxCommandLineText) {
        split.refusal = "The command line is longer than " + std::to_string(kMaxCommandLineText) +
                        " characters; nothing was run.";
        return split;
    }
    std::vector<std::string_view> pieces = SplitAt(text, " ");
    std::size_t first = 0;
    if (useModem && !pieces.empty()) {
        if (pieces[0].size() > link::kMaxDialNumber) {
            split.refusal = "The phone number is longer than " +
                            std::to_string(link::kMaxDialNumber) + " characters; nothing was run.";
            return split;
        }
        split.phoneNumber = std::string(pieces[0]);
        first = 1;
    }
    if (pieces.size() - first > kCommandLineTokens) {
        split.refusal = "The command line has more than " + std::to_string(kCommandLineTokens) +
                        " parts; nothing was run.";
        return split;
    }
    for (std::size_t i = first; i < pieces.size(); ++i) {
        // Cannot exceed the line's own limit today; kept so that the token
        // buffers stay bounded if that limit changes.
        if (pieces[i].size() > kMaxTokenLength) {
            split.refusal = "A part of the command line is longer than " +
                            std::to_string(kMaxTokenLength) + " characters; nothing was run.";
            split.tokens.clear();
            return split;
        }
        split.tokens.emplace_back(pieces[i]);
    }
    return split;
}

std::string CheckRunArguments(const std::vector<std::string>& tokens,
                              const CommandCharacter& command) {
    if (!tokens.empty() && tokens[0].size() > link::kMaxAddresses) {
        return "The address list " + tokens[0] + " is longer than " +
               std::to_string(link::kMaxAddresses) + " terminals; nothing was run.";
    }
    if (command.commandCode == kErase && tokens.size() > 2 && tokens[2].size() > kMaxEraseName) {
        return "The file name " + tokens[2] + " is longer than " + std::to_string(kMaxEraseName) +
               " characters; nothing was erased.";
    }
    return {};
}

std::vector<ScriptLine> ScriptLinesOf(std::string_view contents) {
    std::vector<ScriptLine> lines;
    std::size_t at = 0;
    while (at < contents.size()) {
        std::size_t end = contents.find('\n', at);
        const std::size_t next = end == std::string_view::npos ? contents.size() : end + 1;
        if (end == std::string_view::npos) end = contents.size();
        std::string_view text = contents.substr(at, end - at);
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        ScriptLine line;
        line.number = lines.size() + 1;
        line.tooLong = text.size() > kMaxScriptLine;
        if (!line.tooLong) line.text = std::string(text);
        lines.push_back(std::move(line));
        at = next;
    }
    return lines;
}

std::vector<std::string> SplitScriptLine(std::string_view piece) {
    std::vector<std::string> tokens;
    for (std::string_view token : SplitAt(piece, " \r\n")) {
        if (tokens.size() == kCommandLineTokens) break;
        tokens.emplace_back(token);
    }
    return tokens;
}

}  // namespace zelo::core

#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zelo::core {

// What the command line asked for.
enum class CommandLineResult {
    kInteractive,  // no arguments: wait for the user
    kStarted,      // a command or a batch script is running
    kUnusable,     // unknown command character or too few parts: nothing runs
    kRefused,      // beyond a limit: nothing runs, the user was told why
    kScriptReady,  // a stopped script's tokens were rebuilt; nothing started
};

// Limits of a command-line run and of a batch script line. Anything beyond
// them is refused with a message rather than cut.
inline constexpr std::size_t kMaxCommandLineText = 99;  // after the program name
inline constexpr std::size_t kMaxTokenLength = 99;
inline constexpr std::size_t kMaxEraseName = 19;
inline constexpr std::size_t kMaxScriptLine = 99;  // a script line, without its end
// A batch script is a few lines; anything far larger is not one and is not
// read into memory.
inline constexpr std::size_t kMaxScriptBytes = 1 << 20;

// A command character of the command line and of script lines, with the
// command code it runs and the tokens (addresses and character included)
// it needs.
struct CommandCharacter {
    char character;
    int commandCode;
    int tokensNeeded;
};

// The entry for `c` exactly as written (the letters in upper case); null
// for any other character.
const CommandCharacter* FindCommandCharacter(char c);

// The command line split into its pieces.
struct SplitCommandLine {
    std::string refusal;      // non-empty: why the line is refused; nothing runs
    std::string phoneNumber;  // the first piece, when the modem is in use
    std::vector<std::string> tokens;
};

// Splits the text after the program name at blanks. With the modem in use
// the first piece is the phone number of the run and not a token.
SplitCommandLine SplitCommandLineText(std::string_view text, bool useModem);

// Why a line's addresses or erase name cannot be used (empty: they can).
std::string CheckRunArguments(const std::vector<std::string>& tokens,
                              const CommandCharacter& command);

// One line of a batch script as read: its number (from 1) and its text
// without the line end (LF or CR LF). A line longer than kMaxScriptLine is
// marked and its text left empty, so that no part of it can run.
struct ScriptLine {
    std::size_t number = 0;
    std::string text;
    bool tooLong = false;
};

// The lines of a script's whole contents. A last line without its end
// counts too.
std::vector<ScriptLine> ScriptLinesOf(std::string_view contents);

// One script line, split: the first token ends at a blank, the rest at a
// blank or a line end. At most kCommandLineTokens are kept. A carriage
// return ends a token too, so that scripts written on Windows read alike.
std::vector<std::string> SplitScriptLine(std::string_view piece);

}  // namespace zelo::core

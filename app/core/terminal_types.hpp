#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelo::core {

// The model name written to the configuration for a terminal type;
// "Gravo/Halda" for a type outside 0..6.
std::string_view TerminalTypeName(int terminalType);

// The terminal type a configured value names: its beginning is compared,
// case-insensitively, with the model names (so both "Gravo" and
// "Gravo/Halda" name type 0, while "Halda" alone names none).
std::optional<int> MatchTerminalType(std::string_view value);

// What a run that asks nobody says when Zelocom.ini names no terminal model
// and it keeps type 0.
std::string MissingModelNote();

// The two families of models differ in their timing and power saving.
enum class TerminalFamily { kA, kB };
TerminalFamily FamilyOf(int terminalType);

// The standard delays of a family, applied when the user asks for them in
// the terminal dialog.
struct FamilyPreset {
    int timeOut;
    int escDelay;
    int nakDelay;
    int powerSaving;
};
FamilyPreset PresetOf(TerminalFamily family);

// The per-address type (ProgressState::typeFound) the progress display
// keeps for a configured model: it draws six picture rows, and Brisa (6)
// shares Corvo's (5).
int TypeFoundFor(int terminalType);
// The picture row drawn for a typeFound value, always 0..5 whatever the
// value holds.
int PictureRowOf(int typeFound);

}  // namespace zelo::core

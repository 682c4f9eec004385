#include "core/terminal_types.hpp"

#include <array>
#include <utility>

#include "link/comm_settings.hpp"

namespace zelo::core {
namespace {

constexpr std::array<std::string_view, 7> kNames = {"Gravo/Halda", "Fenna", "Lanta", "Estra",
                                                    "Delmar",      "Corvo", "Brisa"};

// The order in which a configured value is matched against the names.
constexpr std::array<std::pair<std::string_view, int>, 7> kMatchOrder = {{
    {"Brisa", link::kBrisa},
    {"Estra", link::kEstra},
    {"Delmar", link::kDelmar},
    {"Corvo", link::kCorvo},
    {"Lanta", link::kLanta},
    {"Gravo", link::kGravoHalda},
    {"Fenna", link::kFenna},
}};

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiUpper(text[i]) != AsciiUpper(prefix[i])) return false;
    }
    return true;
}

}  // namespace

std::string_view TerminalTypeName(int terminalType) {
    if (terminalType < 0 || terminalType >= static_cast<int>(kNames.size())) return kNames[0];
    return kNames[static_cast<std::size_t>(terminalType)];
}

std::optional<int> MatchTerminalType(std::string_view value) {
    for (const auto& [name, type] : kMatchOrder) {
        if (StartsWithIgnoringCase(value, name)) return type;
    }
    return std::nullopt;
}

std::string MissingModelNote() {
    return "Zelocom.ini names no terminal model; keeping " + std::string(kNames[0]) +
           " (set Terminal_type in [Communication] to choose another).";
}

TerminalFamily FamilyOf(int terminalType) {
    switch (terminalType) {
        case link::kEstra:
        case link::kDelmar:
        case link::kCorvo: return TerminalFamily::kB;
        default: return TerminalFamily::kA;
    }
}

FamilyPreset PresetOf(TerminalFamily family) {
    return family == TerminalFamily::kB ? FamilyPreset{500, 30, 100, 1}
                                        : FamilyPreset{400, 10, 30, 0};
}

int TypeFoundFor(int terminalType) {
    return terminalType == link::kBrisa ? link::kCorvo : terminalType;
}

int PictureRowOf(int typeFound) {
    constexpr int kPictureRows = 6;
    if (typeFound < 0) return 0;
    return typeFound < kPictureRows ? typeFound : kPictureRows - 1;
}

}  // namespace zelo::core

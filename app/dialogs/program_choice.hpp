#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/user_interface.hpp"
#include "dialogs/field_checks.hpp"
#include "dialogs/terminal_listing.hpp"

namespace zelo::dialogs {

// The longest program name the auto-run and run commands take.
inline constexpr std::size_t kMaxProgramName = 19;

// A program in a listing: more than four characters, ending in ".EXE" in
// any case.
bool IsProgramName(std::string_view name);

// The program choice dialog (auto-run and run): the programs of one
// address, and the name to use, picked from the list or typed.
class ProgramChoice {
public:
    explicit ProgramChoice(const core::PickRequest& request);

    const TerminalListing& Listing() const { return listing_; }
    // The current address's programs, sorted.
    const std::vector<std::string>& Programs() const { return programs_; }

    // A double click on an address shows its programs.
    void SelectAddress(char address);
    // A double click on a program puts its name into the edit.
    void ChooseProgram(std::size_t index);

    // Why OK cannot take the name: longer than a program name may be.
    Refusal Check() const;
    // OK: the name, the address shown and the scope.
    core::PickAnswer Answer() const;

    std::string fileText;   // the edit's text
    int terminalScope = 1;  // 0 the address shown, 1 every selected terminal

private:
    void Fill();

    TerminalListing listing_;
    std::vector<std::string> programs_;
};

}  // namespace zelo::dialogs

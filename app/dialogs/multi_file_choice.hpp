#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/user_interface.hpp"
#include "dialogs/field_checks.hpp"
#include "dialogs/terminal_listing.hpp"

namespace zelo::dialogs {

// The terminal-file choice dialog (upload and erase of chosen files): the
// files of one address, moved between an available and a chosen list, both
// kept sorted.
class MultiFileChoice {
public:
    explicit MultiFileChoice(const core::PickRequest& request);

    // The longest name that may be chosen; 0: any.
    std::size_t MaxNameLength() const { return maxNameLength_; }

    const TerminalListing& Listing() const { return listing_; }
    const std::vector<std::string>& Available() const { return available_; }
    const std::vector<std::string>& Chosen() const { return chosen_; }

    // A double click on an address shows its files; the files chosen so
    // far are dropped.
    void SelectAddress(char address);
    // A double click on an available file chooses it; refused, changing
    // nothing, when kMaxPickedFiles are chosen already or the name is longer
    // than the command takes (an erased file's name).
    Refusal Choose(std::size_t availableIndex);
    // A double click on a chosen file puts it back.
    void Unchoose(std::size_t chosenIndex);

    // OK: the chosen files in their order, the address shown and the scope.
    core::PickAnswer Answer() const;

    int terminalScope = 1;  // 0 the address shown, 1 every selected terminal

private:
    void Fill();

    TerminalListing listing_;
    std::size_t maxNameLength_;
    std::vector<std::string> available_;
    std::vector<std::string> chosen_;
};

}  // namespace zelo::dialogs

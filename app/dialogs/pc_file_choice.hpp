#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/model_state.hpp"
#include "core/user_interface.hpp"
#include "dialogs/download_list_form.hpp"
#include "dialogs/field_checks.hpp"

namespace zelo::dialogs {

// The PC file chooser of the download from a directory: PC files gathered
// one browse at a time, kept sorted, at most kMaxPickedFiles of them.
class PcFileChoice {
public:
    explicit PcFileChoice(std::string_view addresses);

    // For display only: the addresses of the run, sorted.
    const std::vector<char>& Addresses() const { return addresses_; }
    const std::vector<std::string>& Chosen() const { return chosen_; }

    // A browsed path joins the chosen files. Refused, changing nothing, when
    // it is longer than a name the transfer lists hold or the list is full.
    Refusal Add(std::string path);
    // A double click on a chosen file takes it out again.
    void Remove(std::size_t index);

    int terminalScope = 1;  // shown, but the command does not use it

private:
    std::vector<char> addresses_;
    std::vector<std::string> chosen_;
};

// OK: the chosen files, in the list's order, become the picked files of the
// download; true when there is at least one, and the caller then starts the
// download of chosen files. With none nothing changes.
bool ConfirmPcFiles(core::ModelState& state, const PcFileChoice& choice);

}  // namespace zelo::dialogs

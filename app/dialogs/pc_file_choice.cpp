#include "dialogs/pc_file_choice.hpp"

#include "dialogs/sorted_names.hpp"

namespace zelo::dialogs {

PcFileChoice::PcFileChoice(std::string_view addresses) : addresses_(SortedAddresses(addresses)) {}

Refusal PcFileChoice::Add(std::string path) {
    Refusal refusal = CheckLength(path, kMaxListName, "The chosen path");
    if (!refusal.empty()) return refusal;
    if (chosen_.size() >= core::kMaxPickedFiles) {
        return "At most " + std::to_string(core::kMaxPickedFiles) +
               " files can be chosen at a time.";
    }
    InsertSorted(chosen_, std::move(path));
    return {};
}

void PcFileChoice::Remove(std::size_t index) {
    if (index < chosen_.size()) chosen_.erase(chosen_.begin() + static_cast<std::ptrdiff_t>(index));
}

bool ConfirmPcFiles(core::ModelState& state, const PcFileChoice& choice) {
    if (choice.Chosen().empty()) return false;
    state.lists.pickedFiles = choice.Chosen();
    return true;
}

}  // namespace zelo::dialogs

#include "dialogs/multi_file_choice.hpp"

#include "dialogs/sorted_names.hpp"

namespace zelo::dialogs {
namespace {

std::string TakeAt(std::vector<std::string>& list, std::size_t index) {
    std::string name = std::move(list[index]);
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
    return name;
}

}  // namespace

MultiFileChoice::MultiFileChoice(const core::PickRequest& request)
    : listing_(request.addresses, request.listings), maxNameLength_(request.maxNameLength) {
    Fill();
}

void MultiFileChoice::Fill() {
    available_.clear();
    chosen_.clear();
    for (std::string& name : listing_.CurrentNames()) InsertSorted(available_, std::move(name));
}

void MultiFileChoice::SelectAddress(char address) {
    if (listing_.SelectAddress(address)) Fill();
}

Refusal MultiFileChoice::Choose(std::size_t availableIndex) {
    if (availableIndex >= available_.size()) return {};
    if (maxNameLength_ != 0) {
        Refusal refusal = CheckLength(available_[availableIndex], maxNameLength_, "The file name");
        if (!refusal.empty()) return refusal;
    }
    if (chosen_.size() >= core::kMaxPickedFiles) {
        return "At most " + std::to_string(core::kMaxPickedFiles) +
               " files can be chosen at a time.";
    }
    InsertSorted(chosen_, TakeAt(available_, availableIndex));
    return {};
}

void MultiFileChoice::Unchoose(std::size_t chosenIndex) {
    if (chosenIndex >= chosen_.size()) return;
    InsertSorted(available_, TakeAt(chosen_, chosenIndex));
}

core::PickAnswer MultiFileChoice::Answer() const {
    core::PickAnswer answer;
    answer.names = chosen_;
    answer.address = listing_.CurrentAddress();
    answer.allAddresses = terminalScope == 1 ? 1 : 0;
    return answer;
}

}  // namespace zelo::dialogs

#include "dialogs/program_choice.hpp"

#include "dialogs/sorted_names.hpp"

namespace zelo::dialogs {

bool IsProgramName(std::string_view name) {
    if (name.size() <= 4) return false;
    const std::string_view tail = name.substr(name.size() - 4);
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    return tail[0] == '.' && upper(tail[1]) == 'E' && upper(tail[2]) == 'X' &&
           upper(tail[3]) == 'E';
}

ProgramChoice::ProgramChoice(const core::PickRequest& request)
    : listing_(request.addresses, request.listings) {
    Fill();
}

void ProgramChoice::Fill() {
    programs_.clear();
    for (std::string& name : listing_.CurrentNames()) {
        if (IsProgramName(name)) InsertSorted(programs_, std::move(name));
    }
}

void ProgramChoice::SelectAddress(char address) {
    if (listing_.SelectAddress(address)) Fill();
}

void ProgramChoice::ChooseProgram(std::size_t index) {
    if (index < programs_.size()) fileText = programs_[index];
}

Refusal ProgramChoice::Check() const {
    return CheckLength(fileText, kMaxProgramName, "The program name");
}

core::PickAnswer ProgramChoice::Answer() const {
    core::PickAnswer answer;
    answer.names = {fileText};
    answer.address = listing_.CurrentAddress();
    answer.allAddresses = terminalScope == 1 ? 1 : 0;
    return answer;
}

}  // namespace zelo::dialogs

#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/model_records.hpp"
#include "link/comm_settings.hpp"

namespace zelo::core {

// What the terminal-file and program choice dialogs are given.
struct PickRequest {
    std::string title;           // empty: the dialog's own; "Run Program select" for programs
    bool programChoice = false;  // one program instead of up to kMaxPickedFiles files
    std::string addresses;       // the address string of the run
    // The directory listing of each address position.
    const std::array<std::string, link::kAddressSlots>* listings = nullptr;
    // The longest name that may be chosen (the erase command's); 0: any.
    std::size_t maxNameLength = 0;
};

// What they return on OK.
struct PickAnswer {
    std::vector<std::string> names;  // at most kMaxPickedFiles; one for a program
    char address = ' ';              // the terminal the choice is for
    int allAddresses = 1;            // 1: every selected terminal
};

inline constexpr std::size_t kMaxPickedFiles = 40;

// Everything a command asks the user while its worker runs: message boxes
// and the dialogs of the command table. The desktop interface shows real
// boxes; the console program answers as an unattended run must; tests
// answer from a script.
//
// Threads: called on the worker thread. A desktop stops with BeginStop and
// PollStop, which never block its user interface thread, so a dialog the
// worker waits on can still be answered during a Stop; the console program
// answers every question at once.
class UserInterface {
public:
    virtual ~UserInterface() = default;

    // A box with an OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // A box with Yes and No; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    // The terminal-file or program choice dialog; nothing on Cancel.
    virtual std::optional<PickAnswer> PickTerminalFiles(const PickRequest& request) = 0;
    // The dial dialog over the phone book: the number to dial, nothing on
    // Cancel or when the chosen line holds no number.
    virtual std::optional<std::string> ChooseDialNumber(const PhoneBook& phoneBook) = 0;
    // The date and time dialog, started with the PC clock; false on Cancel.
    virtual bool ChooseDateTime(TimeSyncRequest& request) = 0;
};

}  // namespace zelo::core

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "link/operation_requests.hpp"

namespace zelo::dialogs {

// What the two choice dialogs share: the addresses of the run, sorted for
// the address list, the address whose files are shown, and each address's
// directory listing. Copied from the request when the dialog opens, so the
// dialog never reads the worker's records afterwards.
class TerminalListing {
public:
    TerminalListing(std::string_view addresses, const link::DirectoryTexts* listings);

    const std::vector<char>& Addresses() const { return sorted_; }
    // The first address in sorted order at the start; ' ' without any.
    char CurrentAddress() const { return current_; }
    // Makes `address` current when it is one of the run's.
    bool SelectAddress(char address);
    // The names in the current address's listing, empty pieces dropped.
    std::vector<std::string> CurrentNames() const;

private:
    std::string addresses_;
    std::vector<char> sorted_;
    link::DirectoryTexts listings_;
    char current_ = ' ';
};

}  // namespace zelo::dialogs

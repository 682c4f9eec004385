#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelo::dialogs {

// The order of the dialogs' sorted lists: alphabetical without regard to
// case, ties broken by the exact characters so that the order is total.
bool SortsBefore(std::string_view a, std::string_view b);

// Adds `name` to a list kept in that order.
void InsertSorted(std::vector<std::string>& list, std::string name);

// A terminal's directory listing split at every ',', empty pieces dropped.
std::vector<std::string> SplitListing(std::string_view listing);

// One entry per address character, sorted as the address list shows them.
std::vector<char> SortedAddresses(std::string_view addresses);

}  // namespace zelo::dialogs

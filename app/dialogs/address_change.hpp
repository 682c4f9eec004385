#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace zelo::dialogs {

// The address-change dialog's two drop-down lists: the addresses in use
// ("before"), in their order, and every address of the alphabet not in use
// ("after"), in the alphabet's order.
struct AddressChangeLists {
    std::string before;
    std::string after;
};
AddressChangeLists AddressChangeListsFor(std::string_view addresses);

// The old and the new address for the entries chosen in each list; nothing
// while either list has no valid choice (OK stays disabled then).
std::optional<std::array<char, 2>> ChosenAddressChange(const AddressChangeLists& lists,
                                                       int beforeIndex, int afterIndex);

}  // namespace zelo::dialogs

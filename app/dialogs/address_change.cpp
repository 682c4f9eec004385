#include "dialogs/address_change.hpp"

#include "link/comm_settings.hpp"

namespace zelo::dialogs {
namespace {

bool ValidIndex(int index, const std::string& list) {
    return index >= 0 && static_cast<std::size_t>(index) < list.size();
}

}  // namespace

AddressChangeLists AddressChangeListsFor(std::string_view addresses) {
    AddressChangeLists lists;
    lists.before = std::string(addresses.substr(0, addresses.find('\0')));
    for (char address : link::kAddressAlphabet) {
        if (lists.before.find(address) == std::string::npos) lists.after += address;
    }
    return lists;
}

std::optional<std::array<char, 2>> ChosenAddressChange(const AddressChangeLists& lists,
                                                       int beforeIndex, int afterIndex) {
    if (!ValidIndex(beforeIndex, lists.before) || !ValidIndex(afterIndex, lists.after)) {
        return std::nullopt;
    }
    return std::array<char, 2>{lists.before[static_cast<std::size_t>(beforeIndex)],
                               lists.after[static_cast<std::size_t>(afterIndex)]};
}

}  // namespace zelo::dialogs

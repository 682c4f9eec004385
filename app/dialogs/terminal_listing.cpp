#include "dialogs/terminal_listing.hpp"

#include "dialogs/sorted_names.hpp"

namespace zelo::dialogs {

TerminalListing::TerminalListing(std::string_view addresses, const link::DirectoryTexts* listings)
    : addresses_(addresses.substr(0, link::kAddressSlots)), sorted_(SortedAddresses(addresses_)) {
    if (listings != nullptr) listings_ = *listings;
    if (!sorted_.empty()) current_ = sorted_.front();
}

bool TerminalListing::SelectAddress(char address) {
    if (addresses_.find(address) == std::string::npos) return false;
    current_ = address;
    return true;
}

std::vector<std::string> TerminalListing::CurrentNames() const {
    const std::size_t k = addresses_.find(current_);
    if (k == std::string::npos) return {};
    return SplitListing(listings_[k]);
}

}  // namespace zelo::dialogs

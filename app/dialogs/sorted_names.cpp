#include "dialogs/sorted_names.hpp"

#include <algorithm>

namespace zelo::dialogs {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool SortsBefore(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(Lower(a[i]));
        const auto y = static_cast<unsigned char>(Lower(b[i]));
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

void InsertSorted(std::vector<std::string>& list, std::string name) {
    const auto at = std::upper_bound(
        list.begin(), list.end(), name,
        [](const std::string& x, const std::string& y) { return SortsBefore(x, y); });
    list.insert(at, std::move(name));
}

std::vector<std::string> SplitListing(std::string_view listing) {
    std::vector<std::string> names;
    std::size_t begin = 0;
    while (begin <= listing.size()) {
        std::size_t end = listing.find(',', begin);
        if (end == std::string_view::npos) end = listing.size();
        if (end > begin) names.emplace_back(listing.substr(begin, end - begin));
        begin = end + 1;
    }
    return names;
}

std::vector<char> SortedAddresses(std::string_view addresses) {
    std::vector<char> sorted(addresses.begin(), addresses.end());
    std::stable_sort(sorted.begin(), sorted.end(), [](char a, char b) {
        return SortsBefore(std::string_view(&a, 1), std::string_view(&b, 1));
    });
    return sorted;
}

}  // namespace zelo::dialogs

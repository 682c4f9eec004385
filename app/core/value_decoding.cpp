#include "core/value_decoding.hpp"

#include <array>
#include <climits>
#include <cstdio>

#include "link/comm_settings.hpp"

namespace zelo::core {
namespace {

constexpr std::array<long, 10> kBaudRates = {110,  300,  600,   1200,  2400,
                                             4800, 9600, 19200, 38400, 57600};

}  // namespace

int DecodeInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

char UpperLetterAt(std::string_view text, std::size_t position) {
    if (position >= text.size()) return '\0';
    const char c = text[position];
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

TimeParts ParseTimeText(std::string_view text) {
    std::array<int, 3> parts{};
    for (std::size_t part = 0; part < parts.size() && !text.empty(); ++part) {
        const std::size_t colon = text.find(':');
        parts[part] = DecodeInteger(text.substr(0, colon));
        text = colon == std::string_view::npos ? std::string_view{} : text.substr(colon + 1);
    }
    return {parts[0], parts[1], parts[2]};
}

std::string NormalizeTimeText(std::string_view text) {
    const TimeParts parts = ParseTimeText(text);
    char formatted[48];
    std::snprintf(formatted, sizeof formatted, "%.2d:%.2d:%.2d", parts.hour, parts.minute,
                  parts.second);
    return formatted;
}

std::string FilterAddresses(std::string_view text) {
    std::string addresses;
    for (const char c : text) {
        if ((c >= 'A' && c <= 'Y') || (c >= '0' && c <= '6')) {
            addresses += c;
        } else if (c >= 'a' && c <= 'y') {
            addresses += static_cast<char>(c - 'a' + 'A');
        }
    }
    return addresses;
}

int BaudIndexOfRate(int rate) {
    for (std::size_t i = 0; i < kBaudRates.size(); ++i) {
        if (kBaudRates[i] == rate) return static_cast<int>(i);
    }
    return link::kBaudIndex9600;
}

long BaudRateOfIndex(int index) {
    if (index < 0 || index >= static_cast<int>(kBaudRates.size())) index = link::kBaudIndex9600;
    return kBaudRates[static_cast<std::size_t>(index)];
}

}  // namespace zelo::core

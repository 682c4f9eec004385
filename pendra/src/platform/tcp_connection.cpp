// What the POSIX and Winsock connections share.
#include "tcp_connection.hpp"

#include <cctype>

namespace pendra::platform {

std::string durationText(std::chrono::milliseconds limit) {
    const long long ms = limit.count();
    if (ms % 1000 == 0) return std::to_string(ms / 1000) + " s";
    return std::to_string(ms) + " ms";
}

bool neverResolves(const std::string& host) {
    std::string lower;
    for (char c : host)
        lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    while (!lower.empty() && lower.back() == '.') lower.pop_back();
    const std::string suffix = ".invalid";
    return lower == "invalid" ||
           (lower.size() > suffix.size() &&
            lower.compare(lower.size() - suffix.size(), suffix.size(), suffix) == 0);
}

}  // namespace pendra::platform

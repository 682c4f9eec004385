#include "network_address.hpp"

#include <cctype>

namespace pendra::platform {

namespace {

constexpr std::size_t kMaxHost = 253;

struct Scheme {
    const char* prefix;
    NetworkAddress::Kind kind;
};
constexpr Scheme kSchemes[] = {
    {"rfc2217://", NetworkAddress::Kind::ComPortControl},
    {"socket://", NetworkAddress::Kind::RawSocket},
};

bool startsWithFolded(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

bool nameCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_';
}

bool ipv6Character(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.';
}

}  // namespace

bool isNetworkAddress(const std::string& path) {
    for (const Scheme& scheme : kSchemes) {
        if (startsWithFolded(path, scheme.prefix)) return true;
    }
    return false;
}

std::optional<NetworkAddress> parseNetworkAddress(const std::string& path, std::string& error) {
    NetworkAddress address;
    std::string rest;
    bool known = false;
    for (const Scheme& scheme : kSchemes) {
        if (startsWithFolded(path, scheme.prefix)) {
            address.kind = scheme.kind;
            rest = path.substr(std::string(scheme.prefix).size());
            known = true;
        }
    }
    if (!known) {
        error = "not a network address (rfc2217://HOST:PORT or socket://HOST:PORT)";
        return std::nullopt;
    }
    std::size_t portStart = 0;
    if (!rest.empty() && rest[0] == '[') {
        const auto close = rest.find(']');
        if (close == std::string::npos) {
            error = "an IPv6 address needs its closing ']'";
            return std::nullopt;
        }
        address.host = rest.substr(1, close - 1);
        for (char c : address.host) {
            if (!ipv6Character(c)) {
                error = "the IPv6 address in brackets has a character no address has";
                return std::nullopt;
            }
        }
        portStart = close + 1;
    } else {
        const auto colon = rest.rfind(':');
        address.host = rest.substr(0, colon == std::string::npos ? rest.size() : colon);
        for (char c : address.host) {
            if (!nameCharacter(c)) {
                error =
                    "the host name has a character no name has (an IPv6 address goes in "
                    "brackets)";
                return std::nullopt;
            }
        }
        portStart = address.host.size();
    }
    if (address.host.empty() || address.host.size() > kMaxHost) {
        error = address.host.empty() ? "no host before the port" : "the host name is too long";
        return std::nullopt;
    }
    if (portStart >= rest.size() || rest[portStart] != ':') {
        error = "no port: write HOST:PORT";
        return std::nullopt;
    }
    const std::string digits = rest.substr(portStart + 1);
    long port = 0;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c)) || port > 65535) {
            error = "the port must be a number from 1 to 65535, and nothing may follow it";
            return std::nullopt;
        }
        port = port * 10 + (c - '0');
    }
    if (digits.empty() || port < 1 || port > 65535) {
        error = "the port must be a number from 1 to 65535, and nothing may follow it";
        return std::nullopt;
    }
    address.port = static_cast<uint16_t>(port);
    return address;
}

}  // namespace pendra::platform

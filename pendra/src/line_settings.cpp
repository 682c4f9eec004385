#include "line_settings.hpp"

namespace pendra {

std::optional<platform::LineSettings> settingsFromCharacters(int16_t baud, int16_t stop,
                                                             int16_t parity) {
    static constexpr int32_t kSpeeds[] = {110, 150, 300, 600, 1200, 2400, 4800, 9600, 19200, 38400};
    platform::LineSettings settings;
    if (baud >= '0' && baud <= '9') {
        settings.baud = kSpeeds[baud - '0'];
    } else if (baud == 'A') {
        settings.baud = 57600;
    } else {
        return std::nullopt;
    }
    switch (stop) {
        case '0':
        case '1': settings.stopBits = 1; break;
        case '2': settings.stopBits = 2; break;
        default: return std::nullopt;
    }
    switch (parity) {
        case '0':
        case 'N': settings.parity = 'N'; break;
        case 'O':
        case 'E': settings.parity = static_cast<char>(parity); break;
        default: return std::nullopt;
    }
    return settings;
}

int bitsPerCharacter(const platform::LineSettings& settings) {
    return 1 + 8 + (settings.parity == 'N' ? 0 : 1) + settings.stopBits;
}

std::chrono::milliseconds lineTime(const platform::LineSettings& settings, std::size_t bytes) {
    const long long bits = static_cast<long long>(bytes) * bitsPerCharacter(settings);
    // Rounded up, so that a bound built on it never falls short.
    return std::chrono::milliseconds((bits * 1000 + settings.baud - 1) / settings.baud);
}

}  // namespace pendra

// The characters Pendra_SetupEx receives, turned into line settings, and the
// time bytes take on such a line.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "serial_port.hpp"

namespace pendra {

// Speed: '0' 110, '1' 150, '2' 300, '3' 600, '4' 1200, '5' 2400, '6' 4800,
// '7' 9600, '8' 19200, '9' 38400, 'A' 57600 ('1' is never produced by the
// command library; 150 is the standard rate between its neighbours).
// Stop bits: '2' two, '1' or '0' one. Parity: 'O' odd, 'E' even, 'N' or '0'
// none. nullopt for any other character.
std::optional<platform::LineSettings> settingsFromCharacters(int16_t baud, int16_t stop,
                                                             int16_t parity);

// Start bit, eight data bits, parity bit if any, stop bits.
int bitsPerCharacter(const platform::LineSettings& settings);

std::chrono::milliseconds lineTime(const platform::LineSettings& settings, std::size_t bytes);

}  // namespace pendra

#pragma once

#include <string>
#include <vector>

#include "core/profile_text.hpp"

namespace zelo::core {

// The values of a configuration text that the loader cannot read as they
// stand and replaces (a speed it does not know, a number without digits, a
// choice letter it does not know, a text cut to its buffer), each as
// "Zelocom.ini:12: BaudRate=14400 is not a speed; 9600 is used". The
// loader itself is unchanged: this only tells the operator what it did.
std::vector<std::string> CheckConfiguration(const ProfileText& text, const std::string& fileName);

}  // namespace zelo::core

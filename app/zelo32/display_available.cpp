#include <cstdlib>

#include "zelo32/display_front_end.hpp"

namespace zelo::program_main {
namespace {

bool Named(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

}  // namespace

bool DisplayAvailable() { return Named("DISPLAY") || Named("WAYLAND_DISPLAY"); }

}  // namespace zelo::program_main

// The build without the desktop interface: zelo32 is the console program.
#include "zelo32/display_front_end.hpp"

namespace zelo::program_main {

std::optional<int> RunOnDisplay(int&, char**, const std::string&, const std::atomic<int>&) {
    return std::nullopt;
}

}  // namespace zelo::program_main

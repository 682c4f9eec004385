#include "library_state.hpp"

namespace zelo {

namespace {
std::unique_ptr<LibraryState>& instance() {
    static std::unique_ptr<LibraryState> current = std::make_unique<LibraryState>();
    return current;
}
}  // namespace

LibraryState& state() { return *instance(); }

void resetStateForTesting() { instance() = std::make_unique<LibraryState>(); }

}  // namespace zelo

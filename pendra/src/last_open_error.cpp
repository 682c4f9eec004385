#include "last_open_error.hpp"

#include <mutex>

namespace pendra {
namespace {

std::mutex& errorMutex() {
    static std::mutex mutex;
    return mutex;
}

OpenError& remembered() {
    static OpenError error;
    return error;
}

}  // namespace

void recordOpenError(platform::OpenFailure failure, const std::string& text) {
    std::lock_guard<std::mutex> guard(errorMutex());
    remembered() = {failure, text};
}

OpenError lastOpenError() {
    std::lock_guard<std::mutex> guard(errorMutex());
    return remembered();
}

}  // namespace pendra

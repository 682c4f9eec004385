#include "local_file_error.hpp"

#include <algorithm>
#include <cstring>

#include "library_state.hpp"
#include "zelodll.h"

namespace zelo {

void clearLocalFileError() { state().transfer.localFileError.clear(); }

void noteLocalFileError(std::string_view path, std::string_view action) {
    const std::string reason = lastSystemErrorText();
    std::string text(path);
    text += ": ";
    text += action;
    if (!reason.empty()) text += ": " + reason;
    state().transfer.localFileError = std::move(text);
}

const std::string& localFileError() { return state().transfer.localFileError; }

}  // namespace zelo

extern "C" {

int32_t ZELO_API HM_last_file_error_text(char* text, int32_t room) try {
    const std::string& error = zelo::localFileError();
    if (text != nullptr && room > 0) {
        const std::size_t length = std::min(error.size(), static_cast<std::size_t>(room) - 1);
        std::memcpy(text, error.data(), length);
        text[length] = 0;
    }
    return error.empty() ? 0 : 1;
} catch (...) {
    return 0;
}

}  // extern "C"

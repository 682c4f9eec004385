#include "core/error_log.hpp"

#include "core/model_state.hpp"

namespace zelo::core {

bool ErrorLog::OpenForAppend(const std::string& path) {
    Close();
    // Opening for appending creates a missing file. A log that exists but
    // cannot be opened is left alone rather than created anew, which would
    // throw away the lines it holds.
    file_.open(path, std::ios::binary | std::ios::app);
    open_ = file_.is_open();
    return open_;
}

bool ErrorLog::OpenNew(const std::string& path) {
    Close();
    file_.open(path, std::ios::binary | std::ios::trunc);
    open_ = file_.is_open();
    return open_;
}

void ErrorLog::Append(std::string_view line) {
    if (!open_) return;
    file_.write(line.data(), static_cast<std::streamsize>(line.size()));
    file_.flush();
    // A failed write (full disk) must not stop the lines that follow.
    file_.clear();
}

void ErrorLog::Close() {
    if (open_) file_.close();
    open_ = false;
    file_.clear();
}

std::string OpenErrorLog(ErrorLog& log, int& mode, const std::string& path) {
    if (mode == kErrorLogAppend && !log.OpenForAppend(path)) {
        mode = kErrorLogOff;
        return "Error log file open error !";
    }
    if (mode == kErrorLogNew && !log.OpenNew(path)) {
        mode = kErrorLogOff;
        return "Error log file open error!";
    }
    return {};
}

}  // namespace zelo::core

#include "core/error_log.hpp"

#include "core/view_state.hpp"

namespace zelo::core {

bool ErrorLog::OpenForAppend(const std::string& path) {
    Close();
    // Opening for appending creates a missing file. A log that exists but
    // cannot be opened is left alone rather than created anew, which would
    // throw away the lines it holds.
    file_.open(path, std::ios::binary | std::ios::app);
    return file_.is_open();
}

bool ErrorLog::OpenNew(const std::string& path) {
    Close();
    file_.open(path, std::ios::binary | std::ios::trunc);
    return file_.is_open();
}

void ErrorLog::Append(std::string_view line) {
    if (!file_.is_open()) return;
    file_.write(line.data(), static_cast<std::streamsize>(line.size()));
    file_.flush();
    // A failed write (full disk) must not stop the lines that follow.
    file_.clear();
}

void ErrorLog::Close() {
    if (file_.is_open()) file_.close();
    file_.clear();
}

void OpenErrorLog(ErrorLog& log, int& mode, const std::string& path, ViewDuties& view) {
    if (mode == kErrorLogAppend && !log.OpenForAppend(path)) {
        view.ShowMessageBox("Error log file open error !");
        mode = kErrorLogOff;
    } else if (mode == kErrorLogNew && !log.OpenNew(path)) {
        view.ShowMessageBox("Error log file open error!");
        mode = kErrorLogOff;
    }
}

}  // namespace zelo::core

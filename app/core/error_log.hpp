#pragma once

#include <fstream>
#include <string>
#include <string_view>

namespace zelo::core {

// ERR_LOG.TXT: the result lines with a real result code, CR LF included.
// Opened and closed on the user interface thread while no command runs;
// written by the result-line writer on the worker thread.
class ErrorLog {
public:
    // Append mode keeps what the file holds and writes at its end (creating
    // the file when missing); new mode starts it empty. False when the file
    // could not be opened.
    bool OpenForAppend(const std::string& path);
    bool OpenNew(const std::string& path);
    // Each line goes to disk at once, so a crash loses none that was shown.
    void Append(std::string_view line);
    void Close();

private:
    // Set only by an open that succeeded: a log that failed to open is
    // never written or closed, whatever state the stream is left in.
    bool open_ = false;
    std::ofstream file_;
};

// Opens the log for the configured mode (off, append, new). When it cannot
// be opened the mode becomes off until the settings change it, and the
// result is the box to tell the user once; empty when the log opened.
std::string OpenErrorLog(ErrorLog& log, int& mode, const std::string& path);

}  // namespace zelo::core

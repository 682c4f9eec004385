#include "link/poll_file.hpp"

#include <cerrno>
#include <cstring>
#include <string>

#include "link/terminal_link.hpp"

namespace zelo::link {

void CTerminalLink::OpenPollFile(const PollSettings& settings, PollContext& context,
                                 LinkStatus& status) {
    // A run ended by Stop leaves its file open; close it before opening the
    // file again so no handle leaks and nothing is written through it twice.
    context.file.reset();
    status.pollFileOpen = 0;

    // Append never empties a file that exists but cannot be opened: that
    // would throw away the records it holds.
    errno = 0;
    context.file = settings.openMethod == 0 ? Environment().OpenForAppend(settings.pollFileName)
                                            : Environment().CreateEmpty(settings.pollFileName);
    if (context.file == nullptr) {
        const int error = errno;
        ExplainFailure(settings.pollFileName + ": cannot open for the polled records" +
                       (error != 0 ? std::string(": ") + std::strerror(error) : std::string()));
        ShowMessageBox("Poll Data file open error");
        return;
    }
    status.pollFileOpen = 1;
}

bool StorePollRecord(PollContext& context, char address, std::string_view record) {
    if (context.file == nullptr) return false;
    std::string line;
    line.reserve(record.size() + 2);
    line += address;
    line += ' ';
    line += record;
    const bool written = context.file->Write(line);
    // Flush even after a failed write, so what did go out is not held back.
    const bool flushed = context.file->Flush();
    return written && flushed;
}

}  // namespace zelo::link

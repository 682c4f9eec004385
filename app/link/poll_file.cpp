#include "link/poll_file.hpp"

#include <zelodll.h>

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
    // What an earlier run left is read before a New run empties the file:
    // records it had stored count as stored, and are not taken again.
    context.numbers = std::make_unique<PollNumbers>(Environment(), settings.pollFileName);
    context.numbers->Recover();
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
    if (!CommitPollRecords(context)) {
        context.file.reset();
        ExplainFailure(settings.pollFileName + ": cannot sync it or keep the numbers beside it");
        ShowMessageBox("Poll Data file open error");
        return;
    }
    status.pollFileOpen = 1;
}

bool StorePollRecord(PollContext& context, char address, std::string_view record, uint32_t number) {
    if (context.file == nullptr || context.numbers == nullptr) return false;
    std::string line;
    line.reserve(record.size() + 2);
    line += address;
    line += ' ';
    line += record;
    if (!context.numbers->Note(address, number, line) || !context.file->Write(line)) return false;
    context.numbers->Wrote(address, number);
    return true;
}

bool CommitPollRecords(PollContext& context) {
    if (context.file == nullptr || context.numbers == nullptr ||
        !context.numbers->Commit(*context.file)) {
        return false;
    }
    for (const auto& [address, number] : context.numbers->TakeUnreported())
        HM_poll_stored(static_cast<unsigned char>(address), number);
    return true;
}

}  // namespace zelo::link

#pragma once

#include <functional>
#include <string>

#include "link/terminal_link.hpp"

namespace zelo::link {

// How a single-terminal command's result becomes the terminal's status.
enum class StatusRule {
    kCommand,     // 0 done, 4 time out, 7 still working, else failed
    kQuery,       // as kCommand, but 7 (nothing to report) writes no line
    kAddressSet,  // 0 done, 48 no such file, else failed
    kFileQuery,   // as kQuery, and 54 (found in flash ROM) counts as done
};

// One terminal's result line and code.
struct AddressResult {
    int code = 0;
    std::string label;
    std::string detail;
};

struct AddressLoopOptions {
    StatusRule rule = StatusRule::kCommand;
    // Set the status before looking at the stop flag (commands whose effect
    // on the terminal should show even when the line is then stopped).
    bool statusBeforeStopCheck = false;
    // When non-zero, only positions holding this address are visited.
    char onlyAddress = 0;
};

// The status a result gives under a rule; -1 leaves the status as it is.
int StatusForResult(StatusRule rule, int code);
// Whether a result under a rule is reported by a line.
bool ResultWritesLine(StatusRule rule, int code);

// Marks the progress display busy and the link in use; `clearDisplay`
// erases what the display showed before (a series of uploads starts so).
void BeginAddressLoop(CTerminalLink& link, const OperationContext& context,
                      bool clearDisplay = false);
// Puts the progress display at rest, per address, and the link idle.
void EndAddressLoop(CTerminalLink& link, const OperationContext& context);

// Runs `call` for every selected position of context.settings.addresses in order,
// reporting each result by the rule. Returns false when stopped (after
// WaitUntilIdle; the terminal in hand keeps status 4 and gets no line).
bool ForEachSelectedAddress(CTerminalLink& link, const OperationContext& context,
                            const AddressLoopOptions& options,
                            const std::function<AddressResult(char address, int index)>& call);

// The whole common loop: begin, visit, end. Returns false when stopped.
bool RunAddressLoop(CTerminalLink& link, const OperationContext& context,
                    const AddressLoopOptions& options,
                    const std::function<AddressResult(char address, int index)>& call);

}  // namespace zelo::link

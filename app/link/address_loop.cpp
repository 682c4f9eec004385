#include "link/address_loop.hpp"

#include <zelodll.h>

#include <algorithm>
#include <cstddef>

namespace zelo::link {
namespace {

constexpr int kLeaveStatus = -1;

}  // namespace

int StatusForResult(StatusRule rule, int code) {
    switch (rule) {
        case StatusRule::kAddressSet:
            if (code == ZELO_OK) return kStatusDone;
            return code == ZELO_NO_SUCH_FILE ? kStatusNoSuchFile : kStatusFailed;
        case StatusRule::kFileQuery:
            if (code == ZELO_FILE_IN_FLASH) return kStatusDone;
            break;
        case StatusRule::kCommand:
        case StatusRule::kQuery: break;
    }
    if (code == ZELO_OK) return kStatusDone;
    if (code == ZELO_TIMEOUT) return kStatusTimeOut;
    if (code == ZELO_NO_DATA) return kLeaveStatus;
    return kStatusFailed;
}

bool ResultWritesLine(StatusRule rule, int code) {
    const bool quietWhenNoData = rule == StatusRule::kQuery || rule == StatusRule::kFileQuery;
    return !(quietWhenNoData && code == ZELO_NO_DATA);
}

void BeginAddressLoop(CTerminalLink& link, const OperationContext& context, bool clearDisplay) {
    context.progress.mode = kProgressPerAddress;
    context.progress.phase = kPhaseAtRest;
    link.RefreshProgress(clearDisplay);
    context.status.idle = 0;
}

void EndAddressLoop(CTerminalLink& link, const OperationContext& context) {
    context.progress.mode = kProgressPerAddress;
    context.progress.phase = kPhaseAtRest;
    link.RefreshProgress(false);
    context.status.idle = 1;
}

bool ForEachSelectedAddress(CTerminalLink& link, const OperationContext& context,
                            const AddressLoopOptions& options,
                            const std::function<AddressResult(char address, int index)>& call) {
    const CommSettings& settings = context.settings;
    ProgressState& progress = context.progress;
    const std::size_t count = std::min(settings.addresses.size(), kMaxAddresses);
    for (std::size_t i = 0; i < count; ++i) {
        const char address = settings.addresses[i];
        if (address == '\0') break;
        if (progress.addressSelected[i] == 0) continue;
        if (options.onlyAddress != 0 && address != options.onlyAddress) continue;

        const int index = static_cast<int>(i);
        progress.currentAddress = index;
        progress.phase = kPhaseAtRest;
        progress.addressStatus[i] = kStatusWorking;
        link.RefreshProgress(false);

        const AddressResult result = call(address, index);
        const int newStatus = StatusForResult(options.rule, result.code);
        auto setStatus = [&] {
            if (newStatus != kLeaveStatus) progress.addressStatus[i] = newStatus;
        };
        if (options.statusBeforeStopCheck) setStatus();
        if (link.IsStopRequested() != 0) {
            WaitForIdle(context.status);
            return false;
        }
        if (ResultWritesLine(options.rule, result.code)) {
            link.ShowResult(address, result.label, result.detail, result.code);
        }
        if (!options.statusBeforeStopCheck) setStatus();
    }
    return true;
}

bool RunAddressLoop(CTerminalLink& link, const OperationContext& context,
                    const AddressLoopOptions& options,
                    const std::function<AddressResult(char address, int index)>& call) {
    BeginAddressLoop(link, context);
    if (!ForEachSelectedAddress(link, context, options, call)) return false;
    EndAddressLoop(link, context);
    return true;
}

}  // namespace zelo::link

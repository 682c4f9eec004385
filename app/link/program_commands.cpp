// Commands about the terminals' programs: run one, choose the auto-boot
// program, size the program area.
#include <string>

#include "link/address_loop.hpp"
#include "link/exec_area_size.hpp"
#include "link/terminal_link.hpp"
#include "zelodll.h"

namespace zelo::link {
namespace {

constexpr int kDelmarPauseMs = 1500;

// The terminal takes program names without their extension.
std::string WithoutExtension(const std::string& name) { return name.substr(0, name.find('.')); }

AddressLoopOptions OneOrAll(StatusRule rule, bool statusBeforeStopCheck, char chosenAddress,
                            bool allAddresses) {
    return {rule, statusBeforeStopCheck, allAddresses ? '\0' : chosenAddress};
}

}  // namespace

void CTerminalLink::SetExecAreaSize(const OperationContext& context, const std::string& sizeText) {
    const int size = ReadExecAreaSize(sizeText).kilobytes;
    const std::string shown = std::to_string(size);
    RunAddressLoop(*this, context, {StatusRule::kCommand, false, 0}, [&](char a, int) {
        return AddressResult{HM_exe_size(context.settings.port, a, size), "Exec area is ", shown};
    });
}

void CTerminalLink::SetAutoBoot(const OperationContext& context, const std::string& programName,
                                char chosenAddress, bool allAddresses, Disk disk) {
    const std::string name = WithoutExtension(programName);
    if (name.empty()) {
        // Nothing was chosen: each address of the line gets a line saying
        // the program does not exist, and no terminal is asked.
        for (const char address : context.settings.addresses) {
            if (address == '\0') break;
            if (IsStopRequested() != 0) {
                WaitUntilIdle(context.status);
                return;
            }
            ShowResult(address, "Auto-Boot", "", ZELO_NO_SUCH_FILE);
        }
        return;
    }
    RunAddressLoop(
        *this, context, OneOrAll(StatusRule::kCommand, true, chosenAddress, allAddresses),
        [&](char a, int) {
            const int code = disk == Disk::kFlashRom
                                 ? HM_autoboot_rom(context.settings.port, a, name.c_str())
                                 : HM_autoboot(context.settings.port, a, name.c_str());
            return AddressResult{code, "Auto-Boot", name};
        });
}

void CTerminalLink::RunProgram(const OperationContext& context, const std::string& programName,
                               char chosenAddress, bool allAddresses, Disk disk) {
    std::string name = WithoutExtension(programName);
    if (disk == Disk::kFlashRom) name += "/ROM";
    // The Delmar needs a moment after its directory was read.
    if (context.settings.terminalType == kDelmar) HM_time_delay(kDelmarPauseMs);
    RunAddressLoop(
        *this, context, OneOrAll(StatusRule::kFileQuery, false, chosenAddress, allAddresses),
        [&](char a, int) {
            return AddressResult{HM_run(context.settings.port, a, name.c_str()), "Run", name};
        });
}

}  // namespace zelo::link

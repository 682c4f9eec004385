// zelo-dialogs-driver: runs the table, address and dial commands the way the
// desktop's dialogs start them (their logic fills the arguments, the core's
// worker runs them), in the current folder with its Zelocom.ini. For the
// end-to-end cases against zelo-termsim; result lines go to standard output.
//   zelo-dialogs-driver tables      bar-code, device, address and comm tables
//   zelo-dialogs-driver dial INDEX  dial the phone book's INDEX-th line, then
//                                   ask the firmware version
#include <iostream>
#include <optional>
#include <string>

#include "core/command_worker.hpp"
#include "core/core_platform.hpp"
#include "core/program_model.hpp"
#include "dialogs/address_change.hpp"
#include "dialogs/barcode_table.hpp"
#include "dialogs/comm_table_form.hpp"
#include "dialogs/device_table.hpp"
#include "dialogs/phone_lines.hpp"
#include "dialogs/phone_list.hpp"
#include "headless/console_front_end.hpp"
#include "program/program.hpp"

namespace {

using namespace zelo;

// The dial dialog with a line chosen in advance.
class ChosenLineFrontEnd : public headless::ConsoleFrontEnd {
public:
    ChosenLineFrontEnd(std::size_t line)
        : ConsoleFrontEnd(std::cout, std::cerr, nullptr), line_(line) {}

    std::optional<std::string> ChooseDialNumber(const core::PhoneBook& phoneBook) override {
        dialogs::PhoneList list(dialogs::BuildPhoneLines(phoneBook));
        list.Select(line_);
        const std::optional<std::string> chosen = list.SelectedLine();
        if (!chosen) return std::nullopt;
        return dialogs::DialNumberOfLine(*chosen);
    }

private:
    std::size_t line_;
};

// What each dialog's OK gives, for the line's terminal model.
void FillTableArguments(core::ModelState& state, core::CommandArguments& args) {
    const int type = state.comm.terminalType;
    dialogs::BarcodeChoices barcode;
    barcode.code39 = dialogs::kCode39FullAscii;
    barcode.code128 = 1;
    args.barcodeTable = dialogs::BuildBarcodeTable(barcode, type);
    switch (dialogs::DeviceDialogFor(type)) {
        case dialogs::DeviceDialogKind::kFenna:
            args.deviceTable = dialogs::BuildFennaDeviceTable({1, 1, 0, 1, 2, 1}, type);
            break;
        case dialogs::DeviceDialogKind::kLanta:
            args.deviceTable = dialogs::BuildLantaDeviceTable({1, 0, 6});
            break;
        case dialogs::DeviceDialogKind::kEstra:
            args.deviceTable = dialogs::BuildEstraDeviceTable({1, 0, 1, 0, 2, 5});
            break;
    }
}

bool Run(core::CommandWorker& worker, int code) {
    if (!worker.Start(code)) return false;
    worker.Join();
    return !worker.LastOutcome().lineUnavailable;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode != "tables" && !(mode == "dial" && argc > 2)) {
        std::cerr << "usage: zelo-dialogs-driver tables | dial INDEX\n";
        return 2;
    }
    core::SystemPlatform platform;
    ChosenLineFrontEnd frontEnd(mode == "dial" ? std::stoul(argv[2]) : 0);
    core::ProgramModel view(platform, frontEnd);
    frontEnd.SetSave([&view] { view.SaveConfiguration(); });
    view.StartUp();
    core::CommandWorker worker(view, view.Link(), frontEnd);
    core::ModelState& state = view.State();

    bool ran = true;
    if (mode == "dial") {
        ran = Run(worker, core::kFirmwareVersion);
    } else {
        FillTableArguments(state, worker.Arguments());
        ran = Run(worker, core::kBarcodeTable) && Run(worker, core::kDeviceTable);
        // The second address in use becomes the first free one.
        const dialogs::AddressChangeLists lists =
            dialogs::AddressChangeListsFor(state.comm.addresses);
        if (const auto change = dialogs::ChosenAddressChange(lists, 1, 0); ran && change) {
            worker.Arguments().addressChange = *change;
            ran = Run(worker, core::kAddressChange);
        }
        // Last: the terminals take the new line settings; the program stays.
        dialogs::CommTableForm form = dialogs::CommTableFormFrom(state);
        form.baudIndex = 7;  // 19200
        form.parity = 2;
        form.timeout = 37;
        dialogs::ApplyCommTableForm(form, state);
        view.SaveConfiguration();
        ran = ran && Run(worker, core::kCommTable);
    }
    if (state.status.connected.load() != 0) view.Link().Disconnect(state.comm.port, state.status);
    view.ShutDown();
    return ran && view.FailuresReported() == 0 ? 0 : 1;
}

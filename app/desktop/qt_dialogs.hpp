#pragma once

#include "core/core_platform.hpp"
#include "desktop/placeholder_dialogs.hpp"

namespace zelo::desktop {

// The dialogs this build has: the terminal setting tables, the address
// change, the modem and dial dialogs and the Lanta set-up; the others still
// say that they are not available.
class QtDialogs : public PlaceholderDialogs {
public:
    explicit QtDialogs(core::Platform& platform) : platform_(platform) {}

    std::optional<std::string> ChooseDialNumber(QWidget* parent,
                                                const core::PhoneBook& phoneBook) override;
    bool EditModem(QWidget* parent, core::ViewCore& view) override;
    bool BuildBarcodeTable(QWidget* parent, core::ViewCore& view,
                           core::CommandArguments& arguments) override;
    bool ChooseAddressChange(QWidget* parent, core::ViewCore& view,
                             core::CommandArguments& arguments) override;
    bool BuildCommTable(QWidget* parent, core::ViewCore& view) override;
    bool BuildDeviceTable(QWidget* parent, core::ViewCore& view,
                          core::CommandArguments& arguments) override;
    bool ChooseLantaTable(QWidget* parent, core::ViewCore& view,
                          core::CommandArguments& arguments) override;

private:
    core::Platform& platform_;
};

}  // namespace zelo::desktop

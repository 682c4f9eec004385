#include "dialogs/text_input_form.hpp"

#include "core/command_table.hpp"
#include "link/exec_area_size.hpp"

namespace zelo::dialogs {
namespace {

Refusal CheckExecAreaSize(std::string_view text) {
    const link::ExecAreaSizeText size = link::ReadExecAreaSize(text);
    if (size.wholeNumber && size.kilobytes >= 0 && size.kilobytes <= kMaxExecAreaKilobytes) {
        return {};
    }
    return "The executable area size is a whole number of kilobytes from 0 to " +
           std::to_string(kMaxExecAreaKilobytes) + ".";
}

}  // namespace

std::string_view TextInputPrompt(int commandCode) {
    switch (commandCode) {
        case core::kFileExists: return "Input file name to be check";
        case core::kSendData: return "Input application data";
        case core::kPassword: return "Input New Password";
        case core::kExecAreaSize: return "Executing area size (K-Byte)";
        default: return {};
    }
}

std::size_t EscapedLength(std::string_view text) {
    std::size_t length = 0;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        const bool doubled = b < 0x20 || b == 0x5C || (b > 0x9F && b != 0xDC);
        length += doubled ? 2 : 1;
    }
    return length;
}

Refusal CheckTextArgument(int commandCode, std::string_view text) {
    Refusal refusal = CheckLength(text, kMaxTextArgument, "The text");
    if (!refusal.empty()) return refusal;
    if (commandCode == core::kSendData && EscapedLength(text) > kMaxEscapedData) {
        return "The data takes " + std::to_string(EscapedLength(text)) +
               " bytes as sent (control characters, \\ and characters above 0x9F take two); "
               "at most " +
               std::to_string(kMaxEscapedData) + " can be sent.";
    }
    if (commandCode == core::kExecAreaSize) return CheckExecAreaSize(text);
    return {};
}

}  // namespace zelo::dialogs

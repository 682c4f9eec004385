// Queries: each terminal's answer becomes the detail of its line; a terminal
// with nothing to report writes none.
#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "link/address_loop.hpp"
#include "link/bounded_text.hpp"
#include "link/terminal_link.hpp"
#include "zelodll.h"

namespace zelo::link {
namespace {

AddressLoopOptions QueryRule() { return {StatusRule::kQuery, false, 0}; }

using Reply = std::array<char, ZELO_REPLY_SIZE>;

std::string RamSizeText(int total, int exec, int free, int emsTotal, int emsFree) {
    char text[160];
    if (emsTotal != 0) {
        std::snprintf(text, sizeof text, "Total=%d  EXEC=%d  Free=%d  Total EMS=%d  Free EMS=%d",
                      total, exec, free, emsTotal, emsFree);
    } else {
        std::snprintf(text, sizeof text, "Total=%d  EXEC=%d  Free=%d", total, exec, free);
    }
    return text;
}

// The model a terminal identity names: the fourth character tells the
// Gravo/Halda and Fenna families apart, the third Estra and Corvo.
int TerminalTypeFromId(const std::string& id) {
    if (id.size() >= 4 && id[3] == '5') return kGravoHalda;
    if (id.size() >= 4 && id[3] == '8') return kFenna;
    if (id.size() >= 3 && id[2] == '7') return kEstra;
    if (id.size() >= 3 && id[2] == '6') return kCorvo;
    return kGravoHalda;
}

}  // namespace

void CTerminalLink::QueryRamSize(const OperationContext& context) {
    RunAddressLoop(*this, context, QueryRule(), [&](char a, int) {
        int32_t total = 0, exec = 0, free = 0, emsTotal = 0, emsFree = 0;
        const int code =
            HM_ram_size(context.settings.port, a, &total, &exec, &free, &emsTotal, &emsFree);
        return AddressResult{code, "RAM size ",
                             code == 0 ? RamSizeText(total, exec, free, emsTotal, emsFree) : ""};
    });
}

void CTerminalLink::QueryFlashSize(const OperationContext& context) {
    RunAddressLoop(*this, context, QueryRule(), [&](char a, int) {
        int32_t total = 0, free = 0;
        const int code = HM_flash_size(context.settings.port, a, &total, &free);
        char detail[80] = "";
        if (code == 0) std::snprintf(detail, sizeof detail, " Total=%dKb  Free=%dKb", total, free);
        return AddressResult{code, "Flash ROM Size ", detail};
    });
}

void CTerminalLink::GetDirectory(const OperationContext& context, Disk disk,
                                 DirectoryTexts& directoryTexts) {
    if (disk != Disk::kRam && disk != Disk::kFlashRom) {
        const std::size_t count = std::min(context.settings.addresses.size(), kMaxAddresses);
        for (std::size_t i = 0; i < count && context.settings.addresses[i] != '\0'; ++i) {
            if (context.progress.addressSelected[i] != 0) ShowMessageBox("nRom set wrong!!");
        }
        return;
    }
    // One listing buffer for all terminals, with a spare zero after it so
    // that the library's clearing of the last text always finds an end.
    std::array<char, ZELO_LISTING_SIZE + 1> listing{};
    RunAddressLoop(*this, context, QueryRule(), [&](char a, int index) {
        const int code = disk == Disk::kFlashRom
                             ? HM_dir_ROM(context.settings.port, a, listing.data())
                             : HM_dir(context.settings.port, a, listing.data());
        listing[ZELO_LISTING_SIZE] = '\0';
        std::string& saved = directoryTexts[static_cast<std::size_t>(index)];
        AddressResult result{code, "", ""};
        if (code == 0) {
            saved = TextWithin(listing.data(), ZELO_LISTING_SIZE);
            result.detail = saved;
        } else if (code != ZELO_NO_DATA) {
            saved.clear();
        }
        if (disk == Disk::kRam) {
            result.label = "Get Directory ";
        } else {
            result.label = code == 0 ? "Get ROM Directory  " : "Get ROM Directory ";
        }
        return result;
    });
}

void CTerminalLink::GetFirmwareVersion(const OperationContext& context) {
    RunAddressLoop(*this, context, QueryRule(), [&](char a, int) {
        Reply reply{};
        const int code = HM_firmware_version(context.settings.port, a, reply.data());
        if (code != 0) return AddressResult{code, "Version ", ""};
        return AddressResult{code, "Version  ", TextWithin(reply.data(), reply.size())};
    });
}

void CTerminalLink::GetTerminalId(const OperationContext& context) {
    RunAddressLoop(*this, context, QueryRule(), [&](char a, int index) {
        Reply reply{};
        const int code = HM_terminal_id(context.settings.port, a, reply.data());
        if (code != 0) return AddressResult{code, "Terminal ID ", ""};
        const std::string id = TextWithin(reply.data(), reply.size());
        context.progress.typeFound[static_cast<std::size_t>(index)] = TerminalTypeFromId(id);
        return AddressResult{code, "Terminal ID ", id};
    });
}

void CTerminalLink::CheckFileExists(const OperationContext& context, const std::string& fileName) {
    const AddressLoopOptions options{StatusRule::kFileQuery, false, 0};
    RunAddressLoop(*this, context, options, [&](char a, int) {
        int32_t length = 0;
        const int code = HM_file_exist(context.settings.port, a, fileName.c_str(), &length);
        if (code != 0 && code != ZELO_FILE_IN_FLASH) return AddressResult{code, "File ", fileName};
        char detail[64];
        std::snprintf(detail, sizeof detail, "File exist and length = %ld",
                      static_cast<long>(length));
        return AddressResult{code, fileName, detail};
    });
}

void CTerminalLink::CheckRunningProgram(const OperationContext& context) {
    RunAddressLoop(*this, context, QueryRule(), [&](char a, int) {
        Reply reply{};
        const int code = HM_exec_file(context.settings.port, a, reply.data());
        if (code != 0) return AddressResult{code, " ", ""};
        return AddressResult{code, "Check running AP ", TextWithin(reply.data(), reply.size())};
    });
}

}  // namespace zelo::link

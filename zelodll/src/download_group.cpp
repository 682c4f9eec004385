// Group downloads: one file to several terminals at once. Each terminal is
// announced the file as for a download of its own; the link layer gathers
// those that can take it together, sends the bytes once, and repairs each
// member alone. Whoever is not gathered, or fails, is left to the caller's
// one-by-one path, which may resume a failed member from what it holds.
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <string_view>

#include "c_boundary.hpp"
#include "download_files.hpp"
#include "download_requests.hpp"
#include "library_state.hpp"
#include "local_file_error.hpp"
#include "power_saving.hpp"
#include "single_request.hpp"
#include "transfer_files.hpp"
#include "zelodll.h"

namespace zelo {

namespace {

static_assert(kMostGroupMembers == ZELO_GROUP_MAX_MEMBERS);

constexpr std::size_t kMaxSavedName = ZELO_REMOTE_NAME_SIZE - 1;
// The most the link layer takes in one call.
constexpr int64_t kGroupChunkBytes = 4096;
// A link that asks for rounds of repairs without end would hold the caller
// for ever; past this many the members still unfinished count as silent.
constexpr int32_t kMostRepairRounds = 1000;
// A member's result while the group runs.
constexpr int32_t kPending = -1;

GroupDownload& group() { return state().group; }

bool underWay() {
    const auto phase = group().phase;
    return phase == GroupDownload::Phase::Sending || phase == GroupDownload::Phase::Repairing;
}

void saveName(std::array<char, 100>& saved, std::string_view name) {
    saved.fill(0);
    std::copy(name.begin(), name.end(), saved.begin());
}

// The members in the order the link layer was given them.
struct LinkOrder {
    std::array<char, kMostGroupMembers> addresses{};
    std::array<std::size_t, kMostGroupMembers> members{};
    std::size_t count = 0;
};

LinkOrder announcedMembers() {
    LinkOrder order;
    const GroupDownload& g = group();
    for (std::size_t i = 0; i < g.count; ++i) {
        if (g.announced[i] == 0) continue;
        order.addresses[order.count] = g.addresses[i];
        order.members[order.count] = i;
        ++order.count;
    }
    return order;
}

// Ends the group: the local file is let go, and every terminal announced
// gets its power saving back.
void endGroup() {
    GroupDownload& g = group();
    for (std::size_t i = 0; i < g.count; ++i)
        if (g.announced[i] != 0) powerSavingOnPart(g.port, g.addresses[i]);
    closeDownloadFile();
    g.phase = GroupDownload::Phase::Ended;
}

// The group as a whole failed or was stopped: the link drops it, and every
// member without a result has its download cancelled, so that no part of
// it can be committed later, and gets `code`.
int32_t abandonGroup(int32_t code) {
    GroupDownload& g = group();
    Pendra_group_cancel(linkHandle());
    for (std::size_t i = 0; i < g.count; ++i) {
        if (g.results[i] != kPending) continue;
        sendDownloadCancel(linkAddress(g.addresses[i]));
        g.results[i] = code;
    }
    endGroup();
    return code;
}

// Whether a member with this result is left for the one-by-one path.
bool failedInGroup(int32_t result) {
    return result != ZELO_OK && result != ZELO_NOT_GATHERED && result != kPending;
}

int32_t memberResult(int16_t linkResult) {
    if (linkResult == 0) return ZELO_NOT_GATHERED;
    return translateDownloadEnd(linkResult);
}

// A failed step: a stop ends it as stopped, whatever the link reported.
int32_t failStep(int32_t linkResult) {
    if (state().stopRequested()) return abandonGroup(ZELO_STOPPED);
    return abandonGroup(translate(linkResult, {}, {{PENDRA_DAMAGED_REPLY, ZELO_BAD_BLOCK}}));
}

[[nodiscard]] int32_t sendNextBytes(int32_t* byte_count, int32_t* step_count) {
    GroupDownload& g = group();
    LocalFile* file = state().transfer.downloadFile.get();
    std::array<char, kGroupChunkBytes> bytes{};
    const int64_t count = file != nullptr ? file->read(bytes.data(), kGroupChunkBytes) : -1;
    if (count < 0) {
        noteLocalFileError(state().transfer.downloadFileName, "cannot read");
        return abandonGroup(ZELO_UNKNOWN_RESPONSE);
    }
    if (count == 0) {
        g.phase = GroupDownload::Phase::Repairing;
        return ZELO_MORE;
    }
    const int16_t result =
        Pendra_group_data(linkHandle(), bytes.data(), static_cast<int16_t>(count));
    if (result != PENDRA_ACCEPTED) return failStep(result);
    g.byteCount += static_cast<int32_t>(count);
    g.stepCount += 1;
    if (byte_count != nullptr) *byte_count = g.byteCount;
    if (step_count != nullptr) *step_count = g.stepCount;
    return ZELO_MORE;
}

[[nodiscard]] int32_t repairOneRound(int32_t* step_count) {
    GroupDownload& g = group();
    if (++g.repairRounds > kMostRepairRounds) return abandonGroup(ZELO_TIMEOUT);
    const LinkOrder order = announcedMembers();
    std::array<int16_t, kMostGroupMembers> results{};
    std::array<uint32_t, kMostGroupMembers> held{};
    const int16_t round = Pendra_group_finish(linkHandle(), results.data(), held.data());
    if (round == PENDRA_MORE_DATA) {
        g.stepCount += 1;
        if (step_count != nullptr) *step_count = g.stepCount;
        return ZELO_MORE;
    }
    // When the line fails in a round, the members that finished before it
    // keep their results; the others fail with the line.
    const bool lineFailed = round == PENDRA_LINE_FAILURE;
    if (round != PENDRA_DONE && !lineFailed) return failStep(round);
    for (std::size_t j = 0; j < order.count; ++j) {
        const std::size_t member = order.members[j];
        if (g.joined[member] == 0 || results[j] == 0) continue;
        g.results[member] = memberResult(results[j]);
        g.held[member] = held[j];
        g.resumable[member] = results[j] != PENDRA_REFUSED ? 1 : 0;
    }
    if (lineFailed) {
        for (std::size_t i = 0; i < g.count; ++i)
            if (g.results[i] == kPending) g.results[i] = translate(PENDRA_LINE_FAILURE, {});
        endGroup();
        return translate(PENDRA_LINE_FAILURE, {});
    }
    // A stop met during the last round: whoever finished keeps the file,
    // the others are cancelled.
    if (state().stopRequested()) {
        for (std::size_t i = 0; i < g.count; ++i)
            if (failedInGroup(g.results[i])) g.results[i] = kPending;
        return abandonGroup(ZELO_STOPPED);
    }
    // A member the link left without a result is not one that is complete;
    // it goes one by one from the start.
    for (std::size_t i = 0; i < g.count; ++i)
        if (g.results[i] == kPending) g.results[i] = ZELO_UNKNOWN_RESPONSE;
    endGroup();
    return ZELO_OK;
}

// The position of `address` among the last group's members, or count.
std::size_t memberIndex(int32_t address) {
    const GroupDownload& g = group();
    const char wanted = static_cast<char>(address);
    std::size_t i = 0;
    while (i < g.count && g.addresses[i] != wanted) ++i;
    return i;
}

// The address text: 1 to kMostGroupMembers characters, none repeated.
bool readAddresses(const char* text, GroupDownload& g) {
    const std::size_t length = boundedLength(text, kMostGroupMembers);
    if (length == 0 || length > kMostGroupMembers) return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (std::find(text, text + i, text[i]) != text + i) return false;
        g.addresses[i] = text[i];
    }
    g.count = length;
    return true;
}

// Announces the file to every member, as the one-terminal download does.
// False when stopped on the way (the announced ones are cancelled then).
bool announceToEveryMember(std::string_view remote) {
    GroupDownload& g = group();
    for (std::size_t i = 0; i < g.count; ++i) {
        if (state().stopRequested()) return false;
        const char address = g.addresses[i];
        if (!powerSavingOffPart(g.port, address)) continue;
        const int16_t result =
            sendDownloadRequest<kDataRequestSize>(linkAddress(address), "L", remote);
        if (result == kRequestAccepted) {
            g.announced[i] = 1;
        } else {
            powerSavingOnPart(g.port, address);
        }
    }
    return true;
}

}  // namespace

}  // namespace zelo

using namespace zelo;

extern "C" {

int32_t ZELO_API HM_download_group1(int32_t port, const char* addresses, const char* local_name,
                                    const char* remote_name) try {
    clearLocalFileError();
    const std::size_t localLength = boundedLength(local_name, kMaxSavedName);
    const std::size_t remoteLength = boundedLength(remote_name, kMaxSavedName);
    if (localLength > kMaxSavedName || remoteLength > kMaxSavedName) return ZELO_UNKNOWN_RESPONSE;
    GroupDownload fresh;
    if (!readAddresses(addresses, fresh)) return ZELO_UNKNOWN_RESPONSE;

    // A group a caller left under way is dropped; the announces below
    // replace its members' downloads.
    if (underWay()) Pendra_group_cancel(linkHandle());
    LibraryState& s = state();
    s.transfer.open = false;
    closeDownloadFile();
    s.clearStop();
    fresh.port = port;
    fresh.results.fill(ZELO_NOT_GATHERED);
    saveName(fresh.localName, {local_name, localLength});
    saveName(fresh.remoteName, {remote_name, remoteLength});
    s.group = fresh;
    GroupDownload& g = group();

    // Nothing is sent for a file that cannot be read from its start.
    if (!findLocalFile(local_name)) return ZELO_NO_SUCH_FILE;
    if (holdLocalFileFrom(local_name, 0) < 0) return ZELO_NO_SUCH_FILE;

    if (!announceToEveryMember({remote_name, remoteLength})) {
        for (std::size_t i = 0; i < g.count; ++i)
            if (g.announced[i] != 0) g.results[i] = kPending;
        return abandonGroup(ZELO_STOPPED);
    }
    const LinkOrder order = announcedMembers();
    std::array<uint8_t, kMostGroupMembers> joined{};
    const int16_t gathered =
        order.count == 0 ? 0
                         : Pendra_group_open(linkHandle(), order.addresses.data(),
                                             static_cast<uint8_t>(order.count), joined.data());
    if (gathered <= 0) {
        endGroup();
        return ZELO_NOT_GATHERED;
    }
    for (std::size_t j = 0; j < order.count; ++j) {
        if (joined[j] != 1) continue;
        const std::size_t member = order.members[j];
        g.joined[member] = 1;
        g.results[member] = kPending;
    }
    HM_time_delay(2);
    g.phase = GroupDownload::Phase::Sending;
    return ZELO_OK;
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_download_group2(int32_t* byte_count, int32_t* step_count) try {
    if (!underWay()) return ZELO_NO_OPEN_DOWNLOAD;
    if (state().stopRequested()) return abandonGroup(ZELO_STOPPED);
    if (group().phase == GroupDownload::Phase::Sending) {
        const int32_t result = sendNextBytes(byte_count, step_count);
        if (result != ZELO_MORE || group().phase == GroupDownload::Phase::Sending) return result;
    }
    return repairOneRound(step_count);
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_download_group_member(int32_t address, int32_t* result, int32_t* held) try {
    const GroupDownload& g = group();
    const std::size_t i = memberIndex(address);
    if (g.phase == GroupDownload::Phase::None || i == g.count) return ZELO_UNKNOWN_RESPONSE;
    if (underWay()) return ZELO_MORE;
    if (result != nullptr) *result = g.results[i];
    if (held != nullptr)
        *held = static_cast<int32_t>(
            std::min<uint32_t>(g.held[i], std::numeric_limits<int32_t>::max()));
    return ZELO_OK;
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_download_group_resume(int32_t port, int32_t address, int32_t* offset) try {
    GroupDownload& g = group();
    const std::size_t i = memberIndex(address);
    if (g.phase != GroupDownload::Phase::Ended || i == g.count || !failedInGroup(g.results[i]) ||
        g.resumable[i] == 0)
        return ZELO_UNKNOWN_RESPONSE;
    clearLocalFileError();
    LibraryState& s = state();
    s.clearStop();
    const char* localName = g.localName.data();
    if (!findLocalFile(localName)) return ZELO_NO_SUCH_FILE;
    if (!powerSavingOffPart(port, address)) return ZELO_POWER_SAVING_ON;

    TransferState& transfer = s.transfer;
    const auto start =
        static_cast<int32_t>(std::min<uint32_t>(g.held[i], std::numeric_limits<int32_t>::max()));
    transfer.byteCount = start;
    transfer.packetCount = start / kDownloadPacketBytes;
    transfer.savedPort = port;
    transfer.savedAddress = static_cast<char>(address);
    transfer.secondName = g.localName;
    transfer.remoteName = g.remoteName;
    const std::string_view remote(g.remoteName.data());
    const int16_t result =
        sendDownloadRequest<kDataRequestSize>(linkAddress(address), "L", resumeText(remote, start));
    if (result != kRequestAccepted) {
        powerSavingOnPart(port, address);
        return translate(result, {}, {{PENDRA_ILLEGAL, ZELO_ILLEGAL_COMMAND}});
    }
    HM_time_delay(2);
    // The terminal holds more than the file has, or the file cannot be
    // positioned: its download is dropped rather than continued wrongly.
    const int64_t size = holdLocalFileFrom(localName, start);
    if (size < 0) {
        sendDownloadCancel(linkAddress(address));
        powerSavingOnPart(port, address);
        return ZELO_NO_SUCH_FILE;
    }
    if (offset != nullptr)
        *offset =
            static_cast<int32_t>(std::min<int64_t>(size, std::numeric_limits<int32_t>::max()));
    transfer.open = true;
    return ZELO_OK;
} catch (...) {
    return zelo::failedInsideLibrary();
}

}  // extern "C"

// The library's process-wide state: one link, one set of settings and one
// open transfer per process. Everything here is owned by the thread that
// issues commands, except the stop flag, which another thread may set.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "pendra.h"
#include "platform/local_file.hpp"

namespace zelo {

inline constexpr int kReturnSlotCount = 8;
inline constexpr int kPowerSavingSlot = 5;
inline constexpr int kTextLengthSlot = 0;
inline constexpr int kDownloadFileSlot = 6;
inline constexpr int kUploadFileSlot = 7;

// Shared by uploads and downloads: only one transfer is open at a time.
struct TransferState {
    int32_t packetCount = 0;
    int32_t byteCount = 0;
    bool open = false;
    int32_t savedPort = 0;
    char savedAddress = 0;
    std::array<char, 120> localName{};      // the upload's local file name
    std::array<char, 100> remoteName{};     // for resume requests
    std::array<char, 100> secondName{};     // download: copy of the local name
    std::unique_ptr<LocalFile> uploadFile;  // the temporary (upload_file.hpp)
    std::string uploadTemporary;
    std::string uploadDestination;
    std::unique_ptr<LocalFile> downloadFile;
    int64_t uploadAppendBase = 0;      // length of an appended file when opened
    bool uploadResumePending = false;  // the last upload resume was not taken
    std::string downloadFileName;      // the open download file, for its errors
    std::string localFileError;        // see local_file_error.hpp

    // A stepwise upload is open with this terminal until its packet calls end.
    void openWith(int32_t port, int32_t address) {
        open = true;
        savedPort = port;
        savedAddress = static_cast<char>(address);
    }
};

// The last group download: who was named to it and how each one ended.
// Member i is addresses[i]; the arrays are what the link layer fills.
inline constexpr std::size_t kMostGroupMembers = 40;
struct GroupDownload {
    enum class Phase { None, Sending, Repairing, Ended };
    Phase phase = Phase::None;
    std::size_t count = 0;
    std::array<char, kMostGroupMembers> addresses{};
    std::array<uint8_t, kMostGroupMembers> announced{};  // power saving to switch back on
    std::array<uint8_t, kMostGroupMembers> joined{};
    std::array<int32_t, kMostGroupMembers> results{};  // library result codes
    std::array<uint32_t, kMostGroupMembers> held{};
    // A member whose copy its end check refused has dropped the download:
    // it starts over rather than resume.
    std::array<uint8_t, kMostGroupMembers> resumable{};
    int32_t port = 0;
    int32_t byteCount = 0;
    int32_t stepCount = 0;
    int32_t repairRounds = 0;
    std::array<char, 100> localName{};
    std::array<char, 100> remoteName{};
};

struct LibraryState {
    PendraHandle link = 0;
    bool linkCreated = false;

    int32_t retryTimes = 10;
    int32_t timeOut = 4000;
    int32_t escDelay = 10;
    int32_t nakDelay = 50;
    int32_t powerSavingStatus = 0;
    int32_t uploadSaveMode = 0;

    // Set by HM_stop_communication from the window thread, polled by the
    // transfer loops and modem waits on the worker thread.
    std::atomic<int32_t> stopFlag{0};

    std::array<int32_t, kReturnSlotCount> returnSlots{};

    TransferState transfer;
    GroupDownload group;

    std::array<char, 100> modemReply{};

    bool stopRequested() const { return stopFlag.load(std::memory_order_acquire) != 0; }
    void clearStop() { stopFlag.store(0, std::memory_order_release); }
};

// The one instance, created on first use and kept for the life of the process.
LibraryState& state();

// Puts the state back to its values at load (open files are closed). For the
// library's own tests, which run many scenarios in one process.
void resetStateForTesting();

// The terminal address as the link layer takes it: the low byte of the
// argument, sign-extended to 16 bits.
inline int16_t linkAddress(int32_t address) {
    return static_cast<int16_t>(static_cast<signed char>(static_cast<uint8_t>(address & 0xFF)));
}

}  // namespace zelo

// The messages that cross the line between the host's link layer and a
// terminal, before framing. One request kind per link call that reaches a
// terminal; a reply carries the result number the host's call returns.
//
// Shared by the link layer (host side) and the terminal-line simulator
// (terminal side); the frame layout around these messages is in
// docs/wire-protocol.md.
#pragma once

#include <cstdint>
#include <string>

namespace pendra::wire {

// The command byte of a request frame. The values are part of the wire
// protocol and never change.
enum class Command : uint8_t {
    Text = 'D',            // Pendra_DBG: a request text (payload: the text)
    Poll = 'P',            // Pendra_POLL (payload: the 4 request bytes)
    Ack = 'K',             // Pendra_ACK: acknowledges the last reply
    WarmStart = 'A',       // Pendra_ESC_A
    ColdStart = 'H',       // Pendra_ESC_H
    Data = '0',            // Pendra_ESC_0 (payload: the data bytes)
    SetAddress = '5',      // Pendra_ESC_5 (argument: the new address)
    Delete = 'E',          // Pendra_ESC_E (payload: the file name)
    Execute = 'X',         // Pendra_ESC_X (payload: the program name)
    AutoBoot = 'O',        // Pendra_ESC_O (payload: the program name)
    UploadRequest = 'U',   // Pendra_ESC_U (payload: name, or name[offset])
    RunningProgram = 'I',  // Pendra_ESC_I
    TerminalId = 'R',      // Pendra_ESC_R
    FileExists = 'J',      // Pendra_ESC_J (payload: the file name)
    NextPacket = 'Y',      // Pendra_ESC_Y (payload: as the caller passed it)
    Keypad = 'k',          // Pendra_ESC_K (argument: the code)
    Buzzer = 'N',          // Pendra_ESC_N (argument: the digit character)
    DirFirst = 'F',        // Pendra_FindFirst
    DirNext = 'f',         // Pendra_FindNext
    // Version 2: Pendra_ESC_Y as a window of upload packets (payload: the
    // window, one byte, then the caller's bytes). The terminal answers with
    // the packet under the request's serial and goes on sending the next
    // ones under the serials after it, as far as the window reaches past
    // the last packet acknowledged.
    StreamPackets = 'W',
    // Version 2: Pendra_POLL as a batch of records (payload: the most
    // records wanted, one byte, then the caller's bytes). The records of
    // the reply count as replies under the request's serial and the
    // serials after it, one each (poll_batch.hpp). With kNumberedBatch set
    // in the most-records byte, four bytes follow it: the number of the last
    // record the host has stored (big-endian); poll_batch.hpp.
    PollBatch = 'Q',
    // Version 2: download bytes sent ahead of their acknowledgement (payload
    // see download_messages.hpp); the terminal answers each with how much of
    // the file it holds.
    StreamData = 'V',
    // Version 2: the download's end request with the whole file's length and
    // CRC-32; the terminal keeps the file only when both match what it holds.
    CheckedEnd = 'C',
    // Version 3: download bytes packed with deflate, sent and answered as
    // StreamData (payload see download_messages.hpp).
    PackedData = 'v',
    // Version 3: StreamPackets from a host that takes packets packed; the
    // packets come as its replies, a packed one with the flag bit set
    // (payload see packed_bytes.hpp, PackedPacket).
    StreamPacked = 'w',
    // Version 3, group downloads (payloads see group_messages.hpp). The
    // terminal joins the group of its open download...
    JoinGroup = 'G',
    // ...takes the file's bytes sent once to the whole group (or to itself
    // alone, for a repair), raw or packed as StreamData and PackedData, and
    // never answers them...
    GroupData = 'B',
    GroupPacked = 'b',
    // ...and tells, when asked, what it holds and which ranges it lacks.
    Lacking = 'M',
};

// Protocol versions. A terminal that speaks version 2 lists the versions it
// speaks as the payload of its acceptance (4) of an upload request; one that
// speaks only version 1 sends none. It also sets the flag bit of its replies
// to a poll request, which a version-1 host does not read.
inline constexpr uint8_t kVersionStopAndWait = 1;
inline constexpr uint8_t kVersionStreaming = 2;
// Version 3: transfers packed with deflate.
inline constexpr uint8_t kVersionPacked = 3;
inline constexpr uint8_t kMaxUploadWindow = 32;
inline constexpr uint8_t kMaxPollBatch = 32;
// Numbered poll records: a batch request's most-records byte with this bit
// asks the terminal to number its records and says where the host stands;
// a terminal that numbers answers records with kNumberedRecords, one that
// does not ignores the bit (it reads at most kMaxPollBatch) and answers as
// before, which tells the host.
inline constexpr uint8_t kNumberedBatch = 0x80;
inline constexpr uint8_t kNumberedRecords = 11;

struct Request {
    Command command = Command::Text;
    char address = 0;      // the terminal address character
    int16_t argument = 0;  // SetAddress, Keypad, Buzzer
    std::string payload;   // binary-safe
};

// Result numbers a terminal answers with; the host's call returns them as
// they are. (5, 130 and 253 are also produced by the link layer itself for a
// negative acknowledgement, a time-out and a reply block that failed its check;
// 254 for a line that failed or a request that cannot be sent.)
struct Reply {
    uint8_t status = 0;   // 1, 2, 3, 4, 6, 7, 8, 9, 128 ...
    std::string payload;  // reply text or packet bytes, binary-safe
    bool more = false;    // DirFirst / DirNext: entries follow
};

}  // namespace pendra::wire

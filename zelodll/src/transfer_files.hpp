// What the upload and download transfers share beyond the link: the local
// files they hold open (and the return slots that show them), the unique
// local name of an upload, and the resume arithmetic.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/local_file.hpp"

namespace zelo {

// A download sends at most this many file bytes per packet, and every resume
// goes back by this much, whatever the packets' real size.
inline constexpr int32_t kDownloadPacketBytes = 120;
inline constexpr int32_t kResumeStepBytes = 120;

// The longest offset suffix a resume request adds to a name: "[2147483647]".
inline constexpr std::size_t kResumeSuffixRoom = 12;

// Makes `file` the open upload (download) file and shows it in its return
// slot; nullptr (or the close call) closes it and clears the slot. Closing
// when no file is open does nothing. An upload's file is ended through
// upload_file.hpp, which also takes care of its temporary.
void holdUploadFile(std::unique_ptr<LocalFile> file);
void holdDownloadFile(std::unique_ptr<LocalFile> file);
void closeDownloadFile();

// Varies one character of the zero-terminated `name` (`length` characters,
// in a writable buffer) until no file of that name exists: the character
// before the first "." of the file part, or the last character when the file
// part has no "." after its first character. False when every variation
// names an existing file, or the name has no file part to vary.
bool makeUniqueLocalName(char* name, std::size_t length);

// Goes back one packet: one from the packet counter and kResumeStepBytes from
// the byte counter, neither going below 0.
void stepBackOnePacket();

// The resume request's name part: `name` followed by "[offset]".
std::string resumeText(std::string_view name, int32_t offset);

}  // namespace zelo

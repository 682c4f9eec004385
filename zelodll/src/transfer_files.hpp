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
// slot; the close calls drop it and clear the slot. Closing when no file is
// open does nothing.
void holdUploadFile(std::unique_ptr<LocalFile> file);
void closeUploadFile();
void holdDownloadFile(std::unique_ptr<LocalFile> file);
void closeDownloadFile();

// Varies one character of the zero-terminated `name` (`length` characters,
// in a writable buffer) until no file of that name exists: the character
// before the first "." of the file part, or the last character when the file
// part has no "." after its first character. False when every variation
// names an existing file, or the name has no file part to vary.
bool makeUniqueLocalName(char* name, std::size_t length);

// Opens an upload's local file as the save mode says. Mode 2 appends: an
// existing file is opened at its end and `appendBase` receives its length;
// otherwise a new file is created (only if none exists). Every other mode
// creates the file, replacing any of that name. `readWrite` asks for read
// access as well as write access. nullptr when the file cannot be opened.
std::unique_ptr<LocalFile> openUploadFile(const char* name, int32_t saveMode, bool readWrite,
                                          int64_t& appendBase);

// Goes back one packet: one from the packet counter and kResumeStepBytes from
// the byte counter, neither going below 0.
void stepBackOnePacket();

// The resume request's name part: `name` followed by "[offset]".
std::string resumeText(std::string_view name, int32_t offset);

}  // namespace zelo

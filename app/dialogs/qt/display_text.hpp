#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace zelo::dialogs {

// The program's texts are 8-bit: names and lines from the terminals, the
// files, Zelocom.ini, the command line. They are the system's 8-bit encoding,
// the one its file functions take: UTF-8 on Linux, the ANSI code page on
// Windows (Shift-JIS on a Japanese one, as the terminals write). Every window
// shows them by this one rule (dialogs, output windows, message boxes, the
// progress view), so a name looks the same everywhere. Bytes that are not
// valid in that encoding are shown one character per byte (Latin-1): two
// different names never look alike, and nothing is dropped.
QString DisplayText(std::string_view bytes);

// What the user typed, as the program keeps it: the same encoding back.
std::string StoredText(const QString& text);

}  // namespace zelo::dialogs

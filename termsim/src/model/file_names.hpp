// Terminal file names arrive from the host (and from the host's user) and
// end up as names of files in a host folder, so every one is checked here
// before it touches the file system: a name is one plain component, never a
// path.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace termsim {

inline constexpr std::size_t kMaxFileNameLength = 64;

// True for a name of 1 to kMaxFileNameLength printable ASCII characters
// without separators, drive colons, wildcards or quotes, that does not start
// with a full stop (which also rules out "." and "..").
bool isSafeFileName(std::string_view name);

// Where a terminal file lives.
enum class Drive { Ram, Flash, Ems };

struct TerminalFileName {
    Drive drive = Drive::Ram;
    std::string name;
};

// Splits the drive markers a request may carry: "C:NAME" names the EMS
// drive, "NAME/ROM" the flash ROM (only where `allowRomSuffix`). nullopt
// when what remains is not a safe name.
std::optional<TerminalFileName> parseTerminalFileName(std::string_view text, bool allowRomSuffix);

// The name up to its first full stop ("PROG.EXE" gives "PROG").
std::string_view stemOf(std::string_view name);

bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace termsim

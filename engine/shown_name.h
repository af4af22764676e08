// File names as messages and the list of places to look at show them.
//
// A name comes from anyone's folder and may hold any byte but "/" and NUL:
// printed raw, an ESC would drive the terminal, a CR or LF would forge a
// message line of its own or break the one entry a line that editors read.
// Such bytes are shown as the GNU tools' escape quoting shows them, and the
// file on disk keeps its name:
//
//   \a \b \t \n \v \f \r    those seven controls
//   \ooo                    any other control (ESC is \033), DEL, a byte
//                           that is not part of valid UTF-8, and the two
//                           bytes of a UTF-8 C1 control (U+0080 to U+009F)
//   \\                      a backslash, on POSIX, so that "\n" in a name
//                           is not taken for a line end; on Windows a
//                           backslash only separates folders and stays
//
// Valid UTF-8 (accented names) is shown as it is.
#pragma once

#include <string>
#include <string_view>

namespace ftvb {

// `name` itself when it needs no escape, else its escaped form, kept in
// `storage`: a name without control characters costs no allocation.
std::string_view shownName(std::string_view name, std::string& storage);
// The escaped form, appended to `out`.
void appendShownName(std::string& out, std::string_view name);

}  // namespace ftvb

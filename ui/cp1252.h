// Windows-1252 to UTF-8, for showing statement text, which the engine keeps
// as the sources' own bytes, and file names that are not UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace ftvb::ui {

// Every byte gives one character; the five bytes that Windows-1252 leaves
// unassigned give the control character of the same number, as Windows
// itself decodes them.
std::string cp1252ToUtf8(std::string_view bytes);

bool isUtf8(std::string_view bytes);
// The character's UTF-8 bytes, appended.
void appendUtf8(std::string& out, char32_t c);

// A file name as the file system spells it, for showing: as it is when it
// is UTF-8, else read as Windows-1252, which is what the older systems that
// wrote such names mostly used. Only for showing: the name itself stays the
// bytes.
std::string fileNameForDisplay(std::string_view name);

}  // namespace ftvb::ui

// Windows-1252 to UTF-8, for showing statement text, which the engine keeps
// as the sources' own bytes.
#pragma once

#include <string>
#include <string_view>

namespace ftvb::ui {

// Every byte gives one character; the five bytes that Windows-1252 leaves
// unassigned give the control character of the same number, as Windows
// itself decodes them.
std::string cp1252ToUtf8(std::string_view bytes);

}  // namespace ftvb::ui

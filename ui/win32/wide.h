// Windows texts are UTF-16, the window logic's UTF-8: the engine's
// conversions, which carry every file name across unchanged.
#pragma once

#include <string>
#include <string_view>

#include "engine/wide_names.h"

namespace ftvb::ui::win32 {

// Texts of the logic are UTF-8; anything else shows as U+FFFD.
inline std::wstring widen(std::string_view utf8) {
    std::wstring out;
    wideFromUtf8(utf8, out);
    return out;
}

inline std::string narrow(std::wstring_view utf16) { return utf8FromWide(utf16); }

}  // namespace ftvb::ui::win32

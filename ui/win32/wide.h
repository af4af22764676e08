// Windows names and texts are UTF-16; the window logic and the engine speak
// UTF-8. A file name may hold a lone surrogate, which UTF-8 cannot carry:
// it goes across as its three-byte form (WTF-8) and comes back unchanged,
// so every name the folder holds can be listed and opened.
#pragma once

#include <string>
#include <string_view>

namespace ftvb::ui::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace ftvb::ui::win32

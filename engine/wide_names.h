// Windows only: names and texts between the engine's UTF-8 and the wide
// (UTF-16) API of the system.
#pragma once

#include <string>
#include <string_view>

namespace ftvb {

std::string utf8FromWide(std::wstring_view text);
// False, with `out` empty, when `text` is not UTF-8.
bool wideFromUtf8(std::string_view text, std::wstring& out);

}  // namespace ftvb

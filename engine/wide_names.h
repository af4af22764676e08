// Names and texts between the engine's UTF-8 and the wide (UTF-16) API of
// Windows. A Windows name may hold a lone surrogate, which UTF-8 cannot
// carry: it goes across as its three-byte form (WTF-8) and comes back
// unchanged, so every name a folder holds can be named and opened. Plain
// C++, so that it is tested on every platform.
#pragma once

#include <string>
#include <string_view>

namespace ftvb {

std::string utf8FromWide(std::wstring_view text);
// False when `text` is not UTF-8 (WTF-8's surrogates allowed): `out` then
// holds the text with U+FFFD for each byte that is not, good enough to show
// but naming no file.
bool wideFromUtf8(std::string_view text, std::wstring& out);

}  // namespace ftvb

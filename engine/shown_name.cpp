#include "engine/shown_name.h"

#include <cstddef>

namespace ftvb {
namespace {

#ifdef _WIN32
constexpr bool kEscapeBackslash = false;
#else
constexpr bool kEscapeBackslash = true;
#endif

// The length of the valid, printable UTF-8 sequence at `i` (1 for a plain
// printable byte), or 0 when the byte there must be escaped.
std::size_t printableAt(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x20 || lead == 0x7F) return 0;
    if (lead == '\\') return kEscapeBackslash ? 0 : 1;
    if (lead < 0x80) return 1;
    std::size_t length;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        if (lead == 0xC2) low = 0xA0;  // C2 80..9F: the C1 controls
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > s.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
    }
    return length;
}

void appendEscape(std::string& out, unsigned char c) {
    switch (c) {
        case '\a': out += "\\a"; return;
        case '\b': out += "\\b"; return;
        case '\t': out += "\\t"; return;
        case '\n': out += "\\n"; return;
        case '\v': out += "\\v"; return;
        case '\f': out += "\\f"; return;
        case '\r': out += "\\r"; return;
        case '\\': out += "\\\\"; return;
        default: break;
    }
    out += '\\';
    out += static_cast<char>('0' + ((c >> 6) & 7));
    out += static_cast<char>('0' + ((c >> 3) & 7));
    out += static_cast<char>('0' + (c & 7));
}

}  // namespace

void appendShownName(std::string& out, std::string_view name) {
    std::size_t i = 0;
    while (i < name.size()) {
        const std::size_t length = printableAt(name, i);
        if (length == 0) {
            appendEscape(out, static_cast<unsigned char>(name[i]));
            ++i;
        } else {
            out.append(name, i, length);
            i += length;
        }
    }
}

std::string_view shownName(std::string_view name, std::string& storage) {
    std::size_t i = 0;
    while (i < name.size()) {
        const std::size_t length = printableAt(name, i);
        if (length == 0) break;
        i += length;
    }
    if (i == name.size()) return name;
    storage.clear();
    appendShownName(storage, name);
    return storage;
}

}  // namespace ftvb

#include "ui/cp1252.h"

#include <cstdint>

namespace ftvb::ui {
namespace {

// 0x80 to 0x9F; the rest of the upper half is Latin-1.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto byte = static_cast<std::uint8_t>(ch);
        if (byte >= 0x80 && byte < 0xA0) {
            appendUtf8(out, kHigh[byte - 0x80]);
        } else {
            appendUtf8(out, byte);
        }
    }
    return out;
}

bool isUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        std::size_t more = 0;
        char32_t c = 0;
        char32_t least = 0;
        if ((*p & 0xE0) == 0xC0) {
            more = 1, c = *p & 0x1F, least = 0x80;
        } else if ((*p & 0xF0) == 0xE0) {
            more = 2, c = *p & 0x0F, least = 0x800;
        } else if ((*p & 0xF8) == 0xF0) {
            more = 3, c = *p & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (static_cast<std::size_t>(end - p) <= more) return false;
        for (std::size_t i = 1; i <= more; ++i) {
            if ((p[i] & 0xC0) != 0x80) return false;
            c = (c << 6) | (p[i] & 0x3F);
        }
        // Overlong forms, surrogates and what lies beyond Unicode are not
        // UTF-8, however they are built.
        if (c < least || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return false;
        p += more + 1;
    }
    return true;
}

std::string fileNameForDisplay(std::string_view name) { return isUtf8(name) ? std::string(name) : cp1252ToUtf8(name); }

}  // namespace ftvb::ui

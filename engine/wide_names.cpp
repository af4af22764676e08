#include "engine/wide_names.h"

#include <cstdint>

namespace ftvb {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::string utf8FromWide(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t code = static_cast<std::uint16_t>(text[i]);
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size()) {
            const std::uint32_t low = static_cast<std::uint16_t>(text[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (code < 0x80) {
            out += char(code);
        } else if (code < 0x800) {
            out += char(0xC0 | (code >> 6));
            out += char(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += char(0xE0 | (code >> 12));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        } else {
            out += char(0xF0 | (code >> 18));
            out += char(0x80 | ((code >> 12) & 0x3F));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        }
    }
    return out;
}

bool wideFromUtf8(std::string_view text, std::wstring& out) {
    out.clear();
    out.reserve(text.size());
    bool valid = true;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out += wchar_t(lead);
            ++i;
            continue;
        }
        const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        bool whole = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; whole && k < length; ++k)
            whole = isContinuation(static_cast<unsigned char>(text[i + k]));
        std::uint32_t code = 0;
        if (whole) {
            code = lead & (0x7F >> length);
            for (std::size_t k = 1; k < length; ++k)
                code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
            // Overlong forms and code points beyond Unicode are not text.
            static constexpr std::uint32_t kLeast[5] = {0, 0, 0x80, 0x800, 0x10000};
            whole = code >= kLeast[length] && code <= 0x10FFFF;
        }
        if (!whole) {
            out += kReplacement;
            valid = false;
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out += wchar_t(0xD800 + (code >> 10));
            out += wchar_t(0xDC00 + (code & 0x3FF));
        } else {
            out += wchar_t(code);  // a lone surrogate too, as WTF-8 carries it
        }
        i += length;
    }
    return valid;
}

}  // namespace ftvb

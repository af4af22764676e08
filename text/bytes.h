// Byte-level helpers shared by the rules: blank trimming, prefix and suffix
// tests, and Windows-1252 lower-casing without any locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace ftvb {

// Blanks are spaces only; tabs are never trimmed. Statements are padded
// with blanks to 72 columns, so the scans skip eight blanks at a time.
inline std::size_t firstNonBlank(std::string_view s) {
    constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, s.data() + i, 8);
        if (w != kBlanks) break;
    }
    while (i < s.size() && s[i] == ' ') ++i;
    return i;
}

// One past the last non-blank character (0 when all blank).
inline std::size_t endOfNonBlank(std::string_view s) {
    constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;
    std::size_t e = s.size();
    for (; e >= 8; e -= 8) {
        std::uint64_t w;
        std::memcpy(&w, s.data() + e - 8, 8);
        if (w != kBlanks) break;
    }
    while (e > 0 && s[e - 1] == ' ') --e;
    return e;
}

inline std::string_view trimBlanks(std::string_view s) {
    const std::size_t e = endOfNonBlank(s);
    if (e == 0) return {};
    const std::size_t b = firstNonBlank(s);
    return s.substr(b, e - b);
}

inline void trimBlanksInPlace(std::string& s) {
    const std::size_t e = endOfNonBlank(s);
    s.resize(e);
    const std::size_t b = firstNonBlank(s);
    if (b > 0) s.erase(0, b);
}

inline bool startsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

inline bool endsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() &&
           s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Where `needle` first occurs in `text` at or after `from`, or npos. Checks
// the second byte before calling memcmp, which makes short needles in text
// full of their first byte cheap.
inline std::size_t findText(std::string_view text, std::string_view needle, std::size_t from = 0) {
    const std::size_t n = needle.size();
    if (n == 0) return from <= text.size() ? from : std::string_view::npos;
    if (from >= text.size() || text.size() - from < n) return std::string_view::npos;
    const char first = needle[0];
    const char* base = text.data();
    const char* p = base + from;
    const char* last = base + text.size() - n;  // last possible start
    while (p <= last) {
        p = static_cast<const char*>(std::memchr(p, first, static_cast<std::size_t>(last - p) + 1));
        if (p == nullptr) return std::string_view::npos;
        if (n == 1 || (p[1] == needle[1] && (n == 2 || std::memcmp(p + 2, needle.data() + 2, n - 2) == 0))) {
            return static_cast<std::size_t>(p - base);
        }
        ++p;
    }
    return std::string_view::npos;
}

inline bool contains(std::string_view s, std::string_view part) {
    return findText(s, part) != std::string_view::npos;
}

// Position from 1 of the first `part` at or after position `from` (from 1),
// 0 when there is none: the rules count positions this way.
inline std::size_t position(std::string_view s, std::string_view part, std::size_t from = 1) {
    if (from == 0) from = 1;
    std::size_t p = s.find(part, from - 1);
    return p == std::string_view::npos ? 0 : p + 1;
}

// True when the text with its leading blanks removed begins with `prefix`.
inline bool trimmedStartsWith(std::string_view s, std::string_view prefix) {
    return startsWith(s.substr(firstNonBlank(s)), prefix);
}

// Lower-case of one Windows-1252 byte: A-Z, the accented capitals
// 0xC0-0xDE except the multiplication sign 0xD7, Š Œ Ž (0x8A 0x8C 0x8E,
// whose small forms lie 0x10 higher) and Ÿ (0x9F, whose small form is 0xFF).
constexpr unsigned char lowerByte(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
    if (c < 0x8A) return c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
    if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 0x10);
    if (c == 0x9F) return 0xFF;
    return c;
}

void lowerCaseInPlace(std::string& s);

}  // namespace ftvb

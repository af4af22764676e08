// Byte-level helpers shared by the rules: blank trimming, prefix and suffix
// tests, and Windows-1252 lower-casing without any locale.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace ftvb {

// Blanks are spaces only; tabs are never trimmed. Statements are padded
// with blanks to 72 columns, so the scans skip eight blanks at a time.
// In a word holding a non-blank, the first non-blank byte is the lowest
// byte that differs from a blank, and the last one the highest.
inline std::size_t firstNonBlank(std::string_view s) {
    constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, s.data() + i, 8);
        if (w != kBlanks) {
            if constexpr (std::endian::native == std::endian::little) {
                return i + static_cast<std::size_t>(std::countr_zero(w ^ kBlanks)) / 8;
            }
            break;
        }
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
        if (w != kBlanks) {
            if constexpr (std::endian::native == std::endian::little) {
                return e - static_cast<std::size_t>(std::countl_zero(w ^ kBlanks)) / 8;
            }
            break;
        }
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
    return s.size() >= prefix.size() && (prefix.empty() || s[0] == prefix[0]) &&
           s.compare(0, prefix.size(), prefix) == 0;
}

inline bool endsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

inline bool startsWithByte(std::string_view s, char c) { return !s.empty() && s.front() == c; }

// Word-at-a-time byte tests: `wordOf(c)` is c in each of eight bytes, and
// `bytesEqual` has the top bit of each byte of `word` that equals it set,
// exactly (no false hits from a carry).
inline constexpr std::uint64_t kEachByte = 0x0101010101010101ULL;
inline constexpr std::uint64_t kTopBits = 0x8080808080808080ULL;

constexpr std::uint64_t wordOf(char c) { return kEachByte * static_cast<unsigned char>(c); }

constexpr std::uint64_t bytesEqual(std::uint64_t word, std::uint64_t pattern) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    const std::uint64_t y = ~(word ^ pattern);  // 0xFF where the bytes agree
    return ((y & kLow7) + kEachByte) & y & kTopBits;
}

// Where two `c` in a row first occur at or after `from`, or npos: the
// blank-run search that every statement makes several times, done eight
// bytes at a time instead of stopping at every single blank.
inline std::size_t findDoubled(std::string_view text, char c, std::size_t from = 0) {
    const std::size_t n = text.size();
    std::size_t i = from;
    bool previous = false;  // the byte before i is c (and i-1 >= from)
    if constexpr (std::endian::native == std::endian::little) {
        const std::uint64_t pattern = wordOf(c);
        for (; i + 8 <= n; i += 8) {
            std::uint64_t w;
            std::memcpy(&w, text.data() + i, 8);
            const std::uint64_t eq = bytesEqual(w, pattern);
            if (previous && (eq & 0x80)) return i - 1;
            const std::uint64_t pairs = eq & (eq >> 8);  // byte k and k+1 both c
            if (pairs != 0) return i + static_cast<std::size_t>(std::countr_zero(pairs)) / 8;
            previous = (eq >> 63) != 0;
        }
    }
    for (; i < n; ++i) {
        if (text[i] != c) {
            previous = false;
        } else if (previous) {
            return i - 1;
        } else {
            previous = true;
        }
    }
    return std::string_view::npos;
}

// How common a byte is in FORTRAN statements, 0 for rare, so that a search
// can look for a needle's rarest byte and stop at few false starts.
inline constexpr auto kByteFrequency = [] {
    struct Table {
        unsigned char f[256];
    } t{};
    constexpr const char* kByMostCommon = " etaoinsrhldcu=(),mfp.gwyb*v1k0+2-x3/j'q\"z";
    unsigned char rank = 250;
    for (const char* c = kByMostCommon; *c; ++c, rank = static_cast<unsigned char>(rank - 5)) {
        t.f[static_cast<unsigned char>(*c)] = rank;
    }
    return t;
}();

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

// A search text with the offset of its rarest byte worked out once.
struct Pattern {
    std::string_view text;
    std::size_t key = 0;

    constexpr Pattern(std::string_view t) : text(t) {
        for (std::size_t i = 1; i < t.size(); ++i) {
            if (kByteFrequency.f[static_cast<unsigned char>(t[i])] <
                kByteFrequency.f[static_cast<unsigned char>(t[key])]) {
                key = i;
            }
        }
    }
    // A literal has its key worked out by the compiler.
    consteval Pattern(const char* t) : Pattern(std::string_view(t)) {}
    Pattern(const std::string& t) : Pattern(std::string_view(t)) {}
};

// Where `needle` first occurs in `text` at or after `from`, or npos.
inline std::size_t findText(std::string_view text, const Pattern& needle, std::size_t from = 0) {
    const std::size_t n = needle.text.size();
    if (n == 0) return from <= text.size() ? from : std::string_view::npos;
    if (from >= text.size() || text.size() - from < n) return std::string_view::npos;
    if (n == 2 && needle.text[0] == needle.text[1]) return findDoubled(text, needle.text[0], from);
    const std::size_t k = needle.key;
    const char keyByte = needle.text[k];
    const char* base = text.data();
    const char* p = base + from + k;                // the key byte of the first candidate
    const char* last = base + text.size() - n + k;  // ... and of the last
    while (p <= last) {
        p = static_cast<const char*>(std::memchr(p, keyByte, static_cast<std::size_t>(last - p) + 1));
        if (p == nullptr) return std::string_view::npos;
        const char* start = p - k;
        // The two ends first, inline: most candidates fail there.
        if (start[0] == needle.text[0] && start[n - 1] == needle.text[n - 1] &&
            std::memcmp(start + 1, needle.text.data() + 1, n - 1) == 0) {
            return static_cast<std::size_t>(start - base);
        }
        ++p;
    }
    return std::string_view::npos;
}

inline bool contains(std::string_view s, const Pattern& part) { return findText(s, part) != std::string_view::npos; }

// True when the text with its leading blanks removed begins with `prefix`.
inline bool trimmedStartsWith(std::string_view s, std::string_view prefix) {
    return startsWith(s.substr(firstNonBlank(s)), prefix);
}

void lowerCaseInPlace(std::string& s);
void lowerCaseInPlace(char* p, std::size_t n);
// Copies n bytes, lower-cased, to a place that does not overlap them.
void lowerCaseCopy(char* to, const char* from, std::size_t n);

}  // namespace ftvb

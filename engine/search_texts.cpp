// The scan. Each text has a key, a pair of its bytes; two tables of 256 sets
// say which texts have a given byte first and second in their key. Eight
// positions are tested at a time, and only a word where some key matches is
// looked at position by position, its texts compared in full. A text found
// once is not looked for again, and a word of eight blanks holds nothing but
// blanks.
#include "engine/search_texts.h"

#include <bit>
#include <cstring>

#include "text/bytes.h"

namespace ftvb {
namespace {

struct Filter {
    Texts first[256];
    Texts second[256];
};

constexpr Filter kFilter = [] {
    Filter f{};
    for (const detail::Entry& e : detail::kEntries) {
        if (e.id == Text::capital) continue;
        const Texts b = bit(e.id);
        f.first[static_cast<unsigned char>(e.text[e.key])] |= b;
        for (int c = 0; c < 256; ++c) {
            // A text of one byte is whole whatever follows, the terminator included.
            if (e.text.size() == 1 || static_cast<unsigned char>(e.text[e.key + 1]) == c) f.second[c] |= b;
        }
    }
    return f;
}();

constexpr Texts kScanned = kEveryText & ~bit(Text::capital);

constexpr std::size_t kLongestKey = [] {
    std::size_t k = 0;
    for (const detail::Entry& e : detail::kEntries) k = e.key > k ? e.key : k;
    return k;
}();

struct Compare {
    std::uint64_t head;  // the first bytes of the text, at most eight
    std::uint64_t mask;  // which bytes of a word `head` covers
    const char* text;
    unsigned char size;
    unsigned char key;
    bool stretches;
};

constexpr std::array<Compare, kTextCount> kCompare = [] {
    std::array<Compare, kTextCount> c{};
    for (std::size_t i = 0; i < kTextCount; ++i) {
        const detail::Entry& e = detail::kEntries[i];
        std::uint64_t head = 0;
        std::uint64_t mask = 0;
        for (std::size_t k = 0; k < e.text.size() && k < 8; ++k) {
            head |= std::uint64_t{static_cast<unsigned char>(e.text[k])} << (8 * k);
            mask |= std::uint64_t{0xFF} << (8 * k);
        }
        c[i] = {head,
                mask,
                e.text.data(),
                static_cast<unsigned char>(e.text.size()),
                static_cast<unsigned char>(e.key),
                stretches(e.text)};
    }
    return c;
}();

// Whether the text whose key matches at q is there whole, starting in
// [from, to).
[[gnu::always_inline]] inline bool confirmed(const unsigned char* p, std::size_t n, std::size_t q, const Compare& t,
                                             std::size_t from, std::size_t to) {
    if (!t.stretches) {
        if (q < from + t.key || q - t.key >= to) return false;
        const std::size_t j = q - t.key;
        if (j + 8 <= n && std::endian::native == std::endian::little) {
            std::uint64_t w;
            std::memcpy(&w, p + j, 8);
            if ((w & t.mask) != t.head) return false;
            if (t.size <= 8) return true;
        }
        if (j + t.size > n) return false;
        return std::memcmp(p + j, t.text, t.size) == 0;
    }
    // A blank of the text matches a run of blanks, forwards from the key
    // and backwards from it.
    std::size_t j = q;
    for (std::size_t k = t.key; k < t.size; ++k) {
        if (j >= n || p[j] != static_cast<unsigned char>(t.text[k])) return false;
        ++j;
        if (t.text[k] == ' ') {
            while (j < n && p[j] == ' ') ++j;
        }
    }
    std::size_t i = q;
    for (std::size_t k = t.key; k-- > 0;) {
        if (i == 0 || p[i - 1] != static_cast<unsigned char>(t.text[k])) return false;
        --i;
        if (t.text[k] == ' ') {
            while (i > 0 && p[i - 1] == ' ') --i;
        }
    }
    return i >= from && i < to;
}

// The texts of one or two bytes, which a matching key shows whole; their
// key is their start.
constexpr Texts kWholeInKey = [] {
    Texts whole = 0;
    for (const detail::Entry& e : detail::kEntries) {
        if (e.id != Text::capital && e.text.size() <= 2) whole |= bit(e.id);
    }
    return whole;
}();

[[gnu::noinline]] Texts confirm(const unsigned char* p, std::size_t n, std::size_t q, Texts candidates,
                                std::size_t from, std::size_t to) {
    Texts found = 0;
    // Texts of one or two bytes may start outside the range asked for:
    // they are in the text all the same.
    while (candidates != 0) {
        const int k = std::countr_zero(candidates);
        candidates &= candidates - 1;
        if (confirmed(p, n, q, kCompare[static_cast<std::size_t>(k)], from, to)) found |= Texts{1} << k;
    }
    return found;
}

inline Texts keyAt(const unsigned char* p, std::size_t q) { return kFilter.first[p[q]] & kFilter.second[p[q + 1]]; }

// A byte that lower-casing changes; eight ASCII bytes at a time, the
// others through the table.
bool anyCapital(const unsigned char* p, std::size_t n) {
    constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, p + i, 8);
        if ((w & kHigh) == 0) {
            // High bit of each byte set when the byte lies in 'A'..'Z'.
            if (((w + 0x3F3F3F3F3F3F3F3FULL) & ~(w + 0x2525252525252525ULL) & kHigh) != 0) return true;
            continue;
        }
        for (std::size_t k = i; k < i + 8; ++k) {
            if (detail::isCapitalByte(p[k])) return true;
        }
    }
    for (; i < n; ++i) {
        if (detail::isCapitalByte(p[i])) return true;
    }
    return false;
}

}  // namespace

Texts scanTexts(std::string_view text, std::size_t from, std::size_t to) {
    // The keys of texts that start before `to` reach this far, a run of
    // blanks in one counting as one byte.
    return scanKeys(text, from, to, reachForward(text, to < text.size() ? to : text.size()));
}

namespace {

// The scan, for the texts of `look`.
[[gnu::always_inline]] inline Texts scanFor(std::string_view text, std::size_t from, std::size_t to, std::size_t end,
                                            Texts look) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    to = to < n ? to : n;
    if (from >= to) return 0;
    constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;
    Texts found = 0;
    std::size_t q = from;
    // Whole words while the text lasts, past `end` if need be: what lies
    // there is in the text all the same.
    while (q < end && q + 8 <= n) {
        std::uint64_t w;
        std::memcpy(&w, p + q, 8);
        if (w == kBlanks) {
            found |= bit(Text::twoBlanks);
            look &= ~bit(Text::twoBlanks);
            q += 8;
            continue;
        }
        // p[q + 8] is at most the terminator.
        const Texts at[8] = {keyAt(p, q),     keyAt(p, q + 1), keyAt(p, q + 2), keyAt(p, q + 3),
                             keyAt(p, q + 4), keyAt(p, q + 5), keyAt(p, q + 6), keyAt(p, q + 7)};
        if (((at[0] | at[1] | at[2] | at[3] | at[4] | at[5] | at[6] | at[7]) & look) == 0) {
            q += 8;
            continue;
        }
        for (std::size_t k = 0; k < 8; ++k) {
            const Texts here = at[k] & look;
            if (here == 0) continue;
            const Texts f = (here & kWholeInKey) | confirm(p, n, q + k, here & ~kWholeInKey, from, to);
            found |= f;
            look &= ~f;
        }
        q += 8;
    }
    for (; q < end; ++q) {
        const Texts here = keyAt(p, q) & look;
        if (here == 0) continue;
        const Texts f = (here & kWholeInKey) | confirm(p, n, q, here & ~kWholeInKey, from, to);
        found |= f;
        look &= ~f;
    }
    return found;
}

}  // namespace

Texts scanKeys(std::string_view text, std::size_t from, std::size_t to, std::size_t end) {
    return scanFor(text, from, to, end, kScanned);
}

Texts scanAll(std::string_view text, bool capitals) { return scanAll(text, endOfNonBlank(text), capitals); }

Texts scanAll(std::string_view text, std::size_t end, bool capitals) {
    // Past the last non-blank byte only two blanks in a row can begin.
    Texts found = text.size() - end >= 2 ? bit(Text::twoBlanks) : 0;
    if (capitals && holdsCapital(text.substr(0, end))) found |= bit(Text::capital);
    // No key holds a blank: every key of the text lies before `end`.
    return found | scanKeys(text, 0, end, end);
}

Texts scanLowered(std::string_view text, std::size_t end, Texts sought) {
    const Texts found = text.size() - end >= 2 ? bit(Text::twoBlanks) : 0;
    return (found & sought) | scanFor(text, 0, end, end, kScanned & sought);
}

bool holdsCapital(std::string_view text) {
    return anyCapital(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

std::size_t reachForward(std::string_view text, std::size_t pos) {
    std::size_t steps = kLongestKey + 1;
    while (pos < text.size() && steps > 0) {
        if (text[pos] == ' ') {
            while (pos + 1 < text.size() && text[pos + 1] == ' ') ++pos;
        }
        ++pos;
        --steps;
    }
    return pos;
}

std::size_t reachBack(std::string_view text, std::size_t pos) {
    std::size_t steps = kLongestText - 1;
    while (pos > 0 && steps > 0) {
        --pos;
        if (text[pos] == ' ') {
            while (pos > 0 && text[pos - 1] == ' ') --pos;
        }
        --steps;
    }
    return pos;
}

}  // namespace ftvb

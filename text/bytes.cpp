// Locale-free lower-casing of Windows-1252 text through a 256-entry table.
#include "text/bytes.h"

#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace ftvb {
namespace {

constexpr std::array<unsigned char, 256> makeLowerTable() {
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 256; ++c) t[c] = lowerByte(static_cast<unsigned char>(c));
    return t;
}

constexpr std::array<unsigned char, 256> kLower = makeLowerTable();

// A word of plain ASCII has its capitals found and lowered with a few
// operations; a word holding 8-bit bytes goes through the table.
inline std::uint64_t lowerWord(std::uint64_t w) {
    constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
    if ((w & kHigh) != 0) {
        unsigned char b[8];
        std::memcpy(b, &w, 8);
        for (unsigned char& c : b) c = kLower[c];
        std::memcpy(&w, b, 8);
        return w;
    }
    // High bit of each byte set when the byte lies in 'A'..'Z'.
    const std::uint64_t capitals = (w + 0x3F3F3F3F3F3F3F3FULL) & ~(w + 0x2525252525252525ULL) & kHigh;
    return w | (capitals >> 2);  // 0x80 >> 2 is the 0x20 between the cases
}

}  // namespace

void lowerCaseInPlace(std::string& s) { lowerCaseInPlace(s.data(), s.size()); }

void lowerCaseInPlace(char* p, std::size_t n) { lowerCaseCopy(p, p, n); }

void lowerCaseCopy(char* to, const char* from, std::size_t n) {
    std::size_t i = 0;
#if defined(__SSE2__) || defined(_M_X64)
    // Sixteen bytes at a time where the processor has the instructions for
    // it; a block with an 8-bit byte in it goes a word at a time below.
    const __m128i beforeA = _mm_set1_epi8('A' - 1);
    const __m128i afterZ = _mm_set1_epi8('Z' + 1);
    const __m128i caseBit = _mm_set1_epi8(0x20);
    for (; i + 16 <= n; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        if (_mm_movemask_epi8(v) != 0) break;
        const __m128i capitals = _mm_and_si128(_mm_cmpgt_epi8(v, beforeA), _mm_cmpgt_epi8(afterZ, v));
        v = _mm_or_si128(v, _mm_and_si128(capitals, caseBit));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), v);
    }
#endif
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, from + i, 8);
        w = lowerWord(w);
        std::memcpy(to + i, &w, 8);
    }
    for (; i < n; ++i) to[i] = static_cast<char>(kLower[static_cast<unsigned char>(from[i])]);
}

}  // namespace ftvb

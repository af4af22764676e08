// Locale-free lower-casing of Windows-1252 text through a 256-entry table.
#include "text/bytes.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace ftvb {
namespace {

constexpr std::array<unsigned char, 256> makeLowerTable() {
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 256; ++c) t[c] = lowerByte(static_cast<unsigned char>(c));
    return t;
}

constexpr std::array<unsigned char, 256> kLower = makeLowerTable();

}  // namespace

void lowerCaseInPlace(std::string& s) { lowerCaseInPlace(s.data(), s.size()); }

void lowerCaseInPlace(char* p, std::size_t n) {
    // Eight bytes at a time: a word of plain ASCII has its capitals found and
    // lowered with a few operations; only words holding 8-bit bytes go
    // through the table.
    constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, p + i, 8);
        if (w & kHigh) {
            for (std::size_t k = i; k < i + 8; ++k) p[k] = static_cast<char>(kLower[static_cast<unsigned char>(p[k])]);
            continue;
        }
        // High bit of each byte set when the byte lies in 'A'..'Z'.
        const std::uint64_t capitals = (w + 0x3F3F3F3F3F3F3F3FULL) & ~(w + 0x2525252525252525ULL) & kHigh;
        if (capitals) {
            w |= capitals >> 2;  // 0x80 >> 2 is the 0x20 between the cases
            std::memcpy(p + i, &w, 8);
        }
    }
    for (; i < n; ++i) p[i] = static_cast<char>(kLower[static_cast<unsigned char>(p[i])]);
}

}  // namespace ftvb

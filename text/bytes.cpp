// Locale-free lower-casing of Windows-1252 text through a 256-entry table.
#include "text/bytes.h"

#include <array>

namespace ftvb {
namespace {

constexpr std::array<unsigned char, 256> makeLowerTable() {
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 256; ++c) t[c] = lowerByte(static_cast<unsigned char>(c));
    return t;
}

constexpr std::array<unsigned char, 256> kLower = makeLowerTable();

}  // namespace

void lowerCaseInPlace(std::string& s) {
    for (char& ch : s) ch = static_cast<char>(kLower[static_cast<unsigned char>(ch)]);
}

}  // namespace ftvb

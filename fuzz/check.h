// What the fuzz targets share: a check that stops the fuzzer with the texts
// involved, shown with their control bytes escaped so that a CR, LF or NUL
// is visible in the report.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace ftvb::fuzz {

inline std::string visible(std::string_view s, std::size_t limit = 400) {
    std::string out;
    for (std::size_t i = 0; i < s.size() && i < limit; ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c == '\\') {
            out += "\\\\";
        } else if (c < 0x20 || c >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    if (s.size() > limit) out += "... (" + std::to_string(s.size()) + " bytes)";
    return out;
}

// Aborts, which libFuzzer records as a crash with the input that caused it.
[[noreturn]] inline void fail(const char* what, std::initializer_list<std::pair<const char*, std::string_view>> texts) {
    std::fprintf(stderr, "\n==== invariant broken: %s\n", what);
    for (const auto& [label, text] : texts) std::fprintf(stderr, "  %s: \"%s\"\n", label, visible(text).c_str());
    std::fflush(stderr);
    std::abort();
}

}  // namespace ftvb::fuzz

// instr1 against a plain scan: the first comma at parenthesis depth 0,
// where only "(" and ")" move the depth and it may go below zero.
#include <cstdint>
#include <string>

#include "fuzz/check.h"
#include "text/primitives.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view ww(reinterpret_cast<const char*>(data), size);
    std::size_t want = 0;
    long long depth = 0;
    for (std::size_t i = 0; i < ww.size() && want == 0; ++i) {
        if (ww[i] == '(') ++depth;
        if (ww[i] == ')') --depth;
        if (ww[i] == ',' && depth == 0) want = i + 1;
    }
    const std::size_t got = ftvb::instr1(ww);
    if (got != want) {
        ftvb::fuzz::fail("instr1 differs from the plain scan",
                         {{"text", ww}, {"instr1", std::to_string(got)}, {"reference", std::to_string(want)}});
    }
    return 0;
}

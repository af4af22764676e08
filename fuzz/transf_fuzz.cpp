// transf against the rule it stands for: replace the first occurrence,
// search again from the start, until none is left.
//
// The input holds the find text, the replacement and the text, cut by
// FuzzedDataProvider (a backslash followed by any other byte ends a piece).
// The guards are checked for what they promise; otherwise the result must be
// the reference's whenever the reference finishes within a budget well
// inside transf's own.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "fuzz/check.h"
#include "text/primitives.h"

namespace {

using ftvb::fuzz::fail;

// transf gives up after about 2^20 re-read replacement bytes; a reference
// that replaces fewer bytes than this must be matched exactly.
constexpr std::size_t kReplacedBytes = std::size_t{1} << 18;
// Bytes searched and copied by the reference, to keep each input fast.
constexpr std::size_t kWork = std::size_t{4} << 20;

// False when the budget ran out first.
bool reference(std::string& ww, std::string_view find, std::string_view repl) {
    std::size_t replaced = 0;
    std::size_t work = 0;
    for (std::size_t p = ww.find(find); p != std::string::npos; p = ww.find(find)) {
        replaced += repl.size();
        work += ww.size() + repl.size();
        if (replaced > kReplacedBytes || work > kWork) return false;
        ww.replace(p, find.size(), repl);
    }
    return true;
}

std::string eachOnce(std::string_view ww, std::string_view find, std::string_view repl) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t p = ww.find(find); p != std::string_view::npos; p = ww.find(find, from)) {
        out.append(ww.substr(from, p - from));
        out.append(repl);
        from = p + find.size();
    }
    out.append(ww.substr(from));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Lengths that keep transf's own budget for a rewrite that feeds itself
    // (about 2^20 re-read bytes, and far less from the lengths) to a small
    // fraction of a second even under the sanitizers on a busy machine: the
    // budget, not the lengths, is what such a rewrite tests.
    FuzzedDataProvider provider(data, size);
    const std::string find = provider.ConsumeRandomLengthString(16);
    const std::string repl = provider.ConsumeRandomLengthString(32);
    const std::string text = provider.ConsumeRandomLengthString(512);

    std::string got = text;
    ftvb::transf(got, find, repl);

    std::string want = text;
    if (find.empty()) {
        // unchanged
    } else if (repl.find(find) != std::string::npos) {
        want = eachOnce(text, find, repl);
    } else if (!reference(want, find, repl)) {
        return 0;
    }
    if (got != want) {
        fail("transf differs from searching again from the start",
             {{"find", find}, {"replacement", repl}, {"text", text}, {"transf", got}, {"reference", want}});
    }
    return 0;
}

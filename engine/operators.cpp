// Expression spelling: a blank after every ")" that lacks one, then twenty
// plain-text replacements, in this order, each on the result of the one
// before. The order matters: the blanks the operators bring are collapsed by
// step 15, which also joins "go  to" before the jump steps mark it.
#include <array>
#include <cstdint>
#include <string_view>

#include "engine/stages.h"
#include "text/primitives.h"

namespace ftvb {

Next parenthesisSpacing(Translation& t) {
    std::string& s = t.text();
    const std::size_t n = s.size();
    if (n < 2) return Next::Continue;
    // Count first: most statements have nothing to space.
    std::size_t extra = 0;
    for (std::size_t i = s.find(')'); i != std::string::npos && i + 1 < n; i = s.find(')', i + 1)) {
        if (s[i + 1] != ' ') ++extra;
    }
    if (extra == 0) return Next::Continue;
    std::string spaced;
    spaced.reserve(n + extra);
    std::size_t from = 0;
    for (std::size_t i = s.find(')'); i != std::string::npos && i + 1 < n; i = s.find(')', i + 1)) {
        if (s[i + 1] == ' ') continue;
        spaced.append(s, from, i + 1 - from);
        spaced.push_back(' ');
        from = i + 1;
    }
    spaced.append(s, from, std::string::npos);
    s.swap(spaced);
    return Next::Continue;
}

namespace {

struct Rewrite {
    Pattern find;
    std::string_view replacement;
};

constexpr std::array<Rewrite, 20> kOperatorRewrites{{
    {"sqrt", " sqr "},
    {"dexp", " exp "},
    {".true.", " true "},
    {".false.", " false "},
    {".eq.", " = "},
    {".lt.", " < "},
    {".gt.", " > "},
    {".le.", " <= "},
    {".ge.", " >= "},
    {".ne.", " <> "},
    {".or.", " or "},
    {".and.", " and "},
    {".not.", " not "},
    {"'", "\""},
    {"  ", " "},
    {"//", " + "},
    {"go to ", "goto*"},
    {"goto ", "goto*"},
    {"goto*", "goto L"},  // the mark keeps "goto L" from matching "goto " again
    {"**", "^"},
}};

// For each byte, the rewrites whose search text has it as its rarest byte.
// One pass over the statement tells which rewrites can apply at all, which
// spares most of the twenty searches.
constexpr auto kRewritesByKeyByte = [] {
    struct Table {
        std::uint32_t bits[256];
    } t{};
    for (std::size_t i = 0; i < kOperatorRewrites.size(); ++i) {
        const Pattern& p = kOperatorRewrites[i].find;
        t.bits[static_cast<unsigned char>(p.text[p.key])] |= std::uint32_t{1} << i;
    }
    return t;
}();

std::uint32_t possibleRewrites(std::string_view s) {
    std::uint32_t mask = 0;
    for (const char c : s) mask |= kRewritesByKeyByte.bits[static_cast<unsigned char>(c)];
    return mask;
}

}  // namespace

Next operatorRewrites(Translation& t) {
    std::string& s = t.text();
    // A long statement (a block of joined comment lines) holds most bytes
    // anyway, and there the searches run faster than a pass byte by byte.
    std::uint32_t possible = s.size() <= 256 ? possibleRewrites(s) : ~std::uint32_t{0};
    for (std::size_t i = 0; i < kOperatorRewrites.size(); ++i) {
        if (!(possible & (std::uint32_t{1} << i))) continue;
        const Rewrite& r = kOperatorRewrites[i];
        const std::size_t before = s.size();
        transf(s, r.find, r.replacement);
        // What a replacement brings may let a later rewrite apply.
        if (s.size() != before || r.find.text.size() == r.replacement.size()) {
            possible |= possibleRewrites(r.replacement);
        }
    }
    return Next::Continue;
}

}  // namespace ftvb

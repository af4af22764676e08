// Expression spelling: a blank after every ")" that lacks one, then twenty
// plain-text replacements, in this order, each on the result of the one
// before. The order matters: the blanks the operators bring are collapsed by
// step 15, which also joins "go  to" before the jump steps mark it.
#include <array>
#include <string_view>

#include "engine/stages.h"
#include "text/primitives.h"

namespace ftvb {

Next parenthesisSpacing(Translation& t) {
    std::string& s = t.text();
    const std::size_t n = s.size();
    if (n < 2 || !t.mayHold(")")) return Next::Continue;
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
    t.inserted(" ");
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

// The classes each search text needs, side by side, so that ruling a
// rewrite out reads one word.
constexpr auto kNeeds = [] {
    std::array<ByteClasses, kOperatorRewrites.size()> needs{};
    for (std::size_t i = 0; i < needs.size(); ++i) needs[i] = kOperatorRewrites[i].find.classes;
    return needs;
}();

}  // namespace

Next operatorRewrites(Translation& t) {
    // The statement's byte classes rule out most of the twenty at once; what
    // a replacement brings is added to them, so a later rewrite can see it.
    for (std::size_t i = 0; i < kOperatorRewrites.size(); ++i) {
        if ((t.state.statementClasses & kNeeds[i]) != kNeeds[i]) continue;
        t.replaceAll(kOperatorRewrites[i].find, kOperatorRewrites[i].replacement);
    }
    return Next::Continue;
}

}  // namespace ftvb

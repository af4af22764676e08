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

constexpr bool isSmallLetter(char c) { return c >= 'a' && c <= 'z'; }

// The dot operators: a search text that begins with "." and a letter.
constexpr bool isDotOperator(std::string_view find) {
    return find.size() >= 2 && find[0] == '.' && isSmallLetter(find[1]);
}

// Prose and numbers hold many "." and every letter, so the classes let the
// dot operators through; one look for "." followed by a letter rules all
// eleven out together. That look holds for the rest of the stage as long as
// no replacement before or among them can make such a pair: none begins
// with a letter, ends with "." or holds "." and a letter.
constexpr bool makesNoDotLetter(std::string_view r) {
    if (r.empty() || isSmallLetter(r.front()) || r.back() == '.') return false;
    for (std::size_t i = 0; i + 1 < r.size(); ++i) {
        if (r[i] == '.' && isSmallLetter(r[i + 1])) return false;
    }
    return true;
}

constexpr std::size_t kLastDotOperator = [] {
    std::size_t last = 0;
    for (std::size_t i = 0; i < kOperatorRewrites.size(); ++i) {
        if (isDotOperator(kOperatorRewrites[i].find.text)) last = i;
    }
    return last;
}();

static_assert([] {
    for (std::size_t i = 0; i <= kLastDotOperator; ++i) {
        if (!makesNoDotLetter(kOperatorRewrites[i].replacement)) return false;
    }
    return true;
}());

bool holdsDotLetter(std::string_view s) {
    for (std::size_t i = s.find('.'); i != std::string_view::npos && i + 1 < s.size(); i = s.find('.', i + 1)) {
        if (isSmallLetter(s[i + 1])) return true;
    }
    return false;
}

}  // namespace

Next operatorRewrites(Translation& t) {
    // The statement's byte classes rule out most of the twenty at once; what
    // a replacement brings is added to them, so a later rewrite can see it.
    enum { Unknown, Yes, No } dotLetter = Unknown;
    for (std::size_t i = 0; i < kOperatorRewrites.size(); ++i) {
        if ((t.state.statementClasses & kNeeds[i]) != kNeeds[i]) continue;
        const Rewrite& r = kOperatorRewrites[i];
        if (isDotOperator(r.find.text)) {
            if (dotLetter == Unknown) dotLetter = holdsDotLetter(t.text()) ? Yes : No;
            if (dotLetter == No) continue;
        }
        t.replaceAll(r.find, r.replacement);
    }
    return Next::Continue;
}

}  // namespace ftvb

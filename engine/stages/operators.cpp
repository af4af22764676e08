// Stage 16: operator spelling, the twenty rewrites of kOperatorRewrites.
//
// Each rewrite is, by definition, a replace-all on the result of the one
// before. The first fourteen (intrinsics, logical constants, relational and
// logical operators, quotes) cannot make one another's search texts, none
// of which holds a blank, and the fifteenth collapses blank runs: so the
// statement applies all fifteen in one copy, left to right, choosing among
// overlapping matches as the replace-alls in turn would. The last five can
// (" + " may complete a "go to ", "goto*" is there to be found by the next
// one), so each stays a replace-all of its own, searched only when the
// statement may hold its text. Which rewrites join the one pass is worked
// out by the compiler, not decided here.
#include "engine/stages/operators.h"

#include "engine/stage_notes.h"
#include "engine/stages.h"

namespace ftvb {
namespace {

constexpr std::size_t kInOnePass = [] {
    std::size_t n = 0;
    while (n < kOperatorRewrites.size() && OnePass::fits(std::span<const Rewrite>(kOperatorRewrites.data(), n + 1))) {
        ++n;
    }
    return n;
}();
static_assert(kInOnePass == 15, "intrinsics, constants, operators, quotes and the blank collapse in one pass");

constexpr OnePass kFirstRewrites{std::span<const Rewrite>(kOperatorRewrites.data(), kInOnePass)};

// Whether a string between apostrophes holds a text that the rewrites
// change ("''" inside a string is read as the end of one and the start of
// the next, which holds nothing).
bool quotedRewritten(std::string_view text) {
    static constexpr std::string_view kFinds[] = {
        "sqrt", "dexp", ".true.", ".false.", ".eq.", ".lt.", ".gt.",   ".le.",  ".ge.",
        ".ne.", ".or.", ".and.",  ".not.",   "  ",   "//",   "go to ", "goto ", "**",
    };
    for (std::size_t open = text.find('\''); open != std::string_view::npos;) {
        const std::size_t close = text.find('\'', open + 1);
        // An unclosed string runs to the end; a rewrite there is in it too.
        const std::string_view inside =
            text.substr(open + 1, close == std::string_view::npos ? close : close - open - 1);
        for (const std::string_view find : kFinds) {
            if (inside.find(find) != std::string_view::npos) return true;
        }
        if (close == std::string_view::npos) break;
        open = text.find('\'', close + 1);
    }
    return false;
}

void noteBeforeRewrites(StageContext& c) {
    const Statement& s = c.statement;
    if (s.mayHold(Text::quote) && quotedRewritten(s.text())) c.note(ReviewKind::quotedText);
    // "dsqrt" becomes "d sqr ".
    if (s.mayHold(Text::sqrt) && placesOf(s.text(), "sqrt", '\'').inName) c.note(ReviewKind::keywordInName, "sqrt");
    if (s.mayHold(Text::dexp) && placesOf(s.text(), "dexp", '\'').inName) c.note(ReviewKind::keywordInName, "dexp");
}

// The jumps the rules mark but cannot translate: "goto L(10, 20), i" and
// "goto Lk" to a label held in a variable.
void noteJumps(StageContext& c) {
    const std::string_view text = c.statement.text();
    constexpr std::string_view kJump = "goto L";
    for (std::size_t p = text.find(kJump); p != std::string_view::npos; p = text.find(kJump, p + 1)) {
        const std::size_t target = p + kJump.size();
        if (target >= text.size() || insideQuotes(text, p, '"')) continue;
        if (text[target] == '(') c.note(ReviewKind::computedGoto);
        if (isNameByte(text[target]) && !(text[target] >= '0' && text[target] <= '9')) {
            c.note(ReviewKind::assignedGoto);
        }
    }
}

}  // namespace

Next operatorRewrites(StageContext& c) {
    const bool noting = c.noting();
    if (noting) noteBeforeRewrites(c);
    c.statement.replaceAllInOnePass(kFirstRewrites);
    for (std::size_t i = kInOnePass; i < kOperatorRewrites.size(); ++i) c.statement.replaceAll(kOperatorRewrites[i]);
    if (noting) noteJumps(c);
    return Next::Continue;
}

}  // namespace ftvb

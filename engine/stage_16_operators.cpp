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

}  // namespace

Next operatorRewrites(StageContext& c) {
    c.statement.replaceAllInOnePass(kFirstRewrites);
    for (std::size_t i = kInOnePass; i < kOperatorRewrites.size(); ++i) c.statement.replaceAll(kOperatorRewrites[i]);
    return Next::Continue;
}

}  // namespace ftvb

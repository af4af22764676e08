// Parenthesis spacing and the twenty operator rewrites, each at its own
// stage, then a few through the whole routine.
#include <gtest/gtest.h>

#include <random>
#include <utility>

#include "tests/support/capture.h"
#include "text/primitives.h"

namespace ftvb::testing {
namespace {

struct Case {
    const char* in;
    const char* out;
};

TEST(Operators, ParenthesisSpacing) {
    const Case cases[] = {
        {"f(g(x))", "f(g(x) )"},
        {"if(a.gt.b)x=1", "if(a.gt.b) x=1"},
        {"a)", "a)"},
        {")", ")"},
        {"", ""},
        {"))", ") )"},
        {"(x) y", "(x) y"},
        {"c f(x)y", "c f(x) y"},
    };
    for (const Case& c : cases) EXPECT_EQ(afterStage(parenthesisSpacing, c.in), c.out) << c.in;
}

TEST(Operators, Rewrites) {
    const Case cases[] = {
        {"if(a.gt.b) x=1", "if(a > b) x=1"},
        {"y = sqrt(x)", "y = sqr (x)"},
        {"y = dexp(x)", "y = exp (x)"},
        {"z = dsqrt(x)", "z = d sqr (x)"},
        {"s = 'abc'//'def'", "s = \"abc\" + \"def\""},
        {"s = a // b", "s = a  +  b"},  // blanks around + are collapsed later
        {"x = y**2", "x = y^2"},
        {"s = 'a  b.eq.c'", "s = \"a b = c\""},
        {"l = a.and..not.b", "l = a and not b"},
        {"l = x.le.y.and.z.ge.w", "l = x <= y and z >= w"},
        {"l = a.ne.b.or.c.lt.d", "l = a <> b or c < d"},
        {"l = .true..or..false.", "l = true or false "},
        {"go to (10, 20), i", "goto L(10, 20), i"},
        {"go  to  10", "goto L10"},
        {"goto 10", "goto L10"},
        {"goto10", "goto10"},
        {"x = a.EQ.b", "x = a.EQ.b"},
        {"x = 2***3", "x = 2^*3"},
        {"a.eq.true.b", "a.eq true b"},  // .true. comes first in the table
        {"a.true.eq.b", "a true eq.b"},
        {"x.eq.eq.y", "x = eq.y"},            // the second .eq. shares the first one's dot
        {"l.true.eq.eq.r", "l true eq = r"},  // taken out by .true., the first .eq. frees the second
        {"go to//x", "goto L+ x"},            // " + " completes a "go to "
        {"go to *5", "goto L*5"},             // the mark's "*" and the next one are not a power
    };
    for (const Case& c : cases) EXPECT_EQ(afterStage(operatorRewrites, c.in), c.out) << c.in;
}

TEST(Operators, SameAsTheTwentyReplacementsInTurn) {
    // The stage passes rewrites over by the statement's classes and by one
    // look for "." and a letter; the plain rule makes all twenty in turn.
    const std::pair<const char*, const char*> twenty[] = {
        {"sqrt", " sqr "},   {"dexp", " exp "},  {".true.", " true "}, {".false.", " false "},
        {".eq.", " = "},     {".lt.", " < "},    {".gt.", " > "},      {".le.", " <= "},
        {".ge.", " >= "},    {".ne.", " <> "},   {".or.", " or "},     {".and.", " and "},
        {".not.", " not "},  {"'", "\""},        {"  ", " "},          {"//", " + "},
        {"go to ", "goto*"}, {"goto ", "goto*"}, {"goto*", "goto L"},  {"**", "^"},
    };
    // Overlapping operators share their dots (".eq.true." is ".eq" and
    // ".true."): the table's order, not the text's, decides which one goes.
    const char* const pieces[] = {
        ".",    "..",  ". ",    "1.",     ".5",   "e",    "q",     "t",     "r",   "u",   "a",   "n",   "d",   "o",
        "l",    "g",   "s",     "x",      "p",    "f",    " ",     "  ",    "'",   "/",   "*",   "go",  ".eq", "eq.",
        ".tru", "e.",  ".and.", ".not.",  "sqrt", "dexp", "true.", "alse.", "ne.", "ot.", "le.", "ge.", "lt.", "gt.",
        "or.",  "nd.", ".eq.",  ".true.", ".ne.", ".or.", "go to", "goto",  "to ", "**",  "//",  "sqr", "exp"};
    std::mt19937 rng(31337);
    for (int i = 0; i < 100000; ++i) {
        std::string text;
        // Now and then a long statement, with more matches than a short
        // one sorts by insertion, and a few beyond the size whose matches
        // are listed.
        const int n = static_cast<int>(i % 25000 == 0 ? 30000 + rng() % 10000
                                       : i % 500 == 0 ? 200 + rng() % 400
                                                      : rng() % 14);
        for (int k = 0; k < n; ++k) text += pieces[rng() % std::size(pieces)];
        std::string want = text;
        for (const auto& [find, repl] : twenty) transf(want, std::string_view(find), repl);
        ASSERT_EQ(afterStage(operatorRewrites, text), want) << '"' << text << '"';
    }
}

TEST(Operators, ThroughTheRoutine) {
    const struct {
        const char* in;
        std::vector<std::string> out;
    } cases[] = {
        {"      go to (10, 20), i\n", {"goto L(10, 20) , i"}},
        {"      k = len(a(2:3))\n", {"k = len(mid$(a,2,3-1) )"}},
        {"      s = a // b\n", {"s = a + b"}},
        {"c if(a.gt.b)x=1\n", {"' if(a.gt.b) x=1" + std::string(57, ' ')}},
        {"      subroutine s(x) ! .eq.\n", {"Sub  s(x) ! .eq.", "end sub"}},
    };
    for (const auto& c : cases) {
        const auto got = convertBody(c.in);
        EXPECT_EQ(got, c.out) << c.in << show(got);
    }
}

}  // namespace
}  // namespace ftvb::testing

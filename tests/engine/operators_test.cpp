// Parenthesis spacing and the twenty operator rewrites, each at its own
// stage, then a few through the whole routine.
#include <gtest/gtest.h>

#include <random>
#include <utility>

#include "tests/support/capture.h"
#include "tests/support/case_line.h"
#include "text/primitives.h"

namespace ftvb::testing {
namespace {

struct Case {
    int line;  // where the case is written, for the failure to name
    const char* in;
    const char* out;
};

TEST(Operators, ParenthesisSpacing) {
    const Case cases[] = {
        {__LINE__, "f(g(x))", "f(g(x) )"},
        {__LINE__, "if(a.gt.b)x=1", "if(a.gt.b) x=1"},
        {__LINE__, "a)", "a)"},
        {__LINE__, ")", ")"},
        {__LINE__, "", ""},
        {__LINE__, "))", ") )"},
        {__LINE__, "(x) y", "(x) y"},
        {__LINE__, "c f(x)y", "c f(x) y"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        EXPECT_EQ(afterStage(parenthesisSpacing, c.in), c.out) << c.in;
    }
}

TEST(Operators, Rewrites) {
    const Case cases[] = {
        {__LINE__, "if(a.gt.b) x=1", "if(a > b) x=1"},
        {__LINE__, "y = sqrt(x)", "y = sqr (x)"},
        {__LINE__, "y = dexp(x)", "y = exp (x)"},
        {__LINE__, "z = dsqrt(x)", "z = d sqr (x)"},
        {__LINE__, "s = 'abc'//'def'", "s = \"abc\" + \"def\""},
        {__LINE__, "s = a // b", "s = a  +  b"},  // blanks around + are collapsed later
        {__LINE__, "x = y**2", "x = y^2"},
        {__LINE__, "s = 'a  b.eq.c'", "s = \"a b = c\""},
        {__LINE__, "l = a.and..not.b", "l = a and not b"},
        {__LINE__, "l = x.le.y.and.z.ge.w", "l = x <= y and z >= w"},
        {__LINE__, "l = a.ne.b.or.c.lt.d", "l = a <> b or c < d"},
        {__LINE__, "l = .true..or..false.", "l = true or false "},
        {__LINE__, "go to (10, 20), i", "goto L(10, 20), i"},
        {__LINE__, "go  to  10", "goto L10"},
        {__LINE__, "goto 10", "goto L10"},
        {__LINE__, "goto10", "goto10"},
        {__LINE__, "x = a.EQ.b", "x = a.EQ.b"},
        {__LINE__, "x = 2***3", "x = 2^*3"},
        {__LINE__, "a.eq.true.b", "a.eq true b"},  // .true. comes first in the table
        {__LINE__, "a.true.eq.b", "a true eq.b"},
        {__LINE__, "x.eq.eq.y", "x = eq.y"},            // the second .eq. shares the first one's dot
        {__LINE__, "l.true.eq.eq.r", "l true eq = r"},  // taken out by .true., the first .eq. frees the second
        {__LINE__, "go to//x", "goto L+ x"},            // " + " completes a "go to "
        {__LINE__, "go to *5", "goto L*5"},             // the mark's "*" and the next one are not a power
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        EXPECT_EQ(afterStage(operatorRewrites, c.in), c.out) << c.in;
    }
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
        int line;  // where the case is written, for the failure to name
        const char* in;
        std::vector<std::string> out;
    } cases[] = {
        {__LINE__, "      go to (10, 20), i\n", {"goto L(10, 20) , i"}},
        {__LINE__, "      k = len(a(2:3))\n", {"k = len(mid$(a,2,3-1) )"}},
        {__LINE__, "      s = a // b\n", {"s = a + b"}},
        {__LINE__, "c if(a.gt.b)x=1\n", {"' if(a.gt.b) x=1" + std::string(57, ' ')}},
        {__LINE__, "      subroutine s(x) ! .eq.\n", {"Sub  s(x) ! .eq.", "end sub"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        const auto got = convertBody(c.in);
        EXPECT_EQ(got, c.out) << c.in << show(got);
    }
}

}  // namespace
}  // namespace ftvb::testing

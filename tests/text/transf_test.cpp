// Replace-all: the fixed-point cases, the guards, and the one-pass build
// against the straightforward "search again from the start" loop.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/support/case_line.h"
#include "text/primitives.h"

namespace ftvb {
namespace {

using ftvb::testing::caseLine;

struct Case {
    int line;  // where the case is written, for the failure to name
    const char* text;
    const char* find;
    const char* repl;
    const char* want;
};

std::string replaced(std::string text, std::string_view find, std::string_view repl) {
    transf(text, find, repl);
    return text;
}

TEST(Transf, FixedPointCases) {
    const Case cases[] = {
        {__LINE__, "", "a", "b", ""},
        {__LINE__, "abc", "x", "y", "abc"},
        {__LINE__, "a  b    c", "  ", " ", "a b c"},
        {__LINE__, "x .eq. y", ".eq.", " = ", "x  =  y"},
        {__LINE__, "aab", "ab", "b", "b"},  // the first replacement forms a new occurrence
        {__LINE__, "a.b.c", ".", "", "abc"},
        {__LINE__, "abc", "abc", "xy", "xy"},
        {__LINE__, "abcab", "ab", "Z", "ZcZ"},
        {__LINE__, "x .EQ. y", ".eq.", " = ", "x .EQ. y"},
        {__LINE__, "x  =   = y", " =", "=", "x== y"},
        {__LINE__, "#a#", "#", " as string * ", " as string * a as string * "},
        {__LINE__, "      ", "  ", " ", " "},
        {__LINE__, "go  to  10", "  ", " ", "go to 10"},
        {__LINE__, "aaaa", "aa", "a", "a"},
        {__LINE__, "baaa", "ba", "b", "b"},
        {__LINE__, "abab", "ba", "", "ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        EXPECT_EQ(replaced(c.text, c.find, c.repl), c.want)
            << "transf(\"" << c.text << "\", \"" << c.find << "\", \"" << c.repl << "\")";
    }
}

TEST(Transf, GuardsNeverLoop) {
    // An empty search text changes nothing.
    EXPECT_EQ(replaced("abc", "", "x"), "abc");
    EXPECT_EQ(replaced("", "", "x"), "");
    // A replacement holding the search text: each occurrence present, once.
    EXPECT_EQ(replaced("include x include", "include", "'* include"), "'* include x '* include");
    EXPECT_EQ(replaced("grp grp", "grp", "a, grp, b"), "a, grp, b a, grp, b");
    EXPECT_EQ(replaced("aaa", "a", "aa"), "aaaaaa");
}

TEST(Transf, RunawayRewriteStops) {
    // "ab" -> "bbaa" keeps forming new occurrences; the budget ends it.
    std::string s = "aabb";
    transf(s, "ab", "bbaa");
    EXPECT_FALSE(s.empty());
}

// The rule as written: find from the start, cut, insert, find again.
bool slowTransf(std::string& ww, const std::string& find, const std::string& repl, int maxSteps) {
    std::size_t p = ww.find(find);
    int steps = 0;
    while (p != std::string::npos) {
        if (++steps > maxSteps) return false;
        ww = ww.substr(0, p) + repl + ww.substr(p + find.size());
        p = ww.find(find);
    }
    return true;
}

TEST(Transf, SameResultAsSearchingFromTheStart) {
    std::mt19937 rng(12345);
    const std::string alphabet = "ab ()";
    auto randomText = [&](int maxLen) {
        std::string s;
        int n = static_cast<int>(rng() % static_cast<unsigned>(maxLen + 1));
        for (int i = 0; i < n; ++i) s.push_back(alphabet[rng() % alphabet.size()]);
        return s;
    };
    int compared = 0;
    for (int i = 0; i < 200000; ++i) {
        std::string text = randomText(24);
        std::string find = randomText(3);
        std::string repl = randomText(4);
        if (find.empty() || repl.find(find) != std::string::npos) continue;
        std::string want = text;
        if (!slowTransf(want, find, repl, 2000)) continue;
        std::string got = text;
        transf(got, find, repl);
        ASSERT_EQ(got, want) << "text \"" << text << "\" find \"" << find << "\" repl \"" << repl << "\"";
        ++compared;
    }
    EXPECT_GT(compared, 50000);
}

TEST(Transf, RunCollapseSameAsSearchingFromTheStart) {
    // Runs that straddle, start and end eight-byte words, of blanks and of
    // another byte, in texts long enough for the word-at-a-time path.
    std::mt19937 rng(777);
    for (const char c : {' ', 'a', '\xA3'}) {
        const std::string alphabet = std::string(3, c) + "b(";
        const std::string find(2, c);
        const std::string repl(1, c);
        for (int i = 0; i < 20000; ++i) {
            std::string text;
            const int n = static_cast<int>(rng() % 90);
            for (int k = 0; k < n; ++k) text.push_back(alphabet[rng() % alphabet.size()]);
            std::string want = text;
            ASSERT_TRUE(slowTransf(want, find, repl, 1000));
            std::string got = text;
            transf(got, find, repl);
            ASSERT_EQ(got, want) << "text \"" << text << "\"";
        }
    }
}

TEST(Transf, LongRunsInLinearTime) {
    // Ten million blanks collapse in one pass, not one rescan per blank.
    std::string s(10'000'000, ' ');
    transf(s, "  ", " ");
    EXPECT_EQ(s, " ");
    std::string ops;
    for (int i = 0; i < 200000; ++i) ops += "a.eq.b ";
    transf(ops, ".eq.", " = ");
    EXPECT_EQ(ops.find(".eq."), std::string::npos);
    EXPECT_EQ(ops.size(), 200000u * 6);
}

}  // namespace
}  // namespace ftvb

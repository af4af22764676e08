// Colon substrings to mid$ calls.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/support/case_line.h"
#include "text/numeric.h"
#include "text/primitives.h"

namespace ftvb {
namespace {

using ftvb::testing::caseLine;

std::string rewritten(std::string s) {
    trs_2_pts(s);
    return s;
}

TEST(Substrings, Rewrites) {
    const struct {
        int line;  // where the case is written, for the failure to name
        const char* in;
        const char* out;
    } cases[] = {
        {__LINE__, "x = a(2:5)", "x = mid$(a,2,5-1)"},
        {__LINE__, "s = t(1:n)", "s = mid$(t,1,n)"},
        {__LINE__, "y = c(i:j)", "y = mid$(c,i,j-i+1)"},
        {__LINE__, "k = len(a(2:3))", "k = len(mid$(a,2,3-1))"},
        {__LINE__, "z = a(1:2) + b(3:4)", "z = mid$(a,1,2) + mid$(b,3,4-2)"},
        // quotes hide colons, both kinds toggling one flag
        {__LINE__, "s = 'a:b'", "s = 'a:b'"},
        {__LINE__, "s = \"a:b\"", "s = \"a:b\""},
        {__LINE__, "s = \"a:b\" // t(1:2)", "s = \"a:b\" // mid$(t,1,2)"},
        {__LINE__, "x = 1 'note a(1:2)", "x = 1 'note a(1:2)"},
        // no name
        {__LINE__, "(1:2)", "mid$(,1,2)"},
        // the name runs back to the previous delimiter, commas included
        {__LINE__, "call p(x,a(1:2))", "call p(mid$(x,a,1,2))"},
        // nearest parentheses, no nesting
        {__LINE__, "a(f(1):3)", "a(mid$(f,1),3-1)+1)"},  // the lower bound is "1)"
        {__LINE__, "a(k+1:n)", "mid$(a,k+1,n-k+1+1)"},
        // omitted bounds are not filled in
        {__LINE__, "a(:n)", "mid$(a,,n-+1)"},
        {__LINE__, "a(2:)", "mid$(a,2,-1)"},
        // a lower bound of 0
        {__LINE__, "a(0:10)", "mid$(a,0,10--1)"},
        {__LINE__, "a( 2:5)", "mid$(a, 2,5-1)"},
        {__LINE__, "a(02:5)", "mid$(a,02,5-02+1)"},
        // no ( to the left or ) to the right: the colon becomes a comma and
        // nothing further right is touched
        {__LINE__, "x: a(1:2)", "x, a(1:2)"},
        {__LINE__, "a(1:2) b(3:", "mid$(a,1,2) b(3,"},
        {__LINE__, "no colon here", "no colon here"},
        {__LINE__, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        EXPECT_EQ(rewritten(c.in), c.out) << c.in;
    }
}

TEST(Substrings, QuoteInTheLowerBoundEnds) {
    // A lower bound with a quote is copied twice, which changes the quoting
    // of what follows; the pass count is bounded by the colons there were.
    std::string s = "a(\"x:1) b(\"y:2) c(':3) \":\":\":";
    trs_2_pts(s);
    SUCCEED() << s;
}

// The passes as written: rescan the whole text from the start each time.
std::string slowSubstrings(std::string t, int passes) {
    while (passes-- > 0) {
        std::size_t c = std::string::npos;
        bool in = false;
        for (std::size_t i = 0; i < t.size(); ++i) {
            if (t[i] == '"' || t[i] == '\'') in = !in;
            if (t[i] == ':' && !in) {
                c = i;
                break;
            }
        }
        if (c == std::string::npos) return t;
        std::size_t o = t.rfind('(', c);
        std::size_t e = t.find(')', c);
        std::size_t s = 0;
        if (o != std::string::npos && o > 0) {
            std::size_t d = t.find_last_of(" =*+-/(", o - 1);
            s = d == std::string::npos ? 0 : d + 1;
        }
        t[c] = ',';
        if (o == std::string::npos || e == std::string::npos) return t;
        std::string inner = t.substr(o + 1, e - o - 1);
        std::string lower = inner.substr(0, inner.find(','));
        std::string arg;
        if (auto m = plainNumberMinusOne(lower)) {
            arg = *m == "0" ? inner : inner + "-" + *m;
        } else {
            arg = inner + "-" + lower + "+1";
        }
        t = t.substr(0, s) + "mid$(" + t.substr(s, o - s) + "," + arg + ")" + t.substr(e + 1);
    }
    return t;
}

TEST(Substrings, SameResultAsRescanningFromTheStart) {
    std::mt19937 rng(777);
    const std::string alphabet = "a1:(), =\"'+";
    for (int i = 0; i < 100000; ++i) {
        std::string s;
        const int n = static_cast<int>(rng() % 20);
        for (int k = 0; k < n; ++k) s.push_back(alphabet[rng() % alphabet.size()]);
        const int colons = static_cast<int>(std::count(s.begin(), s.end(), ':'));
        std::string got = s;
        trs_2_pts(got);
        ASSERT_EQ(got, slowSubstrings(s, colons)) << s;
    }
}

TEST(Substrings, TenThousandSubstringsInLinearTime) {
    std::string s;
    for (int i = 0; i < 10000; ++i) s += "a(i:j) ";
    trs_2_pts(s);
    EXPECT_EQ(s.find(':'), std::string::npos);
    EXPECT_EQ(s.substr(0, 20), "mid$(a,i,j-i+1) mid$");
}

}  // namespace
}  // namespace ftvb

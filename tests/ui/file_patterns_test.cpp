// File1's patterns, as both windows split and match them.
#include "ui/file_patterns.h"

#include <gtest/gtest.h>

#include "tests/support/case_line.h"

namespace ftvb::ui {
namespace {

using ftvb::testing::caseLine;

using Names = std::vector<std::string>;

TEST(FilePatterns, SplitAtSemicolonsWithoutBlanksOrEmptyParts) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* pattern;
        Names want;
    };
    const Case cases[] = {
        {__LINE__, "*.for", {"*.for"}},
        {__LINE__, "*.for;*.src", {"*.for", "*.src"}},
        {__LINE__, " *.for ; *.f\t;", {"*.for", "*.f"}},
        {__LINE__, ";;", {}},
        {__LINE__, "", {}},
        {__LINE__, "  ", {}},
        {__LINE__, "a b.for", {"a b.for"}},
        // A wildcard naming another folder refuses the whole pattern.
        {__LINE__, "*.for;../*.for", {}},
        {__LINE__, "/etc/*", {}},
#ifdef _WIN32
        {__LINE__, "*.for;sub\\*.for", {}},
        {__LINE__, "C:*.for", {}},
#else
        {__LINE__, "back\\slash.for", {"back\\slash.for"}},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        EXPECT_EQ(splitPattern(c.pattern), c.want) << "'" << c.pattern << "'";
    }
}

TEST(FilePatterns, WildcardsMatchWholeNames) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* wildcard;
        const char* name;
        bool want;
    };
    const Case cases[] = {
        {__LINE__, "*.for", "a.for", true},
        {__LINE__, "*.for", "a.fort", false},
        {__LINE__, "*.for", ".for", true},
        {__LINE__, "*.for", "a.for.bak", false},
        {__LINE__, "?.for", "ab.for", false},
        {__LINE__, "?.for", "a.for", true},
        {__LINE__, "*", "", true},
        {__LINE__, "", "", true},
        {__LINE__, "", "a", false},
        {__LINE__, "a*b*c", "aXXbYYc", true},
        {__LINE__, "a*b*c", "aXXbYYcZ", false},
        {__LINE__, "**.f", "x.f", true},
        {__LINE__, "*a*a*a*a*a*a*a*b",
         "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
        {__LINE__, "main.FOR", "main.for", false},  // exact: the caller folds case
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        EXPECT_EQ(wildcardMatch<char>(c.wildcard, c.name), c.want) << c.wildcard << " on " << c.name;
    }
}

}  // namespace
}  // namespace ftvb::ui

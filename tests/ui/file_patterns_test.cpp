// File1's patterns, as both windows split and match them.
#include "ui/file_patterns.h"

#include <gtest/gtest.h>

namespace ftvb::ui {
namespace {

using Names = std::vector<std::string>;

TEST(FilePatterns, SplitAtSemicolonsWithoutBlanksOrEmptyParts) {
    struct Case {
        const char* pattern;
        Names want;
    };
    const Case cases[] = {
        {"*.for", {"*.for"}},
        {"*.for;*.src", {"*.for", "*.src"}},
        {" *.for ; *.f\t;", {"*.for", "*.f"}},
        {";;", {}},
        {"", {}},
        {"  ", {}},
        {"a b.for", {"a b.for"}},
        // A wildcard naming another folder refuses the whole pattern.
        {"*.for;../*.for", {}},
        {"/etc/*", {}},
#ifdef _WIN32
        {"*.for;sub\\*.for", {}},
        {"C:*.for", {}},
#else
        {"back\\slash.for", {"back\\slash.for"}},
#endif
    };
    for (const Case& c : cases) EXPECT_EQ(splitPattern(c.pattern), c.want) << "'" << c.pattern << "'";
}

TEST(FilePatterns, WildcardsMatchWholeNames) {
    struct Case {
        const char* wildcard;
        const char* name;
        bool want;
    };
    const Case cases[] = {
        {"*.for", "a.for", true},
        {"*.for", "a.fort", false},
        {"*.for", ".for", true},
        {"*.for", "a.for.bak", false},
        {"?.for", "ab.for", false},
        {"?.for", "a.for", true},
        {"*", "", true},
        {"", "", true},
        {"", "a", false},
        {"a*b*c", "aXXbYYc", true},
        {"a*b*c", "aXXbYYcZ", false},
        {"**.f", "x.f", true},
        {"*a*a*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
         false},
        {"main.FOR", "main.for", false},  // exact: the caller folds case
    };
    for (const Case& c : cases) {
        EXPECT_EQ(wildcardMatch<char>(c.wildcard, c.name), c.want) << c.wildcard << " on " << c.name;
    }
}

}  // namespace
}  // namespace ftvb::ui

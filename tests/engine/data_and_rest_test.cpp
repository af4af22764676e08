// DATA, the INCLUDE marker, "!" comments, PARAMETER and outer parentheses.
#include <gtest/gtest.h>

#include "tests/support/capture.h"

namespace ftvb::testing {
namespace {

TEST(DataAndRest, Statements) {
    const struct {
        const char* in;
        std::vector<std::string> out;
    } cases[] = {
        {"      data a, b /1, 2/\n", {"a=1:b=2"}},
        {"      data x/1,2,3/\n", {"x(1)=1:x(2)=2:x(3)=3"}},
        {"      data(x(i),i=1,3)/1,2,3/\n", {"data(x(i) ,i=1,3) /1,2,3/"}},  // no blank after the keyword
        {"      include 'const.inc'\n", {"'************ \xE0 changer ******** include \"const.inc\""}},
        {"      x = 1 ! note\n", {"x = 1 ' note"}},
        {"      !\n", {}},  // a lone "!" becomes one character and is dropped
        {"      parameter (pi = 3.14159)\n", {"pi = 3.14159"}},
        {"      parameter (n=10, m=20)\n", {"n=10, m=20"}},
        {"      (a) + (b)\n", {"a) + (b"}},
        {"      parameterx = 1\n", {"parameterx = 1"}},
    };
    for (const auto& c : cases) {
        const auto got = convertBody(c.in);
        EXPECT_EQ(got, c.out) << c.in << show(got);
    }
}

TEST(DataAndRest, EmptyDataLineIsWritten) {
    SharedState st;
    std::vector<std::string> lines;
    EXPECT_EQ(afterStages({dataStatement}, "data ", st, &lines), "");
    EXPECT_EQ(lines, std::vector<std::string>{""});
}

TEST(DataAndRest, IncludeMarkerBytes) {
    // One byte each for the accented letters, never UTF-8.
    const std::string got = afterStage(includeAndBang, "include \"a\"");
    EXPECT_EQ(got, std::string("'************ ") + '\xE0' + " changer ******** include \"a\"");
    EXPECT_EQ(got.size(), 44u);
}

}  // namespace
}  // namespace ftvb::testing

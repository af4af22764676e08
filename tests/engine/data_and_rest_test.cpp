// DATA, the INCLUDE marker, "!" comments, PARAMETER and outer parentheses.
#include <gtest/gtest.h>

#include "tests/support/capture.h"
#include "tests/support/case_line.h"

namespace ftvb::testing {
namespace {

TEST(DataAndRest, Statements) {
    const struct {
        int line;  // where the case is written, for the failure to name
        const char* in;
        std::vector<std::string> out;
    } cases[] = {
        {__LINE__, "      data a, b /1, 2/\n", {"a=1:b=2"}},
        {__LINE__, "      data x/1,2,3/\n", {"x(1)=1:x(2)=2:x(3)=3"}},
        {__LINE__, "      data(x(i),i=1,3)/1,2,3/\n", {"data(x(i) ,i=1,3) /1,2,3/"}},  // no blank after the keyword
        {__LINE__, "      include 'const.inc'\n", {"'************ \xE0 changer ******** include \"const.inc\""}},
        {__LINE__, "      x = 1 ! note\n", {"x = 1 ' note"}},
        {__LINE__, "      !\n", {}},  // a lone "!" becomes one character and is dropped
        {__LINE__, "      parameter (pi = 3.14159)\n", {"pi = 3.14159"}},
        {__LINE__, "      parameter (n=10, m=20)\n", {"n=10, m=20"}},
        {__LINE__, "      (a) + (b)\n", {"a) + (b"}},
        {__LINE__, "      parameterx = 1\n", {"parameterx = 1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
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

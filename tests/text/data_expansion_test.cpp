// DATA statements to one line of assignments.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/case_line.h"
#include "text/primitives.h"

namespace ftvb {
namespace {

using ftvb::testing::caseLine;

TEST(DataExpansion, Lines) {
    const struct {
        int line;  // where the case is written, for the failure to name
        const char* in;
        const char* out;
    } cases[] = {
        {__LINE__, "data a,b,c/1,2,3/", "a=1:b=2:c=3"},
        {__LINE__, "data x/1,2,3/", "x(1)=1:x(2)=2:x(3)=3"},
        {__LINE__, "data a,b/1,2,3/", "a=1:b(1)=2:b(2)=3"},
        {__LINE__, "data a,b/1,2/,c/3/", "a=1:b=2:c=3"},
        {__LINE__, "data a,a/1,2/", "a(1)=1:a(2)=2"},
        {__LINE__, "data a,b,a/1,2,3/", "a=1:b=2:a=3"},
        {__LINE__, "data a,b,c/1,2/", "a=1:b=2:c="},
        {__LINE__, "data a,b/1/,c/2/", "a=1:b=2:c="},
        {__LINE__, "data a/1,2/,b/3/", "a(1)=1:a(2)=2:b=3"},
        {__LINE__, "data n/3*0/", "n=3*0"},
        {__LINE__, "data s/\"a b\"/", "s=\"ab\""},
        {__LINE__, "data b(1,1)/5/", "b(1=5:1)="},
        {__LINE__, "data a/1,2,3", "a(1)=1"},
        {__LINE__, "data ", ""},
        {__LINE__, "data a / 1 , 2 /", "a(1)=1:a(2)=2"},
        {__LINE__, "data x, y / 1.5, -2 /", "x=1.5:y=-2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        std::string ww = c.in;
        EXPECT_EQ(chg_data(ww), c.out) << c.in;
        EXPECT_TRUE(ww.empty()) << c.in;
    }
}

TEST(DataExpansion, NoFixedCapacity) {
    // Two hundred values for one name: all of them are written.
    std::string ww = "data v/";
    std::string want;
    for (int i = 1; i <= 200; ++i) {
        ww += std::to_string(i) + (i < 200 ? "," : "/");
        want += (i > 1 ? ":" : "") + std::string("v(") + std::to_string(i) + ")=" + std::to_string(i);
    }
    EXPECT_EQ(chg_data(ww), want);

    // And 120 distinct names.
    std::string names = "data ";
    std::string values;
    std::string want2;
    for (int i = 1; i <= 120; ++i) {
        names += "n" + std::to_string(i) + (i < 120 ? "," : "/");
        values += std::to_string(i) + (i < 120 ? "," : "/");
        want2 += (i > 1 ? ":" : "") + std::string("n") + std::to_string(i) + "=" + std::to_string(i);
    }
    std::string ww2 = names + values;
    EXPECT_EQ(chg_data(ww2), want2);
}

}  // namespace
}  // namespace ftvb

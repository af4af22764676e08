// Type declarations (stage 17) with their clean-up (stage 18): the lines
// written at once and the "Dim" line left in the statement text.
#include <gtest/gtest.h>

#include "tests/support/capture.h"

namespace ftvb::testing {
namespace {

struct Case {
    const char* in;
    std::vector<std::string> written;
    const char* left;
    std::vector<std::string> dummies = {};
};

TEST(Declarations, TypeRules) {
    const Case cases[] = {
        {"character*20 a, b", {"Dim a as string * 20"}, "Dim b as string * 20"},
        {"character*8 d1", {}, "Dim d1 as string * 80"},  // the length reads on into the name
        {"character*(*) s", {}, "Dim s as string * 0"},
        {"character*8", {}, "8"},
        {"character*20", {}, "20"},
        {"character*2.5 x", {}, "Dim x as string * 2.5"},
        {"character a*10, b", {"Dim a as string * 10"}, "Dim b"},
        {"character *8 a", {}, "Dim as string * 8 a"},
        {"real x", {}, "Dim x as double"},
        {"real*8 x", {}, "Dim x as double"},
        {"real*16 q", {}, "Dim *16 q as double"},
        {"real a,", {"Dim a as double"}, "Dim as double"},
        {"realx = 1.0", {}, "Dim x = 1.0 as double"},
        {"real*8 function f(x)", {}, "Dim function f(x) as double"},
        {"double precision a(10,20), b", {"Dim a(10,20) as double"}, "Dim b as double"},
        {"integer*2 i, j", {"Dim i as integer"}, "Dim j as integer"},
        {"integer n", {}, "Dim n as integer"},
        {"integern", {}, "Dim integern as integer"},
        {"logical flag", {}, "Dim flag as boolean"},
        {"logical*1 a, b, c", {"Dim a as boolean", "Dim  b as boolean"}, "Dim c as boolean"},
        {"real*8 x, y, z", {"'Dim x as double", "Dim  y as double"}, "Dim z as double", {"x", "n"}},
        {"real x", {}, "Dim x as double", {"x"}},  // the last name is commented out by the final stage
        {"x  =  1", {}, "x = 1"},
        {"Dim *8", {}, "Dim"},
    };
    for (const Case& c : cases) {
        SharedState st;
        st.procedure.dummyArguments = c.dummies;
        std::vector<std::string> lines;
        const std::string left = afterStages({typeDeclarations, declarationCleanup}, c.in, st, &lines);
        EXPECT_EQ(lines, c.written) << c.in << "\n" << show(lines);
        EXPECT_EQ(left, c.left) << c.in;
    }
}

TEST(Declarations, LengthMarkerCleanup) {
    const Case cases[] = {
        {"Dim *8 a as double", {}, "Dim a as double"},      {"Dim *1 *2 a", {}, "Dim a"}, {"Dim *9", {}, "Dim"},
        {"Dim *16 q as double", {}, "Dim *16 q as double"}, {"Dim *0 a", {}, "Dim *0 a"}, {"x = 1", {}, "x = 1"},
    };
    for (const Case& c : cases) {
        std::string s = c.in;
        lengthMarkerCleanup(s);
        EXPECT_EQ(s, c.left) << c.in;
    }
}

TEST(Declarations, ThroughTheRoutine) {
    // The worked example: real*8 in a subroutine with dummy arguments x and n.
    EXPECT_EQ(convertBody("      subroutine s(x, n)\n      real*8 x, y, z\n      integer n\n"),
              (std::vector<std::string>{"Sub  s(x, n)", "'Dim x as double", "Dim  y as double", "Dim z as double",
                                        "'Dim n as integer", "end sub"}));
    // Bounds keep a blank before the comma (stage 1), and pending lines are
    // written as built.
    EXPECT_EQ(convertBody("      double precision a(10), b\n"),
              (std::vector<std::string>{"Dim a(10)  as double", "Dim b as double"}));
    // The same name outside that procedure is written plainly.
    EXPECT_EQ(convertBody("      subroutine s(x)\n      real x\n      subroutine t(y)\n      real x\n"),
              (std::vector<std::string>{"Sub  s(x)", "'Dim x as double", "end sub", "Sub  t(y)", "Dim x as double",
                                        "end sub"}));
    // character*8 alone leaves one character, which is dropped.
    EXPECT_EQ(convertBody("      character*8\n      character*20\n"), (std::vector<std::string>{"20"}));
}

}  // namespace
}  // namespace ftvb::testing

// Type declarations (stage 17) with their clean-up (stage 18): the lines
// written at once and the "Dim" line left in the statement text.
#include <gtest/gtest.h>

#include "tests/support/capture.h"
#include "tests/support/case_line.h"

namespace ftvb::testing {
namespace {

struct Case {
    int line;  // where the case is written, for the failure to name
    const char* in;
    std::vector<std::string> written;
    const char* left;
    std::vector<std::string> dummies = {};
};

TEST(Declarations, TypeRules) {
    const Case cases[] = {
        {__LINE__, "character*20 a, b", {"Dim a as string * 20"}, "Dim b as string * 20"},
        {__LINE__, "character*8 d1", {}, "Dim d1 as string * 80"},  // the length reads on into the name
        {__LINE__, "character*(*) s", {}, "Dim s as string * 0"},
        {__LINE__, "character*8", {}, "8"},
        {__LINE__, "character*20", {}, "20"},
        {__LINE__, "character*2.5 x", {}, "Dim x as string * 2.5"},
        {__LINE__, "character a*10, b", {"Dim a as string * 10"}, "Dim b"},
        {__LINE__, "character *8 a", {}, "Dim as string * 8 a"},
        {__LINE__, "real x", {}, "Dim x as double"},
        {__LINE__, "real*8 x", {}, "Dim x as double"},
        {__LINE__, "real*16 q", {}, "Dim *16 q as double"},
        {__LINE__, "real a,", {"Dim a as double"}, "Dim as double"},
        {__LINE__, "realx = 1.0", {}, "Dim x = 1.0 as double"},
        {__LINE__, "real*8 function f(x)", {}, "Dim function f(x) as double"},
        {__LINE__, "double precision a(10,20), b", {"Dim a(10,20) as double"}, "Dim b as double"},
        {__LINE__, "integer*2 i, j", {"Dim i as integer"}, "Dim j as integer"},
        {__LINE__, "integer n", {}, "Dim n as integer"},
        {__LINE__, "integern", {}, "Dim integern as integer"},
        {__LINE__, "logical flag", {}, "Dim flag as boolean"},
        {__LINE__, "logical*1 a, b, c", {"Dim a as boolean", "Dim  b as boolean"}, "Dim c as boolean"},
        {__LINE__, "real*8 x, y, z", {"'Dim x as double", "Dim  y as double"}, "Dim z as double", {"x", "n"}},
        {__LINE__, "real x", {}, "Dim x as double", {"x"}},  // the last name is commented out by the final stage
        {__LINE__, "x  =  1", {}, "x = 1"},
        {__LINE__, "Dim *8", {}, "Dim"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
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
        {__LINE__, "Dim *8 a as double", {}, "Dim a as double"},
        {__LINE__, "Dim *1 *2 a", {}, "Dim a"},
        {__LINE__, "Dim *9", {}, "Dim"},
        {__LINE__, "Dim *16 q as double", {}, "Dim *16 q as double"},
        {__LINE__, "Dim *0 a", {}, "Dim *0 a"},
        {__LINE__, "x = 1", {}, "x = 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
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

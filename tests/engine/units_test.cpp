// Program units: headers and dummy arguments, DIMENSION, PROGRAM, IMPLICIT
// and NAMELIST.
#include <gtest/gtest.h>

#include "tests/support/capture.h"
#include "tests/support/case_line.h"

namespace ftvb::testing {
namespace {

struct Case {
    int line;  // where the case is written, for the failure to name
    const char* name;
    std::string in;
    std::vector<std::string> out;  // without the file's leading "'       "
};

void check(const Case& c) {
    const auto got = convertBody(c.in);
    EXPECT_EQ(got, c.out) << c.name << "\n got:\n" << show(got) << " want:\n" << show(c.out);
}

std::string padded(std::string s, std::size_t width) {
    s.resize(std::max(width, s.size()), ' ');
    return s;
}

TEST(Units, Headers) {
    const Case cases[] = {
        {__LINE__, "program", "      program main\n", {"Sub  main", "end sub"}},
        {__LINE__, "typed function", "      real function area(r)\n", {"function area(r)", "end function"}},
        {__LINE__,
         "double precision function",
         "      double precision function f(x)\n",
         {"function f(x)", "end function"}},
        {__LINE__, "character function", "      character function c(x)\n", {"function c(x)", "end function"}},
        {__LINE__,
         "integer and logical functions",
         "      integer function i(x)\n      logical function l(x)\n",
         {"function i(x)", "end function", "function l(x)", "end function"}},
        {__LINE__,
         "length after the type: a declaration",
         "      real*8 function f(x)\n",
         {"Dim function f(x) as double"}},
        {__LINE__, "no parentheses", "      subroutine s\n", {"Sub  s", "end sub"}},
        {__LINE__,
         "parenthesis spacing in a header",
         "      subroutine s(a, b(2), c)\n",
         {"Sub  s(a, b(2) , c)", "end sub"}},
        {__LINE__,
         "two headers close the first",
         "      subroutine a\n      write(6,*) x\n      function b(y)\n",
         {"Sub  a", "open \"report.txt\" for append as #1", "write#1, x", "close #1", "end sub", "function b(y)",
          "end function"}},
        {__LINE__,
         "continued header keeps its blanks",
         "      subroutine s(a,\n     &   b)\n",
         {"Sub  s(a," + std::string(54, ' ') + "b)", "end sub"}},
        {__LINE__, "anything beginning with function", "      functional = 1\n", {"functional = 1", "end function"}},
        {__LINE__,
         "statements before the first header have no frame",
         "      x = 1\n      subroutine s\n",
         {"x = 1", "Sub  s", "end sub"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        check(c);
    }
}

TEST(Units, DummyArguments) {
    const struct {
        int line;  // where the case is written, for the failure to name
        const char* header;
        std::vector<std::string> args;
    } cases[] = {
        {__LINE__, "function area(r)", {"r"}},
        {__LINE__, "Sub  s", {}},
        {__LINE__, "function f()", {}},
        {__LINE__, "Sub  s(a, b(2) , c)", {"a", "b(2)", "c"}},
        {__LINE__, "Sub  s( a , , b )", {"a", "b"}},
        {__LINE__, "Sub  s(a)(b)", {"a", "b"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SharedState st;
        std::string text = c.header;
        if (text.rfind("Sub  ", 0) == 0) text = "subroutine" + text.substr(4);
        afterStages({procedureHeader}, text, st);
        EXPECT_EQ(st.procedure.dummyArguments, c.args) << c.header;
    }
    // No fixed capacity: the 150th argument is kept.
    std::string header = "subroutine big(";
    for (int i = 1; i <= 150; ++i) header += "a" + std::to_string(i) + (i < 150 ? "," : ")");
    SharedState st;
    afterStages({procedureHeader}, header, st);
    ASSERT_EQ(st.procedure.dummyArguments.size(), 150u);
    EXPECT_EQ(st.procedure.dummyArguments.back(), "a150");
}

TEST(Units, KeywordsEverywhere) {
    const Case cases[] = {
        {__LINE__, "program in a comment", "c main program\n", {padded("' main subroutine", 75)}},
        {__LINE__, "no word boundaries", "      nprogram = 1\n", {"nsubroutine = 1"}},
        {__LINE__, "dimension", "      dimension a(10), b(5)\n", {"dim a(10) , b(5)"}},
        {__LINE__,
         "implicit",
         "      implicit double precision (a-h)\n",
         {padded("'      implicit double precision (a-h)", 73)}},
        // the label field is blanked by then, so the test sees "implicit"
        {__LINE__, "labelled implicit", "   10 implicit none\n", {"L10:", padded("'      implicit none", 73)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        check(c);
    }
}

TEST(Units, Namelist) {
    const Case cases[] = {
        {__LINE__,
         "definition writes nothing, reference takes the list",
         "      namelist /grp/ x, y\n      write(6, grp)\n",
         {"open \"report.txt\" for append as #1", "write#1, x, y"}},
        {__LINE__, "read", "      namelist /grp/ x, y\n      read(5, grp)\n", {"read#1, x, y"}},
        {__LINE__,
         "no unit part: the other two replacements still apply",
         "      namelist /grp/ x, y\n      call show(grp)\n",
         {"call show(x, y"}},
        {__LINE__,
         "comma before the parenthesis",
         "      namelist /grp/ x, y\n      call f, g(grp)\n",
         {"call f, g(x, y"}},
        {__LINE__,
         "list holding the group name ends",
         "      namelist /g/ a, g\n      write(6, g)\n",
         {"open \"report.txt\" for append as #1", "write#1, a, g"}},
        {__LINE__,
         "groups last the whole run",
         "      namelist /grp/ x\n      subroutine s\n      print grp\n",
         {"Sub  s", "open \"report.txt\" for append as #1", "write #1,print x", "close #1", "end sub"}},
        {__LINE__, "no slashes: nothing recorded, still blanked", "      namelist grp\n      x = grp\n", {"x = grp"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        check(c);
    }

    // No fixed capacity: the 101st group is kept and found.
    std::string src;
    for (int i = 1; i <= 101; ++i)
        src += "      namelist /g" + std::to_string(1000 + i) + "/ v" + std::to_string(i) + "\n";
    src += "      read(5, g1101)\n";
    EXPECT_EQ(convertBody(src), (std::vector<std::string>{"read#1, v101"}));
}

}  // namespace
}  // namespace ftvb::testing

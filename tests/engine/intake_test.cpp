// Line intake: columns, comments, FORMAT, continuation and labels. Each case
// is a source text in and the exact module lines out.
#include <gtest/gtest.h>

#include "tests/support/capture.h"
#include "tests/support/case_line.h"

namespace ftvb::testing {
namespace {

struct Case {
    int line;  // where the case is written, for the failure to name
    const char* name;
    std::vector<std::string> in;  // physical lines
    std::vector<std::string> out;
};

std::string join(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\n";
    return s;
}

std::string padded(std::string s, std::size_t width) {
    s.resize(std::max(width, s.size()), ' ');
    return s;
}

void check(const Case& c) {
    const std::vector<std::string> got = convert(join(c.in));
    EXPECT_EQ(got, c.out) << c.name << "\n got:\n" << show(got) << " want:\n" << show(c.out);
}

const std::string E = "'       ";  // the empty statement that every file start completes

TEST(Intake, ColumnsAndComments) {
    const Case cases[] = {
        {__LINE__, "C comment", {"C     x = 1"}, {E, padded("'     x = 1", 72)}},
        {__LINE__, "c comment", {"c     x = 1"}, {E, padded("'     x = 1", 72)}},
        {__LINE__, "comment holding format", {"c see format"}, {E, "' " + padded("' see format", 72)}},
        {__LINE__, "stages 1 to 5 act on comments", {"c this program"}, {E, padded("' this subroutine", 75)}},
        {__LINE__, "parenthesis spacing in a comment", {"c f(x)y"}, {E, padded("' f(x) y", 73)}},
        {__LINE__, "FORMAT statement, no label line", {"  100 format(i5)"}, {E, "' " + padded("  100 format(i5)", 72)}},
        {__LINE__,
         "any statement holding format",
         {"      call information(x)"},
         {E, "' " + padded("      call information(x)", 72)}},
        {__LINE__, "upper case lowered", {"      X = Y"}, {E, "x = y"}},
        {__LINE__, "columns past 72 dropped", {padded("      x = 1", 72) + "SEQ00010"}, {E, "x = 1"}},
        {__LINE__, "leading tab is six blanks", {"\tx = 1"}, {E, "x = 1"}},
        {__LINE__, "blank line writes nothing", {"      x = 1", "", "      y = 2"}, {E, "x = 1", "y = 2"}},
        {__LINE__, "comment continued", {"c note", "     &more"}, {E, padded(padded("' note", 72) + "more", 138)}},
        {__LINE__, "empty file", {}, {E}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        check(c);
    }
}

// "*" and "!" in column 1 mark comments exactly as "c" does, and only there.
TEST(Intake, StarAndBangComments) {
    const Case cases[] = {
        {__LINE__, "star comment", {"*     x = 1"}, {E, padded("'     x = 1", 72)}},
        {__LINE__, "bang comment", {"!     x = 1"}, {E, padded("'     x = 1", 72)}},
        {__LINE__, "mark alone", {"*"}, {E, padded("'", 72)}},
        {__LINE__, "star comment holding format", {"* see format"}, {E, "' " + padded("' see format", 72)}},
        {__LINE__, "stages 1 to 5 act on them too", {"* this program"}, {E, padded("' this subroutine", 75)}},
        {__LINE__, "a non-blank column 6 makes no continuation", {"*> \\brief"}, {E, padded("'> \\brief", 72)}},
        {__LINE__,
         "star comment between statements",
         {"      x = 1", "*     note", "      y = 2"},
         {E, "x = 1", padded("'     note", 72), "y = 2"}},
        {__LINE__, "star comment continued", {"* note", "     &more"}, {E, padded(padded("' note", 72) + "more", 138)}},
        {__LINE__, "bang comment after end", {"      end", "!     note"}, {E, padded("'     note", 72)}},
        {__LINE__, "star in column 2 is a label", {" *    text"}, {E, "L*:", "text"}},
        {__LINE__, "bang in column 2 is a label", {" !    text"}, {E, "L!:", "text"}},
        {__LINE__, "star after a leading tab is code", {"\t* x"}, {E, "* x"}},
        {__LINE__, "bang after a statement stays a BASIC comment", {"      x = 1 ! note"}, {E, "x = 1 ' note"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        check(c);
    }
}

TEST(Intake, Continuation) {
    const Case cases[] = {
        {__LINE__, "joined", {"      x = 1", "     &+ 2"}, {E, "x = 1 + 2"}},
        {__LINE__, "digit zero marks a continuation", {"      x = 1", "     0+ 2"}, {E, "x = 1 + 2"}},
        {__LINE__,
         "tab after other characters is kept: column 6 holds =",
         {"      x = 1", "10\tx = 2"},
         {E, "x = 1 2"}},
        {__LINE__,
         "after a blank line, joined to the blank statement",
         {"      x = 1", "", "     &+ 2"},
         {E, "x = 1", "+ 2"}},
        {__LINE__, "first line of a file continues nothing", {"     &abcdefx = 1"}, {"Labcde:", "x = 1"}},
        {__LINE__, "not after end", {"      end", "     &xy"}, {E, "&xy"}},
        {__LINE__, "not after return", {"      return", "     &xy"}, {E, "xy"}},
        {__LINE__, "after a labelled end it is joined", {"   10 end", "     &x"}, {E, "L10:", "end x"}},
        // "en" in columns 71-72 and "d" in column 7 of the next line make "end"
        {__LINE__,
         "end built across the column-72 boundary",
         {std::string(70, ' ') + "en", "     &d", "     &x"},
         {E, "&x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        check(c);
    }
}

TEST(Intake, Labels) {
    const Case cases[] = {
        {__LINE__, "continue writes only its label", {"   10 continue"}, {E, "L10:"}},
        {__LINE__, "label trimmed", {"  100 x = 1"}, {E, "L100:", "x = 1"}},
        {__LINE__, "label characters unchecked", {"  a b x = 1"}, {E, "La b:", "x = 1"}},
        {__LINE__,
         "loop end after continue",
         {"      do 10 i = 1, n", "   10 continue"},
         {E, "for i=1 to  n", "L10:", "next i"}},
        {__LINE__,
         "loop end after another terminal statement",
         {"      do 10 i = 1, n", "   10 x = x + 1"},
         {E, "for i=1 to  n", "L10:", "x = x + 1", "next i"}},
        {__LINE__,
         "two loops on one label, innermost first",
         {"      do 10 i = 1, n", "      do 10 j = 1, m", "   10 continue"},
         {E, "for i=1 to  n", "for j=1 to  m", "L10:", "next j", "next i"}},
        {__LINE__,
         "a label closes only loops recorded before it",
         {"      do 10 i = 1, n", "   10 continue", "   10 continue"},
         {E, "for i=1 to  n", "L10:", "next i", "L10:"}},
        {__LINE__, "no labels after end", {"      end", "   20 x = 1"}, {E, "20 x = 1"}},
        {__LINE__,
         "goto inside a loop stays inside it",
         {"      do 10 i = 1, n", "      if (a(i) .eq. 0) go to 10", "      s = s + a(i)", "   10 continue"},
         {E, "for i=1 to  n", "if (a(i) = 0) then goto L10", "s = s + a(i)", "L10:", "next i"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        check(c);
    }
}

TEST(Intake, AnyBytesAnyLength) {
    std::string nul = "      x = 'a";
    nul.push_back('\0');
    nul += "b'";
    std::string nulOut = "x = \"a";
    nulOut.push_back('\0');
    nulOut += "b\"";
    check({__LINE__, "NUL byte", {nul}, {E, nulOut}});
    check({__LINE__, "8-bit letters lowered", {"      X\xC9 = '\xC0\x8A\x9F'"}, {E, "x\xE9 = \"\xE0\x9A\xFF\""}});
    check({__LINE__, "lone CR inside a line", {"      x = 1\ry"}, {E, "x = 1\ry"}});
    check({__LINE__,
           "a megabyte line keeps 72 columns",
           {"      x = 1" + std::string(1 << 20, 'z')},
           {E, "x = 1" + std::string(61, 'z')}});
}

TEST(Intake, ManyContinuationLinesStayLinear) {
    // 100,000 continuation lines make one statement of 6.6 million columns.
    std::string src = "      x = 1\n";
    for (int i = 0; i < 100000; ++i) src += "     &+ 1\n";
    const auto lines = convertBody(src);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), 5u + 100000u * 4u);
}

TEST(Intake, ObserverSeesCountsAndStatements) {
    LineCapture sink;
    ObserverCapture seen;
    Converter converter(sink, seen);
    converter.beginFile();
    for (const auto& l : splitLines("      x = 1\nc hi\n      y = 2\n")) converter.feedLine(l);
    converter.endFile();
    EXPECT_EQ(seen.counts, (std::vector<long long>{1, 2, 3}));
    ASSERT_EQ(seen.shown.size(), 4u);
    EXPECT_EQ(seen.shown[0], "'       ");
    EXPECT_EQ(seen.shown[1], padded("      x = 1", 72));
    EXPECT_EQ(seen.shown[2], padded("' hi", 72));
}

}  // namespace
}  // namespace ftvb::testing

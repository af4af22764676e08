// WRITE and PRINT, and where the report opening line lands.
#include <gtest/gtest.h>

#include "tests/support/capture.h"
#include "tests/support/case_line.h"

namespace ftvb::testing {
namespace {

const std::string kOpen = "open \"report.txt\" for append as #1";

TEST(InputOutput, Rules) {
    const struct {
        int line;  // where the case is written, for the failure to name
        const char* in;
        const char* left;
    } cases[] = {
        {__LINE__, "write(6,*) x, y", "write#1, x, y"},
        {__LINE__, "write(6,100) x", "write#1, x"},
        {__LINE__, "write(6,*) (6,*)", "write#1, #1,"},
        {__LINE__, "write(6,fmt(1)) x", "write#1,) x"},  // the unit part ends at the first ")"
        {__LINE__, "if (ok) write(6,*) x", "if (ok) write#1, x"},
        {__LINE__, "write x", "write x"},      // no unit part to cut out
        {__LINE__, "write) x(", "write) x("},  // ")" before "("
        {__LINE__, "rewrite = 1", "rewrite = 1"},
        {__LINE__, "print *, x", "write #1, x"},
        {__LINE__, "print 10, a, b", "write #1, a, b"},
        {__LINE__, "print *", "write #1,print *"},
        {__LINE__, "if (ok) print *, x", "if (ok) write #1, x"},
        {__LINE__, "x = \"print it, now\"", "x = \"write #1, now\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SharedState st;
        std::vector<std::string> lines;
        EXPECT_EQ(afterStages({writeAndPrint}, c.in, st, &lines), c.left) << c.in;
        EXPECT_EQ(lines, std::vector<std::string>{kOpen}) << c.in;
        EXPECT_TRUE(st.file.reportOpen) << c.in;
    }
    SharedState st;
    std::vector<std::string> lines;
    EXPECT_EQ(afterStages({writeAndPrint}, "x = 1", st, &lines), "x = 1");
    EXPECT_TRUE(lines.empty());
    EXPECT_FALSE(st.file.reportOpen);
}

TEST(InputOutput, OneOpeningPerProcedure) {
    const struct {
        int line;  // where the case is written, for the failure to name
        const char* name;
        std::vector<std::string> files;
        std::vector<std::string> out;
    } cases[] = {
        {__LINE__,
         "second write in a procedure",
         {"      subroutine a\n      write(6,*) x\n      write(6,*) y\n"},
         {"Sub  a", kOpen, "write#1, x", "write#1, y", "close #1", "end sub"}},
        {__LINE__,
         "next procedure opens again",
         {"      subroutine a\n      write(6,*) x\n      subroutine b\n      print *, y\n"},
         {"Sub  a", kOpen, "write#1, x", "close #1", "end sub", "Sub  b", kOpen, "write #1, y", "close #1", "end sub"}},
        {__LINE__,
         "before the first header the flag carries into the procedure",
         {"      write(6,*) a\n      subroutine s\n      write(6,*) b\n"},
         {kOpen, "write#1, a", "Sub  s", "write#1, b", "close #1", "end sub"}},
        {__LINE__,
         "next file opens again",
         {"      subroutine a\n      write(6,*) x\n", "      subroutine b\n      write(6,*) y\n"},
         {"Sub  a", kOpen, "write#1, x", "close #1", "end sub", "'       ", "Sub  b", kOpen, "write#1, y", "close #1",
          "end sub"}},
        // The file name is a string; the program's own OPEN is left as it is.
        {__LINE__,
         "the opening line names the file in quotes",
         {"      subroutine a\n      open(7, file='report.txt')\n      print *, x\n"},
         {"Sub  a", "open(7, file=\"report.txt\")", "open \"report.txt\" for append as #1", "write #1, x", "close #1",
          "end sub"}},
        {__LINE__,
         "logical IF with a WRITE action",
         {"      subroutine a\n      if (ok) write(6,*) x\n"},
         {"Sub  a", kOpen, "if (ok) then write#1, x", "close #1", "end sub"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        auto got = convertFiles(c.files);
        got.erase(got.begin());  // the first file's "'       "
        EXPECT_EQ(got, c.out) << c.name << "\n" << show(got);
    }
}

}  // namespace
}  // namespace ftvb::testing

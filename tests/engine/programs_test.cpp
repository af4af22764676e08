// Whole small programs through the engine, worked out by hand.
#include <gtest/gtest.h>

#include "tests/support/capture.h"

namespace ftvb::testing {
namespace {

TEST(Programs, NineLines) {
    const std::string src =
        "      program main\n"
        "      integer i, n\n"
        "      real x\n"
        "      n = 10\n"
        "      do 10 i = 1, n\n"
        "         x = x + sqrt(2.0)\n"
        "   10 continue\n"
        "      write(6,*) x\n"
        "      end\n";
    const std::vector<std::string> want = {
        "'       ",
        "Sub  main",
        "Dim i as integer",
        "Dim n as integer",
        "Dim x as double",
        "n = 10",
        "for i=1 to  n",
        "x = x + sqr (2.0)",
        "L10:",
        "next i",
        "open \"report.txt\" for append as #1",
        "write#1, x",
        "close #1:exit sub",
        "close #1",
        "end sub",
    };
    const auto got = convert(src);
    EXPECT_EQ(got, want) << show(got);
}

TEST(Programs, RunStateCarriesOver) {
    // The end-seen flag and the exit statement carry into the next file; the
    // procedure-open flag does not, so its first header closes nothing.
    const auto got = convertFiles({"      subroutine a\n      end\n", "   20 stop\n      subroutine b\n"});
    EXPECT_EQ(got, (std::vector<std::string>{"'       ", "Sub  a", "exit sub", "end sub", "'       ", "20 exit sub",
                                             "Sub  b", "end sub"}));
}

}  // namespace
}  // namespace ftvb::testing

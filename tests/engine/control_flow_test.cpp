// IF, DO, STOP/RETURN/END, ELSE IF and END DO.
#include <gtest/gtest.h>

#include "tests/support/capture.h"
#include "tests/support/case_line.h"

namespace ftvb::testing {
namespace {

TEST(ControlFlow, If) {
    const struct {
        int line;  // where the case is written, for the failure to name
        const char* in;
        const char* out;
    } cases[] = {
        {__LINE__, "if (ok) x = 1", "if (ok) then x = 1"},
        {__LINE__, "if(a) stop", "if(a) then stop"},
        {__LINE__, "if (a > b) then", "if (a > b) then"},
        {__LINE__, "if (x) 10, 20, 30", "if (x) then 10, 20, 30"},  // arithmetic IF
        {__LINE__, "if (x) y = thenx", "if (x) y = thenx"},
        {__LINE__, "if (f(x) ) y = 1", "if (f(x) ) then y = 1"},
        {__LINE__, "if (a", "if (a"},
        {__LINE__, "if (a)", "if (a)"},
        {__LINE__, "ifx = 1", "ifx = 1"},
        {__LINE__, "else", "else"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        EXPECT_EQ(afterStage(ifAndDo, c.in), c.out) << c.in;
    }
}

TEST(ControlFlow, Do) {
    const struct {
        int line;  // where the case is written, for the failure to name
        const char* in;
        std::vector<std::string> written;
        const char* left;
        std::vector<std::string> slot;  // label and variable recorded, if any
    } cases[] = {
        {__LINE__, "do 10 i=1,n", {"for i=1 to n"}, "", {"10", "i"}},
        {__LINE__, "do 10 i = 1, n", {"for i=1 to  n"}, "", {"10", "i"}},
        {__LINE__, "do 10 i=1,n,2", {"for i=1 to n,2"}, "", {"10", "i"}},
        {__LINE__, "do i=1,10", {"stepi=1", "i=1-stepi", "do while i<10"}, "i=i+stepi", {}},
        {__LINE__, "do i=10,1,-1", {"stepi=-1", "i=10-stepi", "do while i>1"}, "i=i+stepi", {}},
        {__LINE__, "do i=1,n,1", {"stepi=1", "i=1-stepi", "do while i<n"}, "i=i+stepi", {}},
        {__LINE__, "do i = 1, n, 1", {"stepi= 1", "i=1-stepi", "do while i< n"}, "i=i+stepi", {}},
        {__LINE__, "do i=n,1,-1", {"stepi=-1", "i=n-stepi", "do while i>1"}, "i=i+stepi", {}},
        // Any other step is tested on the value the next pass takes.
        {__LINE__, "do i=1,10,2", {"stepi=2", "i=1-stepi", "do while i+stepi<=10"}, "i=i+stepi", {}},
        {__LINE__, "do i=10,1,-2", {"stepi=-2", "i=10-stepi", "do while i+stepi>=1"}, "i=i+stepi", {}},
        {__LINE__, "do i=1,n,+1", {"stepi=+1", "i=1-stepi", "do while i+stepi<=n"}, "i=i+stepi", {}},
        {__LINE__, "do i=0,1,0.25", {"stepi=0.25", "i=0-stepi", "do while i+stepi<=1"}, "i=i+stepi", {}},
        {__LINE__, "do i=1,n,k", {"stepi=k", "i=1-stepi", "do while i+stepi<=n"}, "i=i+stepi", {}},
        {__LINE__,
         "do i=n,1,k",
         {"stepi=k", "i=n-stepi", "do while i+stepi<=1"},
         "i=i+stepi",
         {}},  // taken as positive
        {__LINE__, "do i=n,1,-k", {"stepi=-k", "i=n-stepi", "do while i+stepi<=1"}, "i=i+stepi", {}},
        {__LINE__, "do 10 i=1,n,k", {"for i=1 to n,k"}, "", {"10", "i"}},
        {__LINE__, "do i = 1, n", {"stepi=1", "i=1-stepi", "do while i< n"}, "i=i+stepi", {}},
        {__LINE__, "do while (x < 5)", {}, "do while (x < 5)", {}},
        {__LINE__, "do x", {}, "do x", {}},
        {__LINE__, "do 10 i = 1", {}, "do 10 i = 1", {}},
        {__LINE__, "done = 1", {}, "done = 1", {}},
        // Bounds are cut at commas outside parentheses only.
        {__LINE__, "do 10 i=max(1,j-k),n", {"for i=max(1,j-k) to n"}, "", {"10", "i"}},
        {__LINE__, "do 10 i=1,min(n,j+k)", {"for i=1 to min(n,j+k)"}, "", {"10", "i"}},
        {__LINE__,
         "do i=max(1,j-k),min(n,j+k)",
         {"stepi=1", "i=max(1,j-k)-stepi", "do while i<min(n,j+k)"},
         "i=i+stepi",
         {}},
        {__LINE__,
         "do i=a(f(1,2),3),b(g(4,5),6),-1",
         {"stepi=-1", "i=a(f(1,2),3)-stepi", "do while i>b(g(4,5),6)"},
         "i=i+stepi",
         {}},
        {__LINE__, "do i=f(1,n)", {}, "do i=f(1,n)", {}},
        {__LINE__, "do i=a),b", {}, "do i=a),b", {}},  // no comma counts once a ")" is unmatched
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SharedState st;
        std::vector<std::string> lines;
        EXPECT_EQ(afterStages({ifAndDo}, c.in, st, &lines), c.left) << c.in;
        EXPECT_EQ(lines, c.written) << c.in;
        if (c.slot.empty()) {
            EXPECT_TRUE(st.run.pendingLoops.empty()) << c.in;
        } else {
            EXPECT_EQ(st.run.pendingLoops.waitingFor(c.slot[0]), std::vector<std::string>{c.slot[1]}) << c.in;
        }
    }
}

TEST(ControlFlow, StopReturnEnd) {
    const struct {
        int line;  // where the case is written, for the failure to name
        const char* in;
        ProcedureKind kind;
        bool reportOpen;
        const char* out;
        bool endSeen;
    } cases[] = {
        {__LINE__, "stop", ProcedureKind::sub, true, "close #1:exit sub", false},
        {__LINE__, "return", ProcedureKind::function, false, "exit function", false},
        {__LINE__, "end", ProcedureKind::sub, false, "exit sub", true},
        {__LINE__, "end", ProcedureKind::sub, true, "close #1:exit sub", true},
        {__LINE__, "stop", ProcedureKind::none, false, "", false},  // before the first header
        {__LINE__, "stop", ProcedureKind::none, true, "close #1:", false},
        {__LINE__, "x = stopped", ProcedureKind::sub, false, "x = exit subped", false},
        {__LINE__, "if (a) then stop", ProcedureKind::sub, false, "if (a) then exit sub", false},
        {__LINE__, "go end", ProcedureKind::sub, false, "goexit sub", true},
        {__LINE__, "end if", ProcedureKind::sub, false, "end if", false},
        {__LINE__, "s = \"return\"", ProcedureKind::sub, false, "s = \"exit sub\"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SharedState st;
        st.procedure.kind = c.kind;
        st.file.reportOpen = c.reportOpen;
        EXPECT_EQ(afterStages({stopReturnEnd}, c.in, st), c.out) << c.in;
        EXPECT_EQ(st.procedure.endSeen, c.endSeen) << c.in;
    }
}

TEST(ControlFlow, ElseIfEndDo) {
    EXPECT_EQ(afterStage(elseIfEndDo, "else if (c) then"), "elseif (c) then");
    EXPECT_EQ(afterStage(elseIfEndDo, "end do"), "loop");
    EXPECT_EQ(afterStage(elseIfEndDo, "end if"), "end if");
}

TEST(ControlFlow, LoopsThroughTheRoutine) {
    // Unlabelled loop closed by END DO, and a DO WHILE.
    EXPECT_EQ(convertBody("      do i = 1, n, 2\n        x = x + i\n      end do\n"
                          "      do while (x .lt. 5)\n        x = x + 1\n      enddo\n"),
              (std::vector<std::string>{"stepi= 2", "i=1-stepi", "do while i+stepi<= n", "i=i+stepi", "x = x + i",
                                        "loop", "do while (x < 5)", "x = x + 1", "enddo"}));
    // A label reused by a later procedure closes only its own loop.
    const std::string twoRoutines =
        "      subroutine a(n)\n      do 10 i = 1, n\n   10 continue\n      end\n"
        "      subroutine b(m)\n      do 10 j = 1, m\n   10 continue\n      end\n";
    EXPECT_EQ(convertBody(twoRoutines),
              (std::vector<std::string>{"Sub  a(n)", "for i=1 to  n", "L10:", "next i", "exit sub", "end sub",
                                        "Sub  b(m)", "for j=1 to  m", "L10:", "next j", "exit sub", "end sub"}));
    // ... and across files.
    auto files = convertFiles({"      do 10 i = 1, n\n   10 continue\n", "      do 10 j = 1, m\n   10 continue\n"});
    EXPECT_EQ(files, (std::vector<std::string>{"'       ", "for i=1 to  n", "L10:", "next i", "'       ",
                                               "for j=1 to  m", "L10:", "next j"}));
    // A loop left open is not closed by a later label of another number.
    EXPECT_EQ(convertBody("      do 10 i = 1, n\n   20 continue\n   10 continue\n"),
              (std::vector<std::string>{"for i=1 to  n", "L20:", "L10:", "next i"}));
}

TEST(ControlFlow, ManyLoopsInOneRun) {
    std::string src;
    std::vector<std::string> want;
    for (int k = 1; k <= 150; ++k) {
        const std::string label = std::to_string(100 + k);
        src += "      do " + label + " i = 1, n\n  " + label + " continue\n";
        want.insert(want.end(), {"for i=1 to  n", "L" + label + ":", "next i"});
    }
    EXPECT_EQ(convertBody(src), want);
    // 150 loops left open, then closed in reverse: every one gets its "next".
    std::string nested;
    std::vector<std::string> wantNested;
    for (int k = 1; k <= 150; ++k) {
        nested += "      do " + std::to_string(1000 + k) + " i" + std::to_string(k) + " = 1, n\n";
        wantNested.push_back("for i" + std::to_string(k) + "=1 to  n");
    }
    for (int k = 150; k >= 1; --k) {
        nested += " " + std::to_string(1000 + k) + " continue\n";
        wantNested.push_back("L" + std::to_string(1000 + k) + ":");
        wantNested.push_back("next i" + std::to_string(k));
    }
    EXPECT_EQ(convertBody(nested), wantNested);
}

}  // namespace
}  // namespace ftvb::testing

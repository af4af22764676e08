// IF, DO, STOP/RETURN/END, ELSE IF and END DO.
#include <gtest/gtest.h>

#include "tests/support/capture.h"

namespace ftvb::testing {
namespace {

TEST(ControlFlow, If) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"if (ok) x = 1", "if (ok) then x = 1"},
        {"if(a) stop", "if(a) then stop"},
        {"if (a > b) then", "if (a > b) then"},
        {"if (x) 10, 20, 30", "if (x) then 10, 20, 30"},  // arithmetic IF
        {"if (x) y = thenx", "if (x) y = thenx"},
        {"if (f(x) ) y = 1", "if (f(x) ) then y = 1"},
        {"if (a", "if (a"},
        {"if (a)", "if (a)"},
        {"ifx = 1", "ifx = 1"},
        {"else", "else"},
    };
    for (const auto& c : cases) EXPECT_EQ(afterStage(ifAndDo, c.in), c.out) << c.in;
}

TEST(ControlFlow, Do) {
    const struct {
        const char* in;
        std::vector<std::string> written;
        const char* left;
        std::vector<std::string> slot;  // label and variable recorded, if any
    } cases[] = {
        {"do 10 i=1,n", {"for i=1 to n"}, "", {"10", "i"}},
        {"do 10 i = 1, n", {"for i=1 to  n"}, "", {"10", "i"}},
        {"do 10 i=1,n,2", {"for i=1 to n,2"}, "", {"10", "i"}},
        {"do i=1,10", {"stepi=1", "i=1-stepi", "do while i<10"}, "i=i+stepi", {}},
        {"do i=10,1,-1", {"stepi=-1", "i=10-stepi", "do while i>1"}, "i=i+stepi", {}},
        {"do i=1,n,1", {"stepi=1", "i=1-stepi", "do while i<n"}, "i=i+stepi", {}},
        {"do i = 1, n, 1", {"stepi= 1", "i=1-stepi", "do while i< n"}, "i=i+stepi", {}},
        {"do i=n,1,-1", {"stepi=-1", "i=n-stepi", "do while i>1"}, "i=i+stepi", {}},
        // Any other step is tested on the value the next pass takes.
        {"do i=1,10,2", {"stepi=2", "i=1-stepi", "do while i+stepi<=10"}, "i=i+stepi", {}},
        {"do i=10,1,-2", {"stepi=-2", "i=10-stepi", "do while i+stepi>=1"}, "i=i+stepi", {}},
        {"do i=1,n,+1", {"stepi=+1", "i=1-stepi", "do while i+stepi<=n"}, "i=i+stepi", {}},
        {"do i=0,1,0.25", {"stepi=0.25", "i=0-stepi", "do while i+stepi<=1"}, "i=i+stepi", {}},
        {"do i=1,n,k", {"stepi=k", "i=1-stepi", "do while i+stepi<=n"}, "i=i+stepi", {}},
        {"do i=n,1,k", {"stepi=k", "i=n-stepi", "do while i+stepi<=1"}, "i=i+stepi", {}},  // taken as positive
        {"do i=n,1,-k", {"stepi=-k", "i=n-stepi", "do while i+stepi<=1"}, "i=i+stepi", {}},
        {"do 10 i=1,n,k", {"for i=1 to n,k"}, "", {"10", "i"}},
        {"do i = 1, n", {"stepi=1", "i=1-stepi", "do while i< n"}, "i=i+stepi", {}},
        {"do while (x < 5)", {}, "do while (x < 5)", {}},
        {"do x", {}, "do x", {}},
        {"do 10 i = 1", {}, "do 10 i = 1", {}},
        {"done = 1", {}, "done = 1", {}},
        // Bounds are cut at commas outside parentheses only.
        {"do 10 i=max(1,j-k),n", {"for i=max(1,j-k) to n"}, "", {"10", "i"}},
        {"do 10 i=1,min(n,j+k)", {"for i=1 to min(n,j+k)"}, "", {"10", "i"}},
        {"do i=max(1,j-k),min(n,j+k)", {"stepi=1", "i=max(1,j-k)-stepi", "do while i<min(n,j+k)"}, "i=i+stepi", {}},
        {"do i=a(f(1,2),3),b(g(4,5),6),-1",
         {"stepi=-1", "i=a(f(1,2),3)-stepi", "do while i>b(g(4,5),6)"},
         "i=i+stepi",
         {}},
        {"do i=f(1,n)", {}, "do i=f(1,n)", {}},
        {"do i=a),b", {}, "do i=a),b", {}},  // no comma counts once a ")" is unmatched
    };
    for (const auto& c : cases) {
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
        const char* in;
        ProcedureKind kind;
        bool reportOpen;
        const char* out;
        bool endSeen;
    } cases[] = {
        {"stop", ProcedureKind::sub, true, "close #1:exit sub", false},
        {"return", ProcedureKind::function, false, "exit function", false},
        {"end", ProcedureKind::sub, false, "exit sub", true},
        {"end", ProcedureKind::sub, true, "close #1:exit sub", true},
        {"stop", ProcedureKind::none, false, "", false},  // before the first header
        {"stop", ProcedureKind::none, true, "close #1:", false},
        {"x = stopped", ProcedureKind::sub, false, "x = exit subped", false},
        {"if (a) then stop", ProcedureKind::sub, false, "if (a) then exit sub", false},
        {"go end", ProcedureKind::sub, false, "goexit sub", true},
        {"end if", ProcedureKind::sub, false, "end if", false},
        {"s = \"return\"", ProcedureKind::sub, false, "s = \"exit sub\"", false},
    };
    for (const auto& c : cases) {
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

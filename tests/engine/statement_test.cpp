// The statement routine skips searches by the statement's byte classes;
// skipping must never change a result. Compared here with a plain run of the
// same stages that searches everywhere, on statements made of the texts the
// rules look for, in random order, with capitals and 8-bit bytes among them.
#include <gtest/gtest.h>

#include <random>

#include "engine/statement.h"
#include "tests/support/capture.h"

namespace ftvb::testing {
namespace {

// Every stage run with the classes set to "all", which spares no search.
std::vector<std::string> searchingEverywhere(RunState& state, const std::string& statement) {
    LineCapture sink;
    RunObserver quiet;
    Translation t{state, sink, quiet};
    state.statement = statement;
    for (const StageRow& stage : statementStages()) {
        state.statementClasses = ~ByteClasses{0};
        if (stage.run(t) == Next::End) break;
        if (stage.number >= 13 && t.text().empty()) break;
    }
    for (const std::string& variable : state.loopsEndingHere) sink.lines.push_back("next " + variable);
    state.loopsEndingHere.clear();
    return sink.lines;
}

TEST(StatementRoutine, SkippedSearchesNeverChangeTheResult) {
    const std::vector<std::string> pieces = {
        " ", "  ", "      ", "x", "a(i:j)", ":", "(", ")", "dimension ", "DIMENSION ", "program", "format",
        "implicit", "real ", "integer ", "character*8 ", "logical ", "double precision ", "function",
        "subroutine", "sqrt", "dexp", ".true.", ".false.", ".eq.", ".lt.", ".gt.", ".le.", ".ge.", ".ne.",
        ".or.", ".and.", ".not.", "'", "//", "go to ", "goto ", "**", "write(6,*)", "write", "print ",
        "print *,", "if(", "if ", "then", "do ", "do 10 i=1,n", "data ", "/1,2/", "stop", "return", "end",
        "include", "!", "else if", "end do", "parameter ", "Dim *8 ", "10", ",", "=", "\xC9", "\xA3", "\t",
        "namelist /g/ a,b", "continue", "#", "$",
    };
    std::mt19937 rng(4242);
    int compared = 0;
    for (int i = 0; i < 30000; ++i) {
        std::string text;
        // The label field, then the statement.
        text += (rng() % 4 == 0) ? "10   " : "     ";
        text += ' ';
        const int n = 1 + static_cast<int>(rng() % 8);
        for (int k = 0; k < n; ++k) text += pieces[rng() % pieces.size()];

        RunState fast;
        RunState plain;
        for (RunState* st : {&fast, &plain}) {
            st->reportOpen = (i % 3) == 0;
            st->procedureOpen = (i % 5) != 0;
            // Before the first header of a run there is no exit statement:
            // STOP and RETURN are then simply taken out.
            st->exitStatement = (i % 7) == 0 ? "" : "exit sub";
            st->pendingLoops.record("L10:", "i");
        }
        const std::vector<std::string> want = searchingEverywhere(plain, text);
        const std::vector<std::string> got = routine(fast, text);
        ASSERT_EQ(got, want) << "statement \"" << text << "\"\n" << show(got) << "--\n" << show(want);
        ASSERT_EQ(fast.reportOpen, plain.reportOpen) << text;
        ASSERT_EQ(fast.endSeen, plain.endSeen) << text;
        ++compared;
    }
    EXPECT_EQ(compared, 30000);
}

TEST(StatementRoutine, AWordTakenOutLeavesOneBlank) {
    // Before any header STOP and RETURN become nothing; the blanks on
    // either side meet, and the final stage must still see two in a row
    // (found by fuzzing).
    const struct {
        const char* statement;
        const char* want;
    } cases[] = {
        {"      a stop b", "a b"},
        {"      if (x .ne. y) return", "if (x <> y) then"},
        {"      a .ne. return .eq. b", "a <> = b"},
    };
    for (const auto& c : cases) {
        RunState st;
        const std::vector<std::string> lines = routine(st, c.statement);
        ASSERT_EQ(lines.size(), 1u) << c.statement << "\n" << show(lines);
        EXPECT_EQ(lines[0], c.want) << c.statement;
    }
}

}  // namespace
}  // namespace ftvb::testing

// The statement and what it knows. Its scan must find every search text it
// holds, its edits must keep that true, and the routine, which skips every
// stage and search that the knowledge rules out, must write what a run that
// skips nothing writes.
#include "engine/statement.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/routine.h"
#include "tests/support/capture.h"
#include "tests/support/case_line.h"
#include "tests/support/naive_texts.h"

namespace ftvb::testing {
namespace {

// Pieces of statements: every search text, its neighbours and near misses.
const std::vector<std::string>& pieces() {
    static const std::vector<std::string> p = [] {
        std::vector<std::string> v = {
            " ",
            "  ",
            "      ",
            "x",
            "a(i:j)",
            ":",
            "(",
            ")",
            "DIMENSION ",
            "format",
            "real ",
            "integer ",
            "character*8 ",
            "logical ",
            "double precision ",
            "function",
            "subroutine",
            "write(6,*)",
            "print *,",
            "if(",
            "if ",
            "then",
            "do ",
            "do 10 i=1,n",
            "data ",
            "/1,2/",
            "end",
            "parameter ",
            "Dim *8 ",
            "10",
            ",",
            "=",
            "\xC9",
            "\xA3",
            "\t",
            "namelist /g/ a,b",
            "continue",
            "#",
            "$",
            ".",
            "..",
            "go",
            "to",
            "got",
            "o*",
            "els",
            "e i",
            "en",
            "d d",
            "**",
            "\xA3\xA3",
            "e.",
            ".l",
            "nd",
            "implicit",
            "a.eq.b.eq.",
        };
        for (std::size_t i = 0; i < kTextCount; ++i) {
            const std::string_view t = textOf(static_cast<Text>(i));
            if (!t.empty()) v.emplace_back(t);
        }
        return v;
    }();
    return p;
}

std::string randomText(std::mt19937& rng, int most) {
    std::string text;
    const int n = static_cast<int>(rng() % static_cast<unsigned>(most + 1));
    for (int k = 0; k < n; ++k) text += pieces()[rng() % pieces().size()];
    return text;
}

// Bit clear, text there: the one mistake the knowledge must never make.
// And where the text ends, which the statement keeps as it goes.
::testing::AssertionResult knowsEnough(const Statement& s) {
    if (s.endOfNonBlank() != endOfNonBlank(s.text())) {
        return ::testing::AssertionFailure()
               << "\"" << s.text() << "\": the statement puts its end at " << s.endOfNonBlank();
    }
    const Texts missed = naiveTexts(s.text()) & ~s.knowledge();
    if (missed == 0) return ::testing::AssertionSuccess();
    const std::string_view name = textOf(static_cast<Text>(std::countr_zero(missed)));
    return ::testing::AssertionFailure() << "\"" << s.text() << "\" holds \"" << (name.empty() ? "a capital" : name)
                                         << "\" but the statement says it cannot";
}

TEST(StatementKnowledge, TheScanFindsExactlyWhatIsThere) {
    std::mt19937 rng(7);
    for (int i = 0; i < 20000; ++i) {
        const std::string text = randomText(rng, 10);
        const Statement s(text);
        // Only texts of one or two bytes may be counted past the range asked
        // for; here the range is everything, so the scan is exact.
        EXPECT_EQ(s.knowledge(), naiveTexts(text)) << '"' << text << '"';
    }
}

TEST(StatementKnowledge, BlanksThatAStageWouldCollapseCount) {
    const struct {
        int line;  // where the case is written, for the failure to name
        const char* text;
        Text t;
        bool holds;
    } cases[] = {
        {__LINE__, "go  to 10", Text::goTo, true},
        {__LINE__, "else     if", Text::elseIf, true},
        {__LINE__, "end   do", Text::endDo, true},
        {__LINE__, "**  \xA3\xA3\xA3\xA3", Text::includeMark, true},
        {__LINE__, "goto  10", Text::gotoBlank, true},
        {__LINE__, "go\tto ", Text::goTo, false},
        {__LINE__, "dimension", Text::dimension, false},
        {__LINE__, "print", Text::print, false},
        {__LINE__, "x", Text::twoBlanks, false},
        {__LINE__, "x  ", Text::twoBlanks, true},
        {__LINE__, "Dim  *8", Text::dimStar, true},
        {__LINE__, "dim *8", Text::dimStar, false},
        {__LINE__, "A", Text::capital, true},
        {__LINE__, "\xE9", Text::capital, false},
        {__LINE__, "\xC9", Text::capital, true},
        {__LINE__, "\xD7", Text::capital, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        EXPECT_EQ(Statement(c.text).mayHold(c.t), c.holds) << c.text << " / " << textOf(c.t);
    }
}

TEST(StatementKnowledge, EditsKeepItTrue) {
    std::mt19937 rng(11);
    static constexpr Insertion kInsertions[] = {"",  " ",  "  ",   "go",  " to ", "sqrt", "Dim ", "**", ".eq.",
                                                "'", "e.", "else", " if", "x",    "end",  " do",  ":"};
    static constexpr Rewrite kRewrites[] = {
        {Text::twoBlanks, " "},
        {Text::dotEq, " = "},
        {Text::quote, "\""},
        {Text::goTo, "goto*"},
        {Text::gotoMark, "goto L"},
        {Text::stop, ""},
        {Text::include, "'* \xA3\xA3\xA3\xA3"},
        {Text::bang, "'"},
    };
    for (int i = 0; i < 4000; ++i) {
        Statement s(randomText(rng, 6));
        if (i % 2 == 0) {
            // As the intake builds it: lower case, padded with blanks.
            std::string text = randomText(rng, 6);
            lowerCaseInPlace(text);
            text.append(rng() % 40, ' ');
            s.begin();
            text.copy(s.extend(text.size()), text.size());
            s.completeLowered();
        }
        for (int step = 0; step < 12; ++step) {
            const std::size_t n = s.size();
            const std::size_t pos = n == 0 ? 0 : rng() % (n + 1);
            const std::size_t count = n - pos == 0 ? 0 : rng() % (n - pos + 1);
            const Insertion& ins = kInsertions[rng() % std::size(kInsertions)];
            const std::string before(s.text());
            switch (rng() % 10) {
                case 0: s.replace(pos, count, ins); break;
                case 1: s.erase(pos, count); break;
                case 2: s.insert(pos, ins); break;
                case 3: s.replaceAll(kRewrites[rng() % std::size(kRewrites)]); break;
                case 4: s.keep(pos, pos + count); break;
                case 5: s.trim(); break;
                case 6: s.collapseBlanks(); break;
                case 7:
                    s.replaceAll(std::string(1, before.empty() ? 'x' : before[pos % before.size()]),
                                 Insertion::madeNow(randomText(rng, 2)));
                    break;
                case 8: s.insert(pos, Insertion::madeNow(randomText(rng, 2))); break;
                default: s.insertAfterEach(InsertionAfter(')', " "), ' '); break;
            }
            ASSERT_TRUE(knowsEnough(s)) << "after an edit of \"" << before << "\"";
        }
    }
}

// Every stage run on every statement, with the knowledge forgotten before
// each one, so that nothing is skipped.
std::vector<std::string> searchingEverywhere(SharedState& state, const std::string& statement) {
    LineCapture sink;
    LineEmitter out(sink);
    RunObserver quiet;
    std::vector<std::string> closedLoops;
    Statement s(statement);
    StageContext c{s, state.procedure, state.file, state.run, out, quiet, closedLoops};
    for (const StageRow& stage : statementStages()) {
        s.forget();
        if (stage.run(c) == Next::End) break;
        if (stage.number >= 13 && s.empty()) break;
    }
    for (const std::string& variable : closedLoops) sink.lines.push_back("next " + variable);
    return sink.lines;
}

TEST(StatementRoutine, SkippedStagesAndSearchesNeverChangeTheResult) {
    std::mt19937 rng(4242);
    for (int i = 0; i < 30000; ++i) {
        // The label field, then the statement.
        std::string text = (rng() % 4 == 0) ? "10   " : "     ";
        text += ' ';
        text += randomText(rng, 8);

        SharedState fast;
        SharedState plain;
        for (SharedState* st : {&fast, &plain}) {
            st->file.reportOpen = (i % 3) == 0;
            st->file.procedureOpen = (i % 5) != 0;
            // Before the first header of a run there is no exit statement:
            // STOP and RETURN are then simply taken out.
            st->procedure.kind = (i % 7) == 0 ? ProcedureKind::none : ProcedureKind::sub;
            st->procedure.endSeen = (i % 11) == 0;
            st->run.pendingLoops.record("10", "i");
            if (i % 13 == 0) st->run.namelists.add("g", "a, b");
        }
        const std::vector<std::string> want = searchingEverywhere(plain, text);
        const std::vector<std::string> got = routine(fast, text);
        ASSERT_EQ(got, want) << "statement \"" << text << "\"\n" << show(got) << "--\n" << show(want);
        ASSERT_EQ(fast.file.reportOpen, plain.file.reportOpen) << text;
        ASSERT_EQ(fast.procedure.endSeen, plain.procedure.endSeen) << text;
    }
}

TEST(StatementRoutine, CommentsNeedLookOnlyForWhatTheirStagesSeek) {
    std::mt19937 rng(99);
    for (int i = 0; i < 20000; ++i) {
        std::string text = "'" + randomText(rng, 8);
        lowerCaseInPlace(text);
        SharedState fast;
        SharedState plain;
        for (SharedState* st : {&fast, &plain}) {
            if (i % 2 == 0) st->run.namelists.add("g", "a, b");
        }
        const std::vector<std::string> want = searchingEverywhere(plain, text);
        const std::vector<std::string> got = routine(fast, text, soughtInComments());
        ASSERT_EQ(got, want) << "comment \"" << text << "\"\n" << show(got) << "--\n" << show(want);
    }
}

TEST(StatementRoutine, AWordTakenOutLeavesOneBlank) {
    // Before any header STOP and RETURN become nothing; the blanks on
    // either side meet, and the final stage must still see two in a row
    // (found by fuzzing).
    const struct {
        int line;  // where the case is written, for the failure to name
        const char* statement;
        const char* want;
    } cases[] = {
        {__LINE__, "      a stop b", "a b"},
        {__LINE__, "      if (x .ne. y) return", "if (x <> y) then"},
        {__LINE__, "      a .ne. return .eq. b", "a <> = b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SharedState st;
        const std::vector<std::string> lines = routine(st, c.statement);
        ASSERT_EQ(lines.size(), 1u) << c.statement << "\n" << show(lines);
        EXPECT_EQ(lines[0], c.want) << c.statement;
    }
}

TEST(StatementRoutine, StagesAreNumberedInOrder) {
    const auto stages = statementStages();
    ASSERT_EQ(stages.size(), 27u);
    for (std::size_t i = 0; i < stages.size(); ++i) EXPECT_EQ(stages[i].number, static_cast<int>(i) + 1);
}

}  // namespace
}  // namespace ftvb::testing

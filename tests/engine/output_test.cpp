// The final stage and the declaration writer.
#include <gtest/gtest.h>

#include "engine/routine.h"
#include "tests/support/capture.h"
#include "tests/support/case_line.h"

namespace ftvb::testing {
namespace {

TEST(Output, FinalStage) {
    const struct {
        int line;  // where the case is written, for the failure to name
        const char* in;
        std::vector<std::string> dummies;
        std::vector<std::string> out;
    } cases[] = {
        {__LINE__, "x  =   1 ", {}, {"x = 1"}},
        {__LINE__, "", {}, {}},
        {__LINE__, "8", {}, {}},
        {__LINE__, "'", {}, {}},
        {__LINE__, "ab", {}, {"ab"}},
        {__LINE__, "Dim x as double", {"x", "n"}, {"'Dim x as double"}},
        {__LINE__, "Dim y as double", {"x", "n"}, {"Dim y as double"}},
        {__LINE__, "dim a(10)", {"a"}, {"dim a(10)"}},  // no blank after the bounds: nothing compared
        {__LINE__, "dim a(10) as double", {"a"}, {"dim a(10) as double"}},
        {__LINE__, "Dim x", {"x"}, {"Dim x"}},
        {__LINE__, "Dim  n  as integer", {"n"}, {"'Dim n as integer"}},
        {__LINE__, "Dimx as double", {"x"}, {"Dimx as double"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SharedState st;
        st.procedure.dummyArguments = c.dummies;
        std::vector<std::string> lines;
        afterStages({finalStage}, c.in, st, &lines);
        EXPECT_EQ(lines, c.out) << c.in;
    }
}

TEST(Output, DeclarationWriterLeavesOtherLines) {
    SharedState st;
    LineCapture sink;
    LineEmitter out(sink);
    RunObserver quiet;
    std::vector<std::string> closedLoops;
    Statement s;
    StageContext c{s, st.procedure, st.file, st.run, out, quiet, closedLoops};
    EXPECT_FALSE(writeDeclaration(c, "x = 1"));
    EXPECT_TRUE(sink.lines.empty());
    EXPECT_TRUE(writeDeclaration(c, "Dim a as integer"));
    EXPECT_EQ(sink.lines, std::vector<std::string>{"Dim a as integer"});
    EXPECT_EQ(out.lines(), 1);
}

TEST(Output, StageTableIsInOrder) {
    const auto stages = statementStages();
    ASSERT_EQ(stages.size(), 27u);
    for (std::size_t i = 0; i < stages.size(); ++i) EXPECT_EQ(stages[i].number, static_cast<int>(i) + 1);
}

}  // namespace
}  // namespace ftvb::testing

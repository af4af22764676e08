// The final stage and the declaration writer.
#include <gtest/gtest.h>

#include "engine/routine.h"
#include "tests/support/capture.h"

namespace ftvb::testing {
namespace {

TEST(Output, FinalStage) {
    const struct {
        const char* in;
        std::vector<std::string> dummies;
        std::vector<std::string> out;
    } cases[] = {
        {"x  =   1 ", {}, {"x = 1"}},
        {"", {}, {}},
        {"8", {}, {}},
        {"'", {}, {}},
        {"ab", {}, {"ab"}},
        {"Dim x as double", {"x", "n"}, {"'Dim x as double"}},
        {"Dim y as double", {"x", "n"}, {"Dim y as double"}},
        {"dim a(10)", {"a"}, {"dim a(10)"}},  // no blank after the bounds: nothing compared
        {"dim a(10) as double", {"a"}, {"dim a(10) as double"}},
        {"Dim x", {"x"}, {"Dim x"}},
        {"Dim  n  as integer", {"n"}, {"'Dim n as integer"}},
        {"Dimx as double", {"x"}, {"Dimx as double"}},
    };
    for (const auto& c : cases) {
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

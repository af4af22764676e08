// The final stage and the declaration writer.
#include <gtest/gtest.h>

#include "engine/statement.h"
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
        RunState st;
        st.dummyArguments = c.dummies;
        std::vector<std::string> lines;
        afterStages({finalStage}, c.in, st, &lines);
        EXPECT_EQ(lines, c.out) << c.in;
    }
}

TEST(Output, DeclarationWriterLeavesOtherLines) {
    RunState st;
    LineCapture sink;
    RunObserver quiet;
    Translation t{st, sink, quiet};
    st.pendingLine = "x = 1";
    writeDeclaration(t);
    EXPECT_TRUE(sink.lines.empty());
    EXPECT_EQ(st.pendingLine, "x = 1");
    st.pendingLine = "Dim a as integer";
    writeDeclaration(t);
    EXPECT_EQ(sink.lines, std::vector<std::string>{"Dim a as integer"});
    EXPECT_TRUE(st.pendingLine.empty());
}

TEST(Output, StageTableIsInOrder) {
    const auto stages = statementStages();
    ASSERT_EQ(stages.size(), 27u);
    for (std::size_t i = 0; i < stages.size(); ++i) EXPECT_EQ(stages[i].number, static_cast<int>(i) + 1);
}

}  // namespace
}  // namespace ftvb::testing

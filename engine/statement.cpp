// The statement routine. Every statement runs down this table; a stage that
// returns Next::End finishes the routine for the statement (comments after
// stage 10, procedure headers after stage 15). Stages rewrite the statement
// text in place and write their lines at once, so generated lines come out
// before the statement that caused them; the final stage writes the
// statement itself.
#include "engine/statement.h"

#include <array>
#include <cassert>
#include <utility>

#include "text/primitives.h"

namespace ftvb {

Next showStatement(Translation& t) {
    t.observer.statementShown(t.text());
    return Next::Continue;
}

Next colonSubstrings(Translation& t) {
    if (!t.mayHold(":")) return Next::Continue;
    trs_2_pts(t.text());
    t.rewritten();
    return Next::Continue;
}

namespace {

constexpr std::array<StageRow, 27> kStages{{
    {1, "parenthesis spacing: a blank after each \")\"", parenthesisSpacing},
    {2, "NAMELIST definition recorded, statement blanked", namelistDefinition},
    {3, "NAMELIST group reference rewritten", namelistReference},
    {4, "\"dimension \" becomes \"Dim \"", dimensionKeyword},
    {5, "\"program\" becomes \"subroutine\"", programKeyword},
    {6, "empty statement becomes the empty-statement comment", emptyStatement},
    {7, "statement shown to the observer", showStatement},
    {8, "lower case", lowerCase},
    {9, "a statement holding \"format\" becomes a comment", formatComment},
    {10, "comments written as they stand; ends", commentLine},
    {11, "statement label: label line, loop ends, label field blanked", statementLabel},
    {12, "IMPLICIT written as a comment", implicitComment},
    {13, "columns 1 to 6 removed, blanks trimmed", fixedColumns},
    {14, "typed function prefix removed", typedFunctionPrefix},
    {15, "FUNCTION or SUBROUTINE header; ends", procedureHeader},
    {16, "operator rewrites", operatorRewrites},
    {17, "type declarations", typeDeclarations},
    {18, "blank collapse and length-marker clean-up", declarationCleanup},
    {19, "WRITE, then PRINT", writeAndPrint},
    {20, "colon substrings to mid$", colonSubstrings},
    {21, "logical IF, then DO", ifAndDo},
    {22, "DATA", dataStatement},
    {23, "STOP, RETURN, END", stopReturnEnd},
    {24, "INCLUDE marker, then \"!\" comments", includeAndBang},
    {25, "\"else if\", then \"end do\"", elseIfEndDo},
    {26, "PARAMETER keyword, then outer parentheses", parameterAndParentheses},
    {27, "final stage: tidy, declaration writer, write", finalStage},
}};

// Runs stage I; false when the routine ends there.
template <std::size_t I>
bool runStage(Translation& t) {
    constexpr StageRow stage = kStages[I];
    const Next next = stage.run(t);  // a call the compiler sees, since the row is constant
    // Every byte of the statement must have its class in the set, or a
    // later stage would skip a search that finds something.
    assert((classesOfText(t.text()) & ~t.state.statementClasses) == 0);
    if (next == Next::End) return false;
    // Once the fixed-form columns are gone, an empty statement (a blank
    // line, a labelled CONTINUE, an IMPLICIT) has nothing left for any
    // later stage to rewrite or write: skip them.
    if constexpr (stage.number >= 13) {
        if (t.text().empty()) return false;
    }
    return true;
}

template <std::size_t... I>
void runStages(Translation& t, std::index_sequence<I...>) {
    (runStage<I>(t) && ...);
}

}  // namespace

std::span<const StageRow> statementStages() { return kStages; }

void runStatementRoutine(Translation& t) {
    t.rewritten();
    runStages(t, std::make_index_sequence<kStages.size()>{});
    t.state.statementClasses = ~ByteClasses{0};
    // A loop whose terminal statement this was ends after that statement,
    // whatever stage finished it.
    auto& ends = t.state.loopsEndingHere;
    for (const std::string& variable : ends) t.write("next " + variable);
    ends.clear();
}

}  // namespace ftvb

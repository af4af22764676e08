// The statement routine. Every statement runs down this table; a stage that
// returns Next::End finishes the routine for the statement (comments after
// stage 10, procedure headers after stage 15). A stage is entered only when
// the statement may hold one of the texts it looks for. Stages rewrite the
// statement through its own edits and write their lines at once, so
// generated lines come out before the statement that caused them; the final
// stage writes the statement itself.
#include "engine/routine.h"

#include <array>
#include <cassert>
#include <utility>

#include "text/bytes.h"

namespace ftvb {
namespace {

constexpr Texts kOperatorFinds = [] {
    Texts finds = 0;
    for (const Rewrite& r : kOperatorRewrites) finds |= bit(r.find);
    return finds;
}();

constexpr Gate kEvery{};
constexpr Gate texts(Texts t) { return Gate{t, {}, {}, nullptr}; }
constexpr Gate startsWith(std::string_view bytes) { return Gate{0, ByteSet(bytes), {}, nullptr}; }
constexpr Gate when(bool (*test)(const StageContext&)) { return Gate{0, {}, {}, test}; }

bool anyNamelist(const StageContext& c) { return !c.run.namelists.empty() && !c.statement.empty(); }
bool isEmpty(const StageContext& c) { return c.statement.empty(); }
bool beforeEnd(const StageContext& c) { return !c.procedure.endSeen; }

constexpr std::array<StageRow, 27> kStages{{
    {1, "parenthesis spacing: a blank after each \")\"", texts(bit(Text::closeParen)), parenthesisSpacing},
    {2, "NAMELIST definition recorded, statement blanked", texts(bit(Text::namelist)), namelistDefinition},
    {3, "NAMELIST group reference rewritten", when(anyNamelist), namelistReference},
    {4, "\"dimension \" becomes \"Dim \"", texts(bit(Text::dimension)), dimensionKeyword},
    {5, "\"program\" becomes \"subroutine\"", texts(bit(Text::program)), programKeyword},
    {6, "empty statement becomes the empty-statement comment", when(isEmpty), emptyStatement},
    {7, "statement shown to the observer", kEvery, showStatement},
    {8, "lower case", texts(bit(Text::capital)), lowerCase},
    {9, "a statement holding \"format\" becomes a comment", texts(bit(Text::format)), formatComment},
    {10, "comments written as they stand; ends", startsWith("'"), commentLine},
    {11, "statement label: label line, loop ends, label field blanked", when(beforeEnd), statementLabel},
    {12, "IMPLICIT written as a comment", texts(bit(Text::implicit)), implicitComment},
    {13, "columns 1 to 6 removed, blanks trimmed", kEvery, fixedColumns},
    {14, "typed function prefix removed", startsWith("crdil"), typedFunctionPrefix},
    {15, "FUNCTION or SUBROUTINE header; ends", startsWith("fs"), procedureHeader},
    {16, "operator rewrites", texts(kOperatorFinds), operatorRewrites},
    {17, "type declarations", startsWith("crdil"), typeDeclarations},
    {18, "blank collapse and length-marker clean-up", texts(bits(Text::twoBlanks, Text::dimStar)), declarationCleanup},
    {19, "WRITE, then PRINT", texts(bits(Text::write, Text::print)), writeAndPrint},
    {20, "colon substrings to mid$", texts(bit(Text::colon)), colonSubstrings},
    {21, "logical IF, then DO", startsWith("id"), ifAndDo},
    {22, "DATA", startsWith("d"), dataStatement},
    {23, "STOP, RETURN, END", Gate{bits(Text::stop, Text::returnWord), {}, ByteSet("d"), nullptr}, stopReturnEnd},
    {24, "INCLUDE marker, then \"!\" comments", texts(bits(Text::include, Text::includeMark, Text::bang)),
     includeAndBang},
    {25, "\"else if\", then \"end do\"", texts(bits(Text::elseIf, Text::endDo)), elseIfEndDo},
    {26, "PARAMETER keyword, then outer parentheses", startsWith("p("), parameterAndParentheses},
    {27, "final stage: tidy, declaration writer, write", kEvery, finalStage},
}};

static_assert(
    [] {
        for (std::size_t i = 0; i < kStages.size(); ++i) {
            if (kStages[i].number != static_cast<int>(i) + 1) return false;
        }
        return true;
    }(),
    "the stages are numbered 1 to 27, in order");

// Whether the statement passes `gate`.
template <const Gate& gate>
bool passes(const StageContext& c) {
    if constexpr (gate.when != nullptr) {
        return gate.when(c);
    }
    const Statement& s = c.statement;
    if constexpr (gate.anyOf != 0) {
        if ((s.knowledge() & gate.anyOf) != 0) return true;
    }
    if constexpr (!gate.first.empty() || !gate.last.empty()) {
        const std::string_view t = s.text();
        if (t.empty()) return false;
        if constexpr (!gate.first.empty()) {
            if (gate.first.has(t.front())) return true;
        }
        if constexpr (!gate.last.empty()) {
            // The last byte that is not a blank.
            const std::size_t end = t.back() != ' ' ? t.size() : endOfNonBlank(t);
            if (end > 0 && gate.last.has(t[end - 1])) return true;
        }
    }
    return false;
}

template <std::size_t I>
constexpr Gate kGateOf = kStages[I].gate;

template <std::size_t I>
bool entered(const StageContext& c) {
    return passes<kGateOf<I>>(c);
}

// Runs stage I; false when the routine ends there.
template <std::size_t I>
bool runStage(StageContext& c) {
    constexpr const StageRow& stage = kStages[I];
    if constexpr (!stage.gate.everyStatement()) {
        if (!entered<I>(c)) return true;
    }
    if (stage.run(c) == Next::End) return false;  // a call the compiler sees, since the row is constant
    // Once the fixed-form columns are gone, an empty statement (a blank
    // line, a labelled CONTINUE, an IMPLICIT) has nothing left for any
    // later stage to rewrite or write.
    if constexpr (stage.number >= 13) {
        if (c.statement.empty()) return false;
    }
    return true;
}

// The gate of stages First to Last together: a statement that passes none
// of them passes this one not either, and since no stage in between runs,
// none of them would let it in.
template <std::size_t First, std::size_t Last>
constexpr Gate kEither = [] {
    Gate g;
    for (std::size_t i = First; i <= Last; ++i) {
        g.anyOf |= kStages[i].gate.anyOf;
        g.first |= kStages[i].gate.first;
        g.last |= kStages[i].gate.last;
    }
    return g;
}();

// Stages First to Last, skipped together when none of them can be entered.
template <std::size_t First, std::size_t Last>
bool runGroup(StageContext& c) {
    static_assert(
        [] {
            for (std::size_t i = First; i <= Last; ++i) {
                if (kStages[i].gate.everyStatement() || kStages[i].gate.when != nullptr) return false;
            }
            return true;
        }(),
        "a group's gates can be put together");
    if (!passes<kEither<First, Last>>(c)) return true;
    return [&]<std::size_t... I>(std::index_sequence<I...>) { return (runStage<First + I>(c) && ...); }
    (std::make_index_sequence<Last - First + 1>{});
}

// The stages in order, those that most statements skip together grouped,
// so that one test passes over them: 1-2, 4-5, 8-10, 14-15 and 17-26.
void runStages(StageContext& c) {
    (runGroup<0, 1>(c) && runStage<2>(c) && runGroup<3, 4>(c) && runStage<5>(c) && runStage<6>(c) &&
     runGroup<7, 9>(c) && runStage<10>(c) && runStage<11>(c) && runStage<12>(c) && runGroup<13, 14>(c) &&
     runStage<15>(c) && runGroup<16, 25>(c) && runStage<26>(c));
}

}  // namespace

std::span<const StageRow> statementStages() { return kStages; }

Texts soughtInComments() {
    // Up to the stage that writes comments and ends. Stages gated on tests
    // of their own look for no text of the statement's; and should a stage
    // make a comment something else, the texts not looked for count as
    // there, so that the stages after it search for themselves.
    constexpr Texts kSought = [] {
        Texts sought = 0;
        for (const StageRow& stage : kStages) {
            if (stage.gate.first.has('\'')) return sought;
            sought |= stage.gate.anyOf;
        }
        return kEveryText;
    }();
    static_assert(kSought != kEveryText, "a stage ends the routine for comments");
    return kSought;
}

void StageContext::noteAlways(ReviewKind kind, std::string_view detail) {
    static_assert(kReviewKinds <= sizeof(unsigned) * 8, "one bit per kind");
    const unsigned kindBit = 1U << static_cast<unsigned>(kind);
    if ((notedKinds & kindBit) != 0) return;
    notedKinds |= kindBit;
    observer.reviewNoted({kind, detail, source, statement.firstLine(), firstModuleLine});
}

void runStatementRoutine(StageContext& c) {
    c.firstModuleLine = c.out.lines() + 1;
    runStages(c);
    assert(c.statement.knowsWhatItHolds());
    // A loop whose terminal statement this was ends after that statement,
    // whatever stage finished it.
    for (const std::string& variable : c.closedLoops) c.out.line("next ", variable);
    c.closedLoops.clear();
}

}  // namespace ftvb

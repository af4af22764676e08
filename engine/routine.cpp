// The statement routine. Every statement runs down this table; a stage that
// returns Next::End finishes the routine for the statement (comments after
// stage 10, procedure headers after stage 15). A stage is entered only when
// the statement may hold one of the texts it looks for. Stages rewrite the
// statement through its own edits and write their lines at once, so
// generated lines come out before the statement that caused them; the final
// stage writes the statement itself.
#include "engine/routine.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <utility>

#include "engine/stages/comments_and_columns.h"
#include "engine/stages/control_flow.h"
#include "engine/stages/declarations.h"
#include "engine/stages/first_rewrites.h"
#include "engine/stages/last_rewrites.h"
#include "engine/stages/operators.h"
#include "engine/stages/procedure_headers.h"
#include "engine/stages/statement_output.h"
#include "engine/stages/write_and_substrings.h"
#include "text/bytes.h"

namespace ftvb {
namespace {

// The rows of every group of stages, joined in the order the groups run.
template <std::size_t... N>
constexpr std::array<StageRow, (N + ...)> join(const std::array<StageRow, N>&... groups) {
    std::array<StageRow, (N + ...)> all{};
    std::size_t at = 0;
    ((std::copy(groups.begin(), groups.end(), all.begin() + static_cast<std::ptrdiff_t>(at)), at += N), ...);
    return all;
}

constexpr auto kStages =
    join(kFirstRewriteStages, kCommentAndColumnStages, kProcedureHeaderStages, kOperatorStages, kDeclarationStages,
         kWriteAndSubstringStages, kControlFlowStages, kLastRewriteStages, kStatementOutputStages);

static_assert(kStages.size() == 27, "27 stages");
static_assert(
    [] {
        for (std::size_t i = 0; i < kStages.size(); ++i) {
            if (kStages[i].number != static_cast<int>(i) + 1) return false;
        }
        return true;
    }(),
    "every stage appears once, numbered 1 to 27 in the order the groups run");

// Whether the statement passes `gate`.
template <const Gate& gate>
bool passes(const StageContext& c) {
    if constexpr (gate.tested) {
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
    if constexpr (First == Last) {
        return runStage<First>(c);
    } else {
        if (!passes<kEither<First, Last>>(c)) return true;
        return [&]<std::size_t... I>(std::index_sequence<I...>) { return (runStage<First + I>(c) && ...); }
        (std::make_index_sequence<Last - First + 1>{});
    }
}

// The stages whose gates can be put together, in runs, each run skipped
// with one test when none of its stages can be entered. A stage that most
// statements enter stands alone, so that the stages around it keep a test
// of their own that most statements fail.
struct StageRun {
    std::size_t first, last;
};

constexpr bool standsAlone(const StageRow& row) { return !row.gate.joinable() || row.entered == Entered::mostly; }

constexpr std::size_t kRunCount = [] {
    std::size_t runs = 0;
    for (std::size_t i = 0; i < kStages.size(); ++i) {
        if (i == 0 || standsAlone(kStages[i]) || standsAlone(kStages[i - 1])) ++runs;
    }
    return runs;
}();

constexpr std::array<StageRun, kRunCount> kRuns = [] {
    std::array<StageRun, kRunCount> runs{};
    std::size_t n = 0;
    for (std::size_t i = 0; i < kStages.size(); ++i) {
        if (i == 0 || standsAlone(kStages[i]) || standsAlone(kStages[i - 1]))
            runs[n++] = {i, i};
        else
            runs[n - 1].last = i;
    }
    return runs;
}();

static_assert(
    [] {
        std::size_t next = 0;
        for (const StageRun& r : kRuns) {
            if (r.first != next || r.last < r.first) return false;
            next = r.last + 1;
        }
        return next == kStages.size();
    }(),
    "the runs visit every stage once, in order");

// The stages in order, run by run.
void runStages(StageContext& c) {
    [&]<std::size_t... R>(std::index_sequence<R...>) { (runGroup<kRuns[R].first, kRuns[R].last>(c) && ...); }
    (std::make_index_sequence<kRunCount>{});
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

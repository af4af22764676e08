// Test helpers: run source text through the engine and read the lines back.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "engine/converter.h"
#include "engine/run_state.h"
#include "engine/seam.h"
#include "engine/stages.h"
// The stages, which the tests call one by one.
#include "engine/stages/comments_and_columns.h"
#include "engine/stages/control_flow.h"
#include "engine/stages/declarations.h"
#include "engine/stages/first_rewrites.h"
#include "engine/stages/last_rewrites.h"
#include "engine/stages/operators.h"
#include "engine/stages/procedure_headers.h"
#include "engine/stages/statement_output.h"
#include "engine/stages/write_and_substrings.h"

namespace ftvb::testing {

struct LineCapture : LineSink {
    std::vector<std::string> lines;
    void writeLine(std::string_view line) override { lines.emplace_back(line); }
};

struct ObserverCapture : RunObserver {
    std::vector<long long> counts;
    std::vector<std::string> shown;
    void lineCounted(long long n) override { counts.push_back(n); }
    void statementShown(std::string_view s) override { shown.emplace_back(s); }
};

// Splits `source` at "\n" into lines (a final "\n" ends the last line).
std::vector<std::string> splitLines(std::string_view source);

// Converts each text of `files` as one source file of a single run and
// returns the module's lines.
std::vector<std::string> convertFiles(const std::vector<std::string>& files);

inline std::vector<std::string> convert(const std::string& source) { return convertFiles({source}); }

// Like convert(), without the empty-statement comment that the start of
// every file produces, for tests about one statement.
std::vector<std::string> convertBody(const std::string& source);

// What the stages share, for running them outside a run.
struct SharedState {
    RunTables run;
    FileState file;
    ProcedureState procedure;
};

// Runs the statement routine once on `statement` with `state` and returns
// the lines written. The statement learns what it holds of `sought` as the
// line intake has it learn, `statement` being lower case then.
std::vector<std::string> routine(SharedState& state, const std::string& statement, Texts sought = kEveryText);

// Runs the given stages, in order, on `text` with `state`; returns the
// statement text they leave and appends the lines they write to `lines`.
std::string afterStages(std::initializer_list<StageFn> stages, std::string text, SharedState& state,
                        std::vector<std::string>* lines = nullptr);

inline std::string afterStage(StageFn stage, std::string text) {
    SharedState state;
    return afterStages({stage}, std::move(text), state);
}

// A 72-column fixed-form line: label field, continuation mark, statement.
std::string card(std::string_view statement, std::string_view label = "", char mark = ' ');

// For failure messages: the lines, one per row, with their blanks visible.
std::string show(const std::vector<std::string>& lines);

}  // namespace ftvb::testing

// The statement routine: 27 stages, in a fixed order, on one statement.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "engine/search_texts.h"
#include "engine/stages.h"

namespace ftvb {

// A set of bytes, for the stages that look only at how a statement begins
// or ends.
struct ByteSet {
    std::uint64_t words[4] = {};
    constexpr ByteSet() = default;
    constexpr explicit ByteSet(std::string_view bytes) {
        for (const char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            words[b >> 6] |= std::uint64_t{1} << (b & 63);
        }
    }
    constexpr bool empty() const { return (words[0] | words[1] | words[2] | words[3]) == 0; }
    constexpr ByteSet& operator|=(const ByteSet& other) {
        for (int i = 0; i < 4; ++i) words[i] |= other.words[i];
        return *this;
    }
    constexpr bool has(char c) const {
        const auto b = static_cast<unsigned char>(c);
        return ((words[b >> 6] >> (b & 63)) & 1) != 0;
    }
};

// When a stage is entered: when the statement may hold one of `anyOf`, or
// begins with a byte of `first`, or its last byte other than a blank is one
// of `last`, or `when` says so; a stage with none of them is entered for
// every statement.
struct Gate {
    Texts anyOf = 0;
    ByteSet first;
    ByteSet last;
    // Or, instead of the three, a test of the statement and the state.
    bool (*when)(const StageContext&) = nullptr;
    constexpr bool everyStatement() const { return anyOf == 0 && first.empty() && last.empty() && when == nullptr; }
};

struct StageRow {
    int number;
    const char* does;
    Gate gate;
    StageFn run;
};

// The stages in the order they run.
std::span<const StageRow> statementStages();

// The texts looked for by the stages that a statement beginning with "'"
// goes through before the routine ends for it.
Texts soughtInComments();

// Runs the stages on the context's statement until one ends the routine,
// then writes the "next" lines of the loops the statement closed.
void runStatementRoutine(StageContext& c);

}  // namespace ftvb

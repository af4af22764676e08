// A stage's row in the statement routine: its number, what it does, when a
// statement enters it, and its function. Each file of engine/stages/ lists
// the rows of its stages beside their rules, with gates worked out from the
// texts those rules look for; routine.cpp puts the rows together in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
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
        for (const char c : bytes) add(c);
    }
    constexpr void add(char c) {
        const auto b = static_cast<unsigned char>(c);
        words[b >> 6] |= std::uint64_t{1} << (b & 63);
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
    // Whether `when` is set. Kept apart, since the address of an inline
    // function is no constant a compiler must be able to compare (GCC's
    // sanitizers take it for one that may be null).
    bool tested = false;
    constexpr bool everyStatement() const { return anyOf == 0 && first.empty() && last.empty() && !tested; }
    // Whether the gate can be put together with others into one test.
    constexpr bool joinable() const { return !everyStatement() && !tested; }
};

// How many statements enter a stage, as far as its gate can tell.
enum class Entered {
    seldom,  // stages next to it may be passed over with it in one test
    mostly,  // worth no such test: it stands alone
};

struct StageRow {
    int number;
    const char* does;
    Gate gate;
    StageFn run;
    Entered entered = Entered::seldom;
};

// The gates the rows are written with.
inline constexpr Gate kEveryStatement{};
constexpr Gate texts(Texts t) { return Gate{t, {}, {}, nullptr}; }
constexpr Gate when(bool (*test)(const StageContext&)) { return Gate{0, {}, {}, test, true}; }
// Entered by a statement that begins as one of `starts` may: with its first byte.
constexpr Gate beginning(std::span<const std::string_view> starts) {
    Gate g;
    for (const std::string_view s : starts) g.first.add(s.front());
    return g;
}
constexpr Gate beginning(std::initializer_list<std::string_view> starts) {
    return beginning(std::span<const std::string_view>(starts.begin(), starts.size()));
}
// Entered by a statement that may hold one of `t` or end with `word`.
constexpr Gate textsOrEnding(Texts t, std::string_view word) {
    Gate g = texts(t);
    g.last.add(word.back());
    return g;
}
// A gate that lets in what any of `gates` lets in (none of them a test).
constexpr Gate either(std::initializer_list<Gate> gates) {
    Gate g;
    for (const Gate& each : gates) {
        g.anyOf |= each.anyOf;
        g.first |= each.first;
        g.last |= each.last;
    }
    return g;
}

}  // namespace ftvb

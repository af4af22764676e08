// Text primitives: the string routines the statement rules are built from.
//
// Texts are byte strings (8-bit Windows-1252); positions returned to callers
// count from 1 and 0 means "not found", as the rules are written that way.
// None of these routines allocate more than the text they produce, and none
// rescans text it has already settled, so each runs in time linear in what it
// reads and writes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "text/bytes.h"

namespace ftvb {

// Replace-all to a fixed point: every occurrence of `ch1` in `ww` becomes
// `ch2`, and the search goes on until `ch1` occurs nowhere, so occurrences
// that a replacement forms with its neighbours are replaced too ("aab" with
// "ab" -> "b" gives "b").
//
// Guards, since the fixed point may not exist:
//  - an empty `ch1` changes nothing;
//  - a `ch2` that contains `ch1` replaces each occurrence present once, left
//    to right, and stops;
//  - a rewrite that keeps feeding itself (possible only with texts no rule
//    of the translator uses) stops after a work budget far above anything a
//    statement needs, leaving the text as rewritten so far.
// transf when the caller already knows where the first occurrence is.
void transfFrom(std::string& ww, std::string_view ch1, std::string_view ch2, std::size_t first);
// The same, building the result in `spare`, which is left holding the
// text's old buffer (for a caller that keeps its own second buffer).
void transfFrom(std::string& ww, std::string_view ch1, std::string_view ch2, std::size_t first, std::string& spare);

// "cc" -> "c" to a fixed point, which is every run of c shortened to one c,
// in place over the n bytes at d, the first run beginning at p. Returns the
// new length.
std::size_t collapseRuns(char* d, std::size_t n, char c, std::size_t p);

// Most calls find nothing: that case stays inline, without a call. A
// constant search text can be given as a constexpr Pattern, which has its
// search key worked out at compile time.
inline void transf(std::string& ww, const Pattern& ch1, std::string_view ch2) {
    if (ch1.text.empty()) return;
    const std::size_t p = findText(ww, ch1);
    if (p != std::string::npos) transfFrom(ww, ch1.text, ch2, p);
}

// Position (from 1) of the first comma of `ww` outside parentheses, or 0.
// Only "(" and ")" count; quotes do not; the depth may go below zero, after
// which no comma counts until a "(" brings it back to zero.
std::size_t instr1(std::string_view ww);

// Rewrites every colon substring «name(lo:hi)» outside quotes into
// «mid$(name,lo,length)», one colon per pass, until no colon outside quotes
// is left. Makes at most as many passes as `ww` held colons at the call, and
// stops early (leaving the other colons) only when the passes would copy
// the statement over and over, far beyond what any real statement needs.
void trs_2_pts(std::string& ww);

// The first colon outside quotes, where trs_2_pts begins, and whether it
// stands alone: with no "(" before it or no ")" after it, the routine only
// turns it into a comma. `pos` is npos when there is no such colon, and the
// routine leaves the text as it is.
struct FirstColon {
    std::size_t pos;
    bool alone;
};
FirstColon firstColon(std::string_view ww);

// Expands a DATA statement (the text begins with "data ") into one line of
// ":"-joined assignments, which it returns; `ww` is left empty.
std::string chg_data(std::string& ww);

}  // namespace ftvb

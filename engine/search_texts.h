// The texts the stages look for, and the one scan that finds which of them a
// statement holds.
//
// Every stage begins by asking whether the statement can hold what it looks
// for; the answer comes from a set of these texts, one bit each, which the
// statement learns by one scan when it is complete and keeps exact through
// its own edits. A text with a blank between two other characters ("go to ",
// "else if") is also counted when blanks stand in a run there, since a later
// blank collapse turns the run into the one blank the stage looks for.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ftvb {

enum class Text : unsigned char {
    closeParen,
    namelist,
    dimension,
    program,
    capital,  // any byte that lower-casing changes, not a text
    format,
    quote,
    implicit,
    sqrt,
    dexp,
    dotTrue,
    dotFalse,
    dotEq,
    dotLt,
    dotGt,
    dotLe,
    dotGe,
    dotNe,
    dotOr,
    dotAnd,
    dotNot,
    twoBlanks,
    concatenation,
    goTo,
    gotoBlank,
    gotoMark,
    power,
    dimStar,
    write,
    print,
    colon,
    stop,
    returnWord,
    include,
    includeMark,
    bang,
    elseIf,
    endDo,
    count
};

inline constexpr std::size_t kTextCount = static_cast<std::size_t>(Text::count);

// A set of texts, one bit each.
using Texts = std::uint64_t;
static_assert(kTextCount <= 64, "one bit per text");

constexpr Texts bit(Text t) { return Texts{1} << static_cast<unsigned>(t); }

template <typename... T>
constexpr Texts bits(T... t) {
    return (bit(t) | ...);
}

inline constexpr Texts kNoTexts = 0;
inline constexpr Texts kEveryText = (kTextCount == 64 ? ~Texts{0} : (Texts{1} << kTextCount) - 1);

namespace detail {

struct Entry {
    Text id;
    std::string_view text;
    // Where the scan first looks for the text: the pair of bytes at this
    // offset, picked as the rarest pair over the LAPACK sources (so that
    // prose, which holds every letter, rarely makes the scan compare a text
    // in full). A blank that may stand in a run can come before the key: the
    // text is then compared backwards from it as well as forwards.
    std::size_t key;
};

// In the order of the enumeration.
inline constexpr std::array<Entry, kTextCount> kEntries{{
    {Text::closeParen, ")", 0},
    {Text::namelist, "namelist", 0},
    {Text::dimension, "dimension ", 0},
    {Text::program, "program", 3},
    {Text::capital, "", 0},
    {Text::format, "format", 2},
    {Text::quote, "'", 0},
    {Text::implicit, "implicit", 5},
    {Text::sqrt, "sqrt", 0},
    {Text::dexp, "dexp", 2},
    {Text::dotTrue, ".true.", 2},
    {Text::dotFalse, ".false.", 0},
    {Text::dotEq, ".eq.", 2},
    {Text::dotLt, ".lt.", 0},
    {Text::dotGt, ".gt.", 1},
    {Text::dotLe, ".le.", 0},
    {Text::dotGe, ".ge.", 0},
    {Text::dotNe, ".ne.", 2},
    {Text::dotOr, ".or.", 2},
    {Text::dotAnd, ".and.", 0},
    {Text::dotNot, ".not.", 0},
    {Text::twoBlanks, "  ", 0},
    {Text::concatenation, "//", 0},
    {Text::goTo, "go to ", 0},
    {Text::gotoBlank, "goto ", 0},
    {Text::gotoMark, "goto*", 3},
    {Text::power, "**", 0},
    {Text::dimStar, "Dim *", 0},
    {Text::write, "write", 0},
    {Text::print, "print ", 0},
    {Text::colon, ":", 0},
    {Text::stop, "stop", 2},
    {Text::returnWord, "return", 2},
    {Text::include, "include", 4},
    {Text::includeMark, "** \xA3\xA3\xA3\xA3", 0},
    {Text::bang, "!", 0},
    {Text::elseIf, "else if", 1},
    {Text::endDo, "end do", 4},
}};

static_assert(
    [] {
        for (std::size_t i = 0; i < kEntries.size(); ++i) {
            if (static_cast<std::size_t>(kEntries[i].id) != i) return false;
        }
        return true;
    }(),
    "the table follows the enumeration");

static_assert(
    [] {
        for (const Entry& e : kEntries) {
            if (e.id == Text::capital) continue;
            const std::string_view t = e.text;
            if (t.size() == 1) {
                if (e.key != 0) return false;
                continue;
            }
            if (e.key + 2 > t.size()) return false;
            if (t != "  " && (t[e.key] == ' ' || t[e.key + 1] == ' ')) return false;
        }
        return true;
    }(),
    "every key is a pair of the text's bytes, without a blank");

// The bytes that lower-casing changes: A-Z, the accented capitals of
// Windows-1252 but the multiplication sign, and Š Œ Ž Ÿ.
constexpr bool isCapitalByte(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || c == 0x8A || c == 0x8C || c == 0x8E ||
           c == 0x9F;
}

}  // namespace detail

constexpr std::string_view textOf(Text t) { return detail::kEntries[static_cast<std::size_t>(t)].text; }

// A blank with another character on each side: a run of blanks there counts.
constexpr bool stretches(std::string_view t) {
    for (std::size_t i = 1; i + 1 < t.size(); ++i) {
        if (t[i] == ' ') return true;
    }
    return false;
}

inline constexpr std::size_t kLongestText = [] {
    std::size_t longest = 1;
    for (const detail::Entry& e : detail::kEntries) longest = e.text.size() > longest ? e.text.size() : longest;
    return longest;
}();

// The texts that start at positions [from, to) of `text`, and perhaps
// others it holds. The byte at text.data()[text.size()] must be readable (a
// std::string's terminator).
Texts scanTexts(std::string_view text, std::size_t from, std::size_t to);
// The same, knowing that no key of those texts lies at or after `end`.
Texts scanKeys(std::string_view text, std::size_t from, std::size_t to, std::size_t end);

// Every text in `text`, which must end as for scanTexts. Only with
// `capitals` is the text searched for bytes that lower-casing changes.
// `end`, when given, is where the blanks that end the text begin.
Texts scanAll(std::string_view text, bool capitals = true);
Texts scanAll(std::string_view text, std::size_t end, bool capitals);
// The texts of `sought` in `text`, which holds no capital and whose
// closing blanks begin at `end`.
Texts scanLowered(std::string_view text, std::size_t end, Texts sought);

// Whether `text` holds a byte that lower-casing changes.
bool holdsCapital(std::string_view text);

// Where a text that starts before `pos` and reaches past it may begin: the
// longest text's length less one back from `pos`, counting a run of blanks
// as one character.
std::size_t reachBack(std::string_view text, std::size_t pos);
// How far the key of a text that starts before `pos` may lie, counted the
// same way.
std::size_t reachForward(std::string_view text, std::size_t pos);

// The texts that putting `insertion` into a text can make appear there,
// overlapping it: those that agree with it wherever they overlap it, under
// some alignment, with whatever stands around it. With `nothingBefore`, it
// goes at the very start of the text; with `before`, right after that byte,
// which must not be a blank.
// An empty insertion joins its neighbours, which may make any text of two
// or more characters.
constexpr Texts mayForm(std::string_view insertion, bool nothingBefore = false, int before = -1) {
    if (insertion.empty()) {
        Texts all = 0;
        for (const detail::Entry& e : detail::kEntries) {
            if (e.text.size() >= 2) all |= bit(e.id);
        }
        return all;
    }
    // A run of blanks in the insertion is the one blank of a stretching text.
    char collapsed[256] = {};
    if (insertion.size() > sizeof collapsed) return kEveryText;
    std::size_t collapsedSize = 0;
    for (std::size_t i = 0; i < insertion.size() && collapsedSize < sizeof collapsed; ++i) {
        if (insertion[i] == ' ' && collapsedSize > 0 && collapsed[collapsedSize - 1] == ' ') continue;
        collapsed[collapsedSize++] = insertion[i];
    }
    Texts forms = 0;
    for (const detail::Entry& e : detail::kEntries) {
        if (e.id == Text::capital) {
            for (const char c : insertion) {
                if (detail::isCapitalByte(static_cast<unsigned char>(c))) forms |= bit(e.id);
            }
            continue;
        }
        const std::string_view t = e.text;
        const std::string_view r = stretches(t) ? std::string_view(collapsed, collapsedSize) : insertion;
        const auto lt = static_cast<long>(t.size());
        const auto lr = static_cast<long>(r.size());
        // The text's first character stands at offset d of the insertion.
        for (long d = -(lt - 1); d < lr; ++d) {
            if (nothingBefore && d < 0) continue;
            bool agrees = true;
            for (long k = 0; k < lt && agrees; ++k) {
                const long j = d + k;
                // Before the known byte, and after the insertion, anything may stand.
                if (j >= 0 && j < lr) {
                    agrees = t[static_cast<std::size_t>(k)] == r[static_cast<std::size_t>(j)];
                } else if (j == -1 && before >= 0) {
                    agrees = static_cast<unsigned char>(t[static_cast<std::size_t>(k)]) == before;
                }
            }
            if (agrees) {
                forms |= bit(e.id);
                break;
            }
        }
    }
    return forms;
}

}  // namespace ftvb

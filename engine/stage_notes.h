// What the stages look at when they note a place for the porting checklist:
// where a text they rewrite stands in the statement (inside quotes, inside
// a longer name) and what word a statement begins with. Read-only looks at
// the text, taken only when the run asks for the checklist.
#pragma once

#include <cstddef>
#include <string_view>

namespace ftvb {

// Letters, digits and "_": a byte that makes a text part of a longer name.
inline bool isNameByte(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '_' || (ch >= 'A' && ch <= 'Z');
}

// Whether the byte at `pos` lies between two `quote` bytes: an odd number
// of them stands before it ("''" inside a string counts twice, so it keeps
// the string open).
bool insideQuotes(std::string_view text, std::size_t pos, char quote);

// Where the occurrences of `word` in `text` stand.
struct WordPlaces {
    bool quoted = false;  // one at least inside quotes
    bool inName = false;  // one at least outside quotes, joined to a name byte before or after it
    bool alone = false;   // one at least outside quotes and standing alone
};
WordPlaces placesOf(std::string_view text, std::string_view word, char quote);

// Whether some occurrence of `word` in `text` lies inside quotes.
inline bool quotedHolds(std::string_view text, std::string_view word, char quote) {
    return placesOf(text, word, quote).quoted;
}

// The text after `word` when `text` begins with it as a word of its own
// (not followed by a name byte, nor by "=" after blanks, which would make it
// a variable being assigned); npos otherwise.
std::size_t afterStatementWord(std::string_view text, std::string_view word);

// Where the statement proper begins: after the ") then " of a logical IF
// the rules gave one, else at 0.
std::size_t actionStart(std::string_view text);

// Whether `text` reads "name(arg, arg...) = expression" with plain names
// as arguments: the shape of a statement function.
bool looksLikeStatementFunction(std::string_view text);

// Whether `text` is a list of two or three labels, "10, 20, 30": the action
// of an arithmetic IF.
bool isLabelList(std::string_view text);

}  // namespace ftvb

// The finisher's lexer: fixed-form lines into statements, and a statement's
// text into tokens.
//
// A statement is columns 7-72 of its first line and of each continuation
// line (a mark other than blank or 0 in column 6), joined; the label is
// columns 1-5. Lines with c, C, * or ! in column 1 are comments, and blank
// lines are kept as such. The lexer knows the columns and nothing else:
// every character of a statement keeps the line and column it came from, so
// that a diagnostic can say file:line:col.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ftvb::finish {

struct Position {
    long long line = 0;  // from 1
    int column = 0;      // from 1
};

// One logical line of a source file.
struct SourceItem {
    enum class Kind { comment, blank, statement };
    Kind kind = Kind::statement;
    std::string text;    // a comment's text after column 1; a statement's columns 7-72 joined
    std::string label;   // digits of columns 1-5, without blanks
    long long line = 0;  // first line
    int column = 1;      // the column text[0] came from, on the first line
    // Where each continuation line's part of `text` begins: its index in
    // `text`, and the line and column it came from.
    struct Segment {
        std::size_t at;
        Position from;
    };
    std::vector<Segment> segments;
    // The line and column of text[index].
    Position positionOf(std::size_t index) const;
};

// Groups lines into logical lines as they come. Comments that fall between
// the lines of one statement come out right after it.
class StatementReader {
public:
    StatementReader() = default;
    // Without comments and blank lines: statements only, for a pass that
    // needs no more.
    explicit StatementReader(bool keepComments) : keepComments_(keepComments) {}
    // Hands on what is complete after this line.
    void feed(std::string_view line, std::vector<SourceItem>& out);
    // The statement still pending at the end of the file.
    void finish(std::vector<SourceItem>& out);

private:
    long long lineNo_ = 0;
    bool keepComments_ = true;
    bool open_ = false;
    SourceItem pending_;
    std::vector<SourceItem> held_;  // comments inside the pending statement
};

// A statement's text with the blanks outside quoted strings and Hollerith
// constants taken out and letters outside them in lower case; `raw[i]` is
// the index in the statement text of character i. Quoted text is kept with
// its quotes.
struct Squeezed {
    std::string text;
    std::vector<std::uint32_t> raw;
};
Squeezed squeeze(std::string_view statement);
// The same into `out`, whose room is kept.
void squeeze(std::string_view statement, Squeezed& out);
// The same text without the indices, for a look at what a statement is.
std::string squeezedText(std::string_view statement);
void squeezedText(std::string_view statement, std::string& out);

// An operator's text packed in a number (its bytes, the first lowest), so
// that the parser compares operators without comparing strings.
constexpr std::uint64_t opCode(std::string_view op) {
    std::uint64_t code = 0;
    for (std::size_t i = 0; i < op.size() && i < 8; ++i) {
        code |= static_cast<std::uint64_t>(static_cast<unsigned char>(op[i])) << (8 * i);
    }
    return code;
}

struct Token {
    enum class Kind { name, integer, real, string, logical, op, end };
    Kind kind = Kind::end;
    std::string text;        // names and operators in lower case; strings without their quotes
    std::size_t at = 0;      // index in the squeezed text
    bool isDouble = false;   // a real constant with a D exponent
    std::uint64_t code = 0;  // an op's opCode(text); 0 for the other kinds
};

// Tokens of squeezed[from, to). Operators: + - * / ** // ( ) , = : and the
// dotted ones as ".eq.", ".and."...; .true./.false. are logical constants.
// Quoted strings and nH constants are strings. A character that starts no
// token is an op of its own, for the parser to refuse.
std::vector<Token> tokenize(std::string_view squeezed, std::size_t from = 0, std::size_t to = std::string_view::npos);
// The same into `out`, whose room is kept from one statement to the next.
void tokenizeInto(std::vector<Token>& out, std::string_view squeezed, std::size_t from = 0,
                  std::size_t to = std::string_view::npos);

}  // namespace ftvb::finish

// The line intake: physical lines in, complete statements out.
//
// Each line is brought to exactly 72 lower-case columns as it is copied into
// its statement, in one pass (a leading tab stands for six blanks; sequence
// numbers past column 72 go). "c", "*" or "!" in column 1 makes a comment
// line, whose statement is "'" and columns 2 to 72; anything else in column
// 6 makes a continuation, whose columns 7 to 72 are appended to the pending
// statement; any other line begins a statement of its own. A statement is
// complete when the next one begins or the file ends, and only then learns
// what it holds.
#pragma once

#include <cstddef>
#include <string_view>

#include "engine/statement.h"

namespace ftvb {

class LineIntake {
public:
    // A comment line's statement is scanned only for `soughtInComments`,
    // the texts the stages it goes through look for.
    explicit LineIntake(Texts soughtInComments = kEveryText) : soughtInComments_(soughtInComments) {}

    // A file begins: the pending statement is empty.
    void beginFile();

    // Takes one physical line as read, without its line end. Returns the
    // statement that the line completes, valid until the next call, or
    // nullptr when the line continues the pending one.
    Statement* take(std::string_view line);

    // The file ends: the pending statement is complete.
    Statement& finish();

private:
    Statement& pending() { return statements_[pending_]; }
    Statement* startNext(std::string_view line, bool comment);
    void complete(Statement& statement) const;
    void appendContinuation(std::string_view line);
    bool pendingIsEndOrReturn();
    void knowBounds();

    // The statement being completed and the one that follows it.
    Statement statements_[2];
    int pending_ = 0;
    Texts soughtInComments_;
    bool pendingIsComment_ = false;
    long line_ = 0;  // lines of the current file taken so far
    // Where the non-blank part of the pending statement lies, worked out at
    // its first continuation line and kept up to date as more are appended,
    // so that the "end"/"return" test does not rescan a long statement for
    // every line.
    std::size_t firstNonBlank_ = 0;
    std::size_t lastNonBlank_ = 0;
    bool anyNonBlank_ = false;
    bool boundsKnown_ = false;
};

}  // namespace ftvb

#include "engine/line_intake.h"

#include <algorithm>
#include <cstring>

#include "text/bytes.h"

namespace ftvb {
namespace {

constexpr std::size_t kColumns = 72;
constexpr std::size_t kStatementField = 6;  // columns 7 to 72 start here

// "c" or "C", "*" and "!" in column 1: no statement can begin there with
// any of them, since the label field holds digits or blanks.
bool isCommentMark(char first) {
    const unsigned char lowered = lowerByte(static_cast<unsigned char>(first));
    return lowered == 'c' || lowered == '*' || lowered == '!';
}

// Copies what of `from` fits in `room` blanks at `to`, lower-cased; returns
// how much. The copy is lowered a word at a time, up to the word that holds
// its last byte: the blanks after it have nothing to lower.
std::size_t copyLowered(char* to, std::string_view from, std::size_t room) {
    const std::size_t n = std::min(from.size(), room);
    std::memcpy(to, from.data(), n);
    lowerCaseInPlace(to, std::min(room, (n + 7) / 8 * 8));
    return n;
}

}  // namespace

void LineIntake::beginFile() {
    line_ = 0;
    pending().begin();
    pending().setFirstLine(0);
    pendingIsComment_ = false;
    boundsKnown_ = false;
}

Statement* LineIntake::take(std::string_view line) {
    ++line_;
    const bool tab = !line.empty() && line.front() == '\t';
    // Lower-casing never makes a blank or unmakes one, so the raw bytes
    // tell the kind of line.
    const bool comment = !tab && !line.empty() && isCommentMark(line.front());
    if (!comment && !tab && line.size() > 5 && line[5] != ' ' && !pendingIsEndOrReturn()) {
        appendContinuation(line);
        return nullptr;
    }
    return startNext(line, comment);
}

Statement& LineIntake::finish() {
    Statement& done = pending();
    complete(done);
    return done;
}

void LineIntake::complete(Statement& statement) const {
    if (pendingIsComment_) {
        statement.completeLowered(soughtInComments_);
    } else {
        statement.completeLowered();
    }
}

Statement* LineIntake::startNext(std::string_view line, bool comment) {
    Statement& done = pending();
    complete(done);
    pending_ ^= 1;
    Statement& next = pending();
    next.begin();
    next.setFirstLine(line_);
    char* columns = next.extend(kColumns);  // blanks, for what the line does not fill
    std::size_t at = 0;
    if (!line.empty() && line.front() == '\t') {
        at = 6;
        line.remove_prefix(1);
    }
    copyLowered(columns + at, line, kColumns - at);
    if (comment) columns[0] = '\'';  // "'" followed by columns 2 to 72
    pendingIsComment_ = comment;
    boundsKnown_ = false;  // most statements have no continuation to need them
    return &done;
}

void LineIntake::knowBounds() {
    if (boundsKnown_) return;
    const std::string_view s = pending().text();
    const std::size_t end = endOfNonBlank(s);
    anyNonBlank_ = end != 0;
    if (anyNonBlank_) {
        firstNonBlank_ = firstNonBlank(s);
        lastNonBlank_ = end - 1;
    }
    boundsKnown_ = true;
}

void LineIntake::appendContinuation(std::string_view line) {
    // A file that begins with a continuation line: the statement begins
    // there, joined to the empty one of the file's start.
    if (pending().firstLine() == 0) pending().setFirstLine(line_);
    knowBounds();
    const std::string_view field = line.substr(std::min(kStatementField, line.size()));
    const std::size_t base = pending().size();
    char* columns = pending().extend(kColumns - kStatementField);
    const std::size_t n = copyLowered(columns, field, kColumns - kStatementField);
    const std::size_t end = endOfNonBlank(std::string_view(columns, n));
    if (end == 0) return;
    lastNonBlank_ = base + end - 1;
    if (!anyNonBlank_) {
        firstNonBlank_ = base + firstNonBlank(std::string_view(columns, n));
        anyNonBlank_ = true;
    }
}

bool LineIntake::pendingIsEndOrReturn() {
    knowBounds();
    if (!anyNonBlank_) return false;
    const std::string_view trimmed = pending().text().substr(firstNonBlank_, lastNonBlank_ - firstNonBlank_ + 1);
    return trimmed == "end" || trimmed == "return";
}

}  // namespace ftvb

// Line intake and the fixed-form stages.
//
// Each physical line is brought to exactly 72 lower-case columns (a leading
// tab stands for six blanks; sequence numbers past column 72 go). "c" in
// column 1 makes a comment line, anything else in column 6 a continuation
// whose columns 7-72 are appended to the pending statement, and any other
// line completes the pending statement and begins the next. A statement
// keeps columns 1 to 6 of its first line in front until stage 13 drops them;
// stage 11 turns the label field into an "L<label>:" line first.
#include <algorithm>

#include "engine/converter.h"
#include "text/bytes.h"
#include "text/primitives.h"

namespace ftvb {
namespace {

constexpr std::size_t kColumns = 72;
constexpr std::size_t kStatementField = 6;  // columns 7 to 72 start here
constexpr std::string_view kEmptyStatementComment = "'       ";

}  // namespace

void Converter::intake(std::string_view raw) {
    std::string& line = state_.sourceLine;
    line.clear();
    if (!raw.empty() && raw.front() == '\t') {
        line.assign(6, ' ');
        raw.remove_prefix(1);
    }
    line.append(raw.substr(0, kColumns - std::min(line.size(), kColumns)));
    // Lowered a word at a time up to the word that holds the last byte read:
    // the padding has nothing to lower.
    const std::size_t read = line.size();
    line.resize(kColumns, ' ');
    lowerCaseInPlace(line.data(), std::min(kColumns, (read + 7) / 8 * 8));

    if (line[0] == 'c') {
        completeStatement();
        startStatement(line);
        state_.statement[0] = '\'';  // "'" followed by columns 2 to 72
        return;
    }
    if (line[5] != ' ' && !pendingIsEndOrReturn()) {
        appendContinuation(std::string_view(line).substr(kStatementField));
        return;
    }
    completeStatement();
    startStatement(line);
}

void Converter::startStatement(std::string_view text) {
    state_.statement.assign(text);  // reuses the buffer of the statement before
    boundsKnown_ = false;           // most statements have no continuation to need them
}

void Converter::knowBounds() {
    if (boundsKnown_) return;
    const std::string& s = state_.statement;
    const std::size_t end = endOfNonBlank(s);
    firstNonBlank_ = end == 0 ? std::string::npos : firstNonBlank(s);
    lastNonBlank_ = end == 0 ? std::string::npos : end - 1;
    boundsKnown_ = true;
}

void Converter::appendContinuation(std::string_view field) {
    knowBounds();
    std::string& s = state_.statement;
    const std::size_t base = s.size();
    s.append(field);
    const std::size_t end = endOfNonBlank(field);
    if (end == 0) return;
    lastNonBlank_ = base + end - 1;
    if (firstNonBlank_ == std::string::npos) firstNonBlank_ = base + firstNonBlank(field);
}

bool Converter::pendingIsEndOrReturn() {
    knowBounds();
    if (firstNonBlank_ == std::string::npos) return false;
    const std::string_view trimmed =
        std::string_view(state_.statement).substr(firstNonBlank_, lastNonBlank_ - firstNonBlank_ + 1);
    return trimmed == "end" || trimmed == "return";
}

Next emptyStatement(Translation& t) {
    if (t.text().empty()) {
        t.text() = kEmptyStatementComment;
        t.inserted(kEmptyStatementComment);
    }
    return Next::Continue;
}

Next lowerCase(Translation& t) {
    // The intake has lowered every line; only a rewrite since ("Dim ") or a
    // statement given to the routine directly can hold capitals.
    if (!(t.state.statementClasses & kCapitalClass)) return Next::Continue;
    lowerCaseInPlace(t.text());
    t.rewritten();
    return Next::Continue;
}

Next formatComment(Translation& t) {
    if (t.mayHold("format") && contains(t.text(), "format")) {
        t.text().insert(0, "' ");
        t.inserted("' ");
    }
    return Next::Continue;
}

Next commentLine(Translation& t) {
    if (t.text().empty() || t.text()[0] != '\'') return Next::Continue;
    t.write(t.text());
    return Next::End;
}

Next statementLabel(Translation& t) {
    std::string& s = t.text();
    RunState& st = t.state;
    if (st.endSeen) return Next::Continue;
    const std::string_view field = std::string_view(s).substr(0, 5);
    if (field.find_first_not_of(' ') == std::string_view::npos) return Next::Continue;

    std::string labelLine = "L";
    labelLine += trimBlanks(field);
    labelLine += ':';

    // Every loop recorded for this label ends here, innermost (latest) first;
    // their "next" lines follow the statement.
    st.pendingLoops.takeFor(labelLine, st.loopsEndingHere);

    t.write(labelLine);
    s.replace(0, std::min<std::size_t>(kStatementField, s.size()), kStatementField, ' ');
    t.inserted(" ");
    if (t.mayHold("continue") && trimBlanks(s) == "continue") s.clear();
    return Next::Continue;
}

Next fixedColumns(Translation& t) {
    std::string& s = t.text();
    std::size_t from = 0;
    if (!t.state.endSeen) {
        if (s.size() < kStatementField) return Next::Continue;
        from = kStatementField;
    }
    // The columns and the leading blanks go in one move.
    s.resize(std::max(from, endOfNonBlank(s)));
    s.erase(0, from + firstNonBlank(std::string_view(s).substr(from)));
    return Next::Continue;
}

}  // namespace ftvb

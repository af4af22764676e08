// Stages 21 to 23: IF and DO, DATA, and the ways out of a procedure.
//
// A logical IF gets "then" after its condition. A DO that ends on a label
// becomes a "for" line and waits in the run's table for its label, which
// writes the "next" line; one that ends with END DO becomes "do while" with
// an explicit step variable. DATA becomes one line of ":"-joined
// assignments. STOP, RETURN and END become the procedure's exit, closing
// the report first when it is open.
#include "engine/stages/control_flow.h"

#include "engine/stage_notes.h"
#include "engine/stages.h"
#include "text/bytes.h"
#include "text/numeric.h"
#include "text/primitives.h"

namespace ftvb {
namespace {

void ifRule(StageContext& c) {
    const std::string_view s = c.statement.text();
    if (!startsWith(s, kIfBlank) && !startsWith(s, kIfParen)) return;
    if (contains(s, "then")) {  // block IF or ELSE IF
        if (c.noting()) {
            // A "then" that is no word of its own kept a logical IF as it was.
            const WordPlaces then = placesOf(s, "then", '"');
            if (!then.alone && then.quoted) c.note(ReviewKind::quotedText);
            if (!then.alone && then.inName) c.note(ReviewKind::keywordInName, "then");
        }
        return;
    }
    // Find where the first "(" is closed.
    const std::size_t n = s.size();
    long depth = 0;
    bool opened = false;
    std::size_t closing = std::string_view::npos;
    for (std::size_t i = 0; i < n; ++i) {
        if (s[i] == '(') {
            ++depth;
            opened = true;
        } else if (s[i] == ')') {
            --depth;
        }
        if (depth == 0 && opened) {
            closing = i;
            break;
        }
    }
    if (closing == std::string_view::npos || closing + 1 == n) return;
    // "if (x) 10, 20, 30" gets its "then" like any other.
    if (c.noting() && isLabelList(s.substr(closing + 1))) c.note(ReviewKind::arithmeticIf);
    // The closing ")" comes back inside ") then "; the blank after it goes.
    c.statement.replace(closing, 2, ") then ");
}

// Whether `t` is a number and nothing else: an optional sign, digits with
// at most one decimal point, an optional exponent.
bool isNumber(std::string_view t) {
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t from = i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
        return i - from;
    };
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t mantissa = digits();
    if (i < t.size() && t[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'd')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        if (digits() == 0) return false;
    }
    return i == t.size();
}

// Where the first comma at or after `from` outside parentheses stands, as
// instr1 finds it: "max(1,j-k), n" is cut at its second comma.
std::size_t boundsComma(std::string_view d, std::size_t from) {
    const std::size_t at = instr1(d.substr(from));
    return at == 0 ? std::string_view::npos : from + at - 1;
}

void doRule(StageContext& c) {
    const std::string_view s = c.statement.text();
    if (!startsWith(s, kDoBlank) || startsWith(s, "do while")) return;
    thread_local std::string text;
    text.assign(s);
    transf(text, " =", "=");
    transf(text, "= ", "=");
    const std::string_view d = text;
    const std::size_t p1 = d.find(' ');
    const std::size_t p2 = d.find(' ', p1 + 1);
    const std::size_t p3 = d.find('=', p1 + 1);
    // Without "=" after the keyword and "," outside parentheses after it,
    // the loop cannot be taken apart and the statement stays as it was.
    if (p3 == std::string_view::npos) return;
    const std::size_t c1 = boundsComma(d, p3 + 1);
    if (c1 == std::string_view::npos) return;

    if (p2 == std::string_view::npos || p3 < p2) {
        const std::string_view v = d.substr(p1 + 1, p3 - p1 - 1);
        const std::string_view start = d.substr(p3 + 1, c1 - p3 - 1);
        const std::size_t c2 = boundsComma(d, c1 + 1);
        const std::string_view end = c2 == std::string_view::npos ? d.substr(c1 + 1) : d.substr(c1 + 1, c2 - c1 - 1);
        const std::string_view step = c2 == std::string_view::npos ? std::string_view("1") : d.substr(c2 + 1);
        const std::string_view t = trimBlanks(step);
        if (c.noting()) {
            // A step given by a name or an expression is taken as positive.
            if (!isNumber(t)) c.note(ReviewKind::doStep);
            c.procedure.pastDeclarations = true;
        }
        const bool down = numericPrefixValue(step) < 0;
        c.out.line({"step", v, "=", step});
        c.out.line({v, "=", start, "-", "step", v});
        if (t == "1" || t == "-1") {
            c.out.line({"do while ", v, down ? ">" : "<", end});
        } else {
            // Any other step can jump past the end value: the test is on the
            // value the next pass takes, or "do i=1,10,2" would run for 11.
            c.out.line({"do while ", v, "+step", v, down ? ">=" : "<=", end});
        }
        std::string next(v);
        next.append("=").append(v).append("+step").append(v);
        c.statement.assign(next);
        return;
    }

    // Labelled: do <label> v=start,end ; a step stays part of the end value.
    const std::string_view label = d.substr(p1 + 1, p2 - p1 - 1);
    if (c.noting()) {
        // "for i=1 to n,2": the step stays in the end value.
        if (instr1(d.substr(c1 + 1)) != 0) c.note(ReviewKind::doStep);
        c.procedure.pastDeclarations = true;
    }
    const std::string_view v = d.substr(p2 + 1, p3 - p2 - 1);
    c.out.line({"for ", v, "=", d.substr(p3 + 1, c1 - p3 - 1), " to ", d.substr(c1 + 1)});
    c.statement.clear();
    c.run.pendingLoops.record(label, std::string(v));
}

// The exit that replaces STOP, RETURN and END, by whether the report is
// open and by the kind of procedure.
constexpr Insertion kExits[2][3] = {
    {"", "exit sub", "exit function"},
    {"close #1:", "close #1:exit sub", "close #1:exit function"},
};

const Insertion& exitFor(const StageContext& c) {
    return kExits[c.file.reportOpen ? 1 : 0][static_cast<int>(c.procedure.kind)];
}

}  // namespace

Next ifAndDo(StageContext& c) {
    ifRule(c);
    doRule(c);
    return Next::Continue;
}

namespace {

// What chg_data copies as it stands: "3*0.0" and "(x(i), i=1,3)".
void noteData(StageContext& c) {
    const std::string_view text = c.statement.text();
    if (startsWith(text, kDataParen)) {
        c.note(ReviewKind::dataRepeat);  // not taken for DATA at all: passed through
        return;
    }
    if (!startsWith(text, kDataBlank)) return;
    const std::size_t slash = text.find('/');
    const bool impliedDo = text.substr(0, slash).find('=') != std::string_view::npos;
    bool repeat = false;
    for (std::size_t star = text.find('*'); star != std::string_view::npos && !repeat;
         star = text.find('*', star + 1)) {
        repeat = !insideQuotes(text, star, '"');
    }
    if (impliedDo || repeat) c.note(ReviewKind::dataRepeat);
}

}  // namespace

Next dataStatement(StageContext& c) {
    if (c.noting()) noteData(c);
    if (!startsWith(c.statement.text(), kDataBlank)) return Next::Continue;
    // One line even when it is empty; the statement is used up.
    c.out.line(c.statement.consume(chg_data));
    return Next::Continue;
}

Next stopReturnEnd(StageContext& c) {
    Statement& s = c.statement;
    const bool stop = s.mayHold(Text::stop) && contains(s.text(), "stop");
    const bool ret = s.mayHold(Text::returnWord) && contains(s.text(), "return");
    const bool end = endsWith(s.text().substr(0, endOfNonBlank(s.text())), kEndWord);
    if (!stop && !ret && !end) return Next::Continue;
    if (c.noting()) {
        // Both words are replaced wherever they stand.
        for (const std::string_view word : {std::string_view("stop"), std::string_view("return")}) {
            if (word == "stop" ? !stop : !ret) continue;
            const WordPlaces places = placesOf(s.text(), word, '"');
            if (places.quoted) c.note(ReviewKind::quotedText);
            if (places.inName) c.note(ReviewKind::keywordInName, word);
        }
    }
    const Insertion& exit = exitFor(c);
    if (stop) s.replaceAll(Text::stop, exit);
    if (ret) s.replaceAll(Text::returnWord, exit);
    if (trimBlanks(s.text()) == "end") {
        s.assign(exit.text);
        c.procedure.endSeen = true;
    }
    if (endsWith(s.text(), " end")) {
        s.replace(s.size() - 4, 4, exit);
        c.procedure.endSeen = true;
    }
    return Next::Continue;
}

}  // namespace ftvb

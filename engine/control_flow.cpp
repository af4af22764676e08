// Control flow: logical IF gets "then"; DO loops become "for" loops (ended
// by a statement label) or "do while" loops with an explicit step variable
// (ended by END DO); STOP, RETURN and END become the procedure's exit,
// closing the report first when it is open; ELSE IF and END DO are
// respelled.
#include "engine/stages.h"
#include "text/bytes.h"
#include "text/numeric.h"
#include "text/primitives.h"

namespace ftvb {
namespace {

void ifRule(Translation& tr) {
    std::string& s = tr.text();
    if (!startsWith(s, "if ") && !startsWith(s, "if(")) return;
    if (contains(s, "then")) return;  // block IF or ELSE IF
    // Find where the first "(" is closed.
    const std::size_t n = s.size();
    long depth = 0;
    bool opened = false;
    std::size_t t = std::string::npos;
    for (std::size_t i = 0; i < n; ++i) {
        if (s[i] == '(') {
            ++depth;
            opened = true;
        } else if (s[i] == ')') {
            --depth;
        }
        if (depth == 0 && opened) {
            t = i;
            break;
        }
    }
    if (t == std::string::npos || t + 1 == n) return;
    // The closing ")" comes back inside ") then "; the blank after it goes.
    std::string rewritten = s.substr(0, t);
    rewritten += ") then ";
    rewritten.append(s, t + 2, std::string::npos);
    s.swap(rewritten);
    tr.inserted(") then ");
}

void doRule(Translation& t) {
    std::string& s = t.text();
    if (!startsWith(s, "do ") || startsWith(s, "do while")) return;
    std::string d = s;
    transf(d, " =", "=");
    transf(d, "= ", "=");
    const std::size_t p1 = d.find(' ');
    const std::size_t p2 = d.find(' ', p1 + 1);
    const std::size_t p3 = d.find('=', p1 + 1);
    // Without "=" after the keyword and "," after it, the loop cannot be
    // taken apart and the statement stays as it was.
    if (p3 == std::string::npos) return;
    const std::size_t c1 = d.find(',', p3 + 1);
    if (c1 == std::string::npos) return;

    if (p2 == std::string::npos || p3 < p2) {
        const std::string v = d.substr(p1 + 1, p3 - p1 - 1);
        const std::string start = d.substr(p3 + 1, c1 - p3 - 1);
        const std::size_t c2 = d.find(',', c1 + 1);
        std::string end;
        std::string step;
        if (c2 == std::string::npos) {
            end = d.substr(c1 + 1);
            step = "1";
        } else {
            end = d.substr(c1 + 1, c2 - c1 - 1);
            step = d.substr(c2 + 1);
        }
        t.write("step" + v + "=" + step);
        t.write(v + "=" + start + "-" + "step" + v);
        t.write("do while " + v + (numericPrefixValue(step) < 0 ? ">" : "<") + end);
        s = v + "=" + v + "+" + "step" + v;
        t.rewritten();
        return;
    }

    // Labelled: do <label> v=start,end ; a step stays part of the end value.
    const std::string label = d.substr(p1 + 1, p2 - p1 - 1);
    const std::string v = d.substr(p2 + 1, p3 - p2 - 1);
    const std::string start = d.substr(p3 + 1, c1 - p3 - 1);
    const std::string end = d.substr(c1 + 1);
    t.write("for " + v + "=" + start + " to " + end);
    s.clear();
    t.state.pendingLoops.record("L" + label + ":", v);
}

}  // namespace

Next ifAndDo(Translation& t) {
    ifRule(t);
    doRule(t);
    return Next::Continue;
}

Next stopReturnEnd(Translation& t) {
    std::string& s = t.text();
    RunState& st = t.state;
    // Most statements have none of the words: nothing is built for them.
    const bool stop = t.mayHold("stop") && contains(s, "stop");
    const bool ret = t.mayHold("return") && contains(s, "return");
    const bool end = t.mayHold("end") && endsWith(std::string_view(s).substr(0, endOfNonBlank(s)), "end");
    if (!stop && !ret && !end) return Next::Continue;
    st.closePrefix = st.reportOpen ? "close #1:" : "";
    const std::string exit = st.closePrefix + st.exitStatement;
    if (stop) transf(s, "stop", exit);
    if (ret) transf(s, "return", exit);
    if (trimBlanks(s) == "end") {
        s = exit;
        st.endSeen = true;
    }
    if (endsWith(s, " end")) {
        s.erase(s.size() - 4);
        s += exit;
        st.endSeen = true;
    }
    // Before the first header the exit is empty, and taking a word out may
    // leave two blanks in a row: the classes are worked out again.
    t.rewritten();
    return Next::Continue;
}

Next elseIfEndDo(Translation& t) {
    t.replaceAll("else if", "elseif");
    t.replaceAll("end do", "loop");
    return Next::Continue;
}

}  // namespace ftvb

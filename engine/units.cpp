// Program units: NAMELIST, DIMENSION, PROGRAM, IMPLICIT and the procedure
// headers.
//
// SUBROUTINE and PROGRAM units become "Sub" procedures and FUNCTION units
// (typed or not) "function" procedures. A header closes the procedure before
// it ("close #1" first when the report is open, then its end line), writes
// itself and collects the dummy arguments that the declaration writer later
// comments out. NAMELIST groups are remembered for the whole run and a
// reference to one becomes the group's variable list.
#include "engine/stages.h"
#include "text/bytes.h"
#include "text/primitives.h"

namespace ftvb {

Next namelistDefinition(Translation& t) {
    std::string& s = t.text();
    if (!t.mayHold("namelist") || !trimmedStartsWith(s, "namelist")) return Next::Continue;
    const std::size_t p1 = s.find('/');
    const std::size_t p2 = p1 == std::string::npos ? p1 : s.find('/', p1 + 1);
    if (p2 != std::string::npos) {
        std::string group = s.substr(p1 + 1, p2 - p1 - 1);
        // A group without a name could never be referred to.
        if (!group.empty()) {
            // The character right after the second slash is left out.
            std::string variables = p2 + 2 < s.size() ? s.substr(p2 + 2) : std::string();
            t.state.namelists.add(std::move(group), std::move(variables));
        }
    }
    s.assign(6, ' ');
    t.inserted(" ");
    return Next::Continue;
}

Next namelistReference(Translation& t) {
    std::string& s = t.text();
    if (s.empty()) return Next::Continue;
    if (const NamelistGroup* found = t.state.namelists.firstIn(s)) {
        const NamelistGroup& g = *found;
        // The unit part "(6," becomes "#1,"; without a "(" before a "," there
        // is none and the statement keeps what stands there.
        const std::size_t open = s.find('(');
        const std::size_t comma = s.find(',');
        if (open != std::string::npos && comma != std::string::npos && comma > open) {
            const std::string unit = s.substr(open, comma - open + 1);
            transf(s, unit, "#1,");
        }
        transf(s, ")", " ");
        transf(s, g.name, g.variables);
        t.rewritten();
    }
    return Next::Continue;
}

Next dimensionKeyword(Translation& t) {
    t.replaceAll("dimension ", "Dim ");
    return Next::Continue;
}

Next programKeyword(Translation& t) {
    t.replaceAll("program", "subroutine");
    return Next::Continue;
}

Next implicitComment(Translation& t) {
    std::string& s = t.text();
    if (!t.mayHold("implicit") || !trimmedStartsWith(s, "implicit")) return Next::Continue;
    s.insert(s.begin(), '\'');
    t.write(s);
    s.clear();
    t.inserted("'");
    return Next::Continue;
}

Next typedFunctionPrefix(Translation& t) {
    // Each test sees what the one before left; the result type is dropped.
    struct Prefix {
        std::string_view test;
        std::size_t drop;
    };
    static constexpr Prefix kPrefixes[] = {
        {"character function", 10},
        {"real function", 5},
        {"double precision function", 17},
        {"integer function", 8},
        {"logical function", 8},
    };
    std::string& s = t.text();
    for (const Prefix& p : kPrefixes) {
        if (startsWith(s, p.test)) s.erase(0, p.drop);
    }
    return Next::Continue;
}

namespace {

// Dummy arguments: the names between the header's outer parentheses,
// separated by commas at any depth or by the ")" that closes depth 1.
void collectDummyArguments(std::string_view header, std::vector<std::string>& args) {
    args.clear();
    std::string accumulator;
    long depth = 0;
    for (const char ch : header) {
        if (depth != 0) {
            const bool separator = ch == ',' || (depth == 1 && ch == ')');
            if (separator) {
                if (!accumulator.empty()) {
                    std::string_view name = trimBlanks(accumulator);
                    if (!name.empty()) args.emplace_back(name);
                    accumulator.clear();
                }
            } else {
                accumulator.push_back(ch);
            }
        }
        if (ch == '(') {
            ++depth;
        } else if (ch == ')') {
            --depth;
        }
    }
}

}  // namespace

Next procedureHeader(Translation& t) {
    std::string& s = t.text();
    RunState& st = t.state;
    const bool isFunction = startsWith(s, "function");
    if (!isFunction && !startsWith(s, "subroutine")) return Next::Continue;

    if (st.procedureOpen) {
        if (st.reportOpen) t.write("close #1");
        st.reportOpen = false;
        if (!st.pendingEndLine.empty()) t.write(st.pendingEndLine);
        st.pendingEndLine.clear();
    } else {
        // The first header of a file: nothing to close, and a report opened
        // before it stays open for this procedure.
        st.procedureOpen = true;
    }
    st.endSeen = false;
    if (isFunction) {
        st.pendingEndLine = "end function";
        st.exitStatement = "exit function";
    } else {
        st.pendingEndLine = "end sub";
        st.exitStatement = "exit sub";
        s.replace(0, 10, "Sub ");
        t.inserted("Sub ");
    }
    t.write(s);
    collectDummyArguments(s, st.dummyArguments);
    return Next::End;
}

}  // namespace ftvb

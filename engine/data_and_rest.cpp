// DATA, INCLUDE, "!" comments and PARAMETER: the last rewrites before the
// final stage.
#include "engine/stages.h"
#include "text/bytes.h"
#include "text/primitives.h"

namespace ftvb {

Next dataStatement(Translation& t) {
    if (!startsWith(t.text(), "data ")) return Next::Continue;
    // One line even when it is empty; the statement is used up.
    t.write(chg_data(t.text()));
    return Next::Continue;
}

Next includeAndBang(Translation& t) {
    // The marker must end in "include" again, which one replacement of
    // "include" cannot do: it goes through the "££££" placeholder. The
    // accented letters are single Windows-1252 bytes (à = E0, £ = A3).
    t.replaceAll("include", "'************ \xE0 changer ******** \xA3\xA3\xA3\xA3");
    t.replaceAll("** \xA3\xA3\xA3\xA3", "** include");
    t.replaceAll("!", "'");
    return Next::Continue;
}

Next parameterAndParentheses(Translation& t) {
    std::string& s = t.text();
    if (startsWith(s, "parameter ")) s.erase(0, 10);
    if (!s.empty() && s.front() == '(' && s.back() == ')') {
        s.pop_back();
        s.erase(0, 1);
    }
    return Next::Continue;
}

}  // namespace ftvb

// Stages 24 to 26: the last rewrites before the final stage.
//
// INCLUDE becomes a comment that carries a marker for attention, "!"
// comments become BASIC comments, ELSE IF and END DO are respelled, and a
// PARAMETER statement is stripped down to its assignments; any statement
// that begins with "(" and ends with ")" loses both.
#include "engine/stages.h"
#include "text/bytes.h"

namespace ftvb {

Next includeAndBang(StageContext& c) {
    // The marker must end in "include" again, which one replacement of
    // "include" cannot do: it goes through the "££££" placeholder. The
    // accented letters are single Windows-1252 bytes (à = E0, £ = A3).
    c.statement.replaceAll(Text::include, "'************ \xE0 changer ******** \xA3\xA3\xA3\xA3");
    c.statement.replaceAll(Text::includeMark, "** include");
    c.statement.replaceAll(Text::bang, "'");
    return Next::Continue;
}

Next elseIfEndDo(StageContext& c) {
    c.statement.replaceAll(Text::elseIf, "elseif");
    c.statement.replaceAll(Text::endDo, "loop");
    return Next::Continue;
}

Next parameterAndParentheses(StageContext& c) {
    Statement& s = c.statement;
    if (startsWith(s.text(), "parameter ")) s.erase(0, 10);
    if (startsWithByte(s.text(), '(') && s.text().back() == ')') {
        s.erase(s.size() - 1, 1);
        s.erase(0, 1);
    }
    return Next::Continue;
}

}  // namespace ftvb

// Stages 24 to 26: the last rewrites before the final stage.
//
// INCLUDE becomes a comment that carries a marker for attention, "!"
// comments become BASIC comments, ELSE IF and END DO are respelled, and a
// PARAMETER statement is stripped down to its assignments; any statement
// that begins with "(" and ends with ")" loses both.
#include "engine/stages/last_rewrites.h"

#include "engine/stage_notes.h"
#include "engine/stages.h"
#include "text/bytes.h"

namespace ftvb {
namespace {

// INCLUDE is a place to finish by hand; "include" in a name or a string,
// which the marker turns into a comment all the same, is a wrong one; a "!"
// in a string ends it as a comment would.
void noteIncludeAndBang(StageContext& c) {
    const std::string_view text = c.statement.text();
    if (c.statement.mayHold(Text::include)) {
        const bool statement = afterStatementWord(text, "include") != std::string_view::npos;
        if (statement) c.note(ReviewKind::include);
        const WordPlaces places = placesOf(text.substr(statement ? 1 : 0), "include", '"');
        if (places.quoted) c.note(ReviewKind::quotedText);
        if (places.inName || places.alone) c.note(ReviewKind::keywordInName, "include");
    }
    if (c.statement.mayHold(Text::bang) && quotedHolds(text, "!", '"')) c.note(ReviewKind::quotedText);
}

}  // namespace

Next includeAndBang(StageContext& c) {
    if (c.noting()) noteIncludeAndBang(c);
    // The marker must end in "include" again, which one replacement of
    // "include" cannot do: it goes through the "££££" placeholder. The
    // accented letters are single Windows-1252 bytes (à = E0, £ = A3).
    c.statement.replaceAll(Text::include, "'************ \xE0 changer ******** \xA3\xA3\xA3\xA3");
    c.statement.replaceAll(Text::includeMark, "** include");
    c.statement.replaceAll(Text::bang, "'");
    return Next::Continue;
}

Next elseIfEndDo(StageContext& c) {
    if (c.noting() && ((c.statement.mayHold(Text::elseIf) && quotedHolds(c.statement.text(), "else if", '"')) ||
                       (c.statement.mayHold(Text::endDo) && quotedHolds(c.statement.text(), "end do", '"')))) {
        c.note(ReviewKind::quotedText);
    }
    c.statement.replaceAll(Text::elseIf, "elseif");
    c.statement.replaceAll(Text::endDo, "loop");
    return Next::Continue;
}

Next parameterAndParentheses(StageContext& c) {
    Statement& s = c.statement;
    if (startsWith(s.text(), kParameterBlank)) {
        s.erase(0, kParameterBlank.size());
        c.declarative = true;
    }
    if (startsWith(s.text(), kOpenParen) && s.text().back() == ')') {
        s.erase(s.size() - 1, 1);
        s.erase(0, 1);
    }
    return Next::Continue;
}

}  // namespace ftvb

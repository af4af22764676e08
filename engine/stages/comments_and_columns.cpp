// Stages 7 to 13: the statement is shown, lower-cased, and taken out of its
// fixed-form columns.
//
// A statement holding "format" becomes a comment, and comments are written
// as they stand and go no further. A label in columns 1 to 5 is written as
// "L<label>:" and closes the loops recorded for it, whose "next" lines
// follow the statement; a labelled CONTINUE leaves nothing else. IMPLICIT
// is written as a comment. Last the six columns go and the blanks around
// the statement; after an END only the blanks go, labels included.
#include "engine/stages/comments_and_columns.h"

#include <algorithm>

#include "engine/stage_notes.h"
#include "engine/stages.h"
#include "text/bytes.h"

namespace ftvb {
namespace {

constexpr std::size_t kStatementField = 6;  // columns 7 to 72 start here

// A FORMAT statement is one place to rewrite by hand; "format" anywhere
// else (a name, a string) made a statement a comment that was not one.
void noteFormat(StageContext& c) {
    const std::string_view text = c.statement.text();
    if (startsWithByte(text, '\'') || text.size() <= kStatementField) return;
    const std::string_view field = text.substr(kStatementField);
    const std::string_view statement = field.substr(firstNonBlank(field));
    if (startsWith(statement, "format")) {
        const std::string_view rest = statement.substr(6);
        if (startsWithByte(rest.substr(firstNonBlank(rest)), '(')) {
            c.note(ReviewKind::format);
            return;
        }
    }
    const WordPlaces places = placesOf(text, "format", '\'');
    if (places.quoted) c.note(ReviewKind::quotedText);
    if (places.inName || places.alone) c.note(ReviewKind::keywordInName, "format");
}

}  // namespace

Next showStatement(StageContext& c) {
    c.observer.statementShown(c.statement.text());
    return Next::Continue;
}

Next lowerCase(StageContext& c) {
    c.statement.lowerCase();
    return Next::Continue;
}

Next formatComment(StageContext& c) {
    if (!contains(c.statement.text(), "format")) return Next::Continue;
    if (c.noting()) noteFormat(c);
    c.statement.insert(0, "' ");
    return Next::Continue;
}

Next commentLine(StageContext& c) {
    if (!startsWith(c.statement.text(), kCommentStart)) return Next::Continue;
    c.out.line(c.statement.text());
    return Next::End;
}

Next statementLabel(StageContext& c) {
    if (c.procedure.endSeen) return Next::Continue;
    const std::string_view field = c.statement.text().substr(0, 5);
    if (field == std::string_view("     ", field.size())) return Next::Continue;
    const std::string_view label = trimBlanks(field);
    if (c.noting()) c.procedure.pastDeclarations = true;  // a labelled statement is executable

    // Every loop recorded for this label ends here, innermost (latest) first.
    c.run.pendingLoops.takeFor(label, c.closedLoops);
    char labelLine[7] = {'L'};
    label.copy(labelLine + 1, label.size());
    labelLine[label.size() + 1] = ':';
    c.out.line(std::string_view(labelLine, label.size() + 2));
    c.statement.replace(0, std::min(kStatementField, c.statement.size()), "      ");
    if (trimBlanks(c.statement.text()) == "continue") c.statement.clear();
    return Next::Continue;
}

Next implicitComment(StageContext& c) {
    if (!trimmedStartsWith(c.statement.text(), "implicit")) return Next::Continue;
    c.statement.insert(0, "'");
    c.out.line(c.statement.text());
    c.statement.clear();
    return Next::Continue;
}

Next fixedColumns(StageContext& c) {
    const std::string_view s = c.statement.text();
    std::size_t from = 0;
    if (!c.procedure.endSeen) {
        if (s.size() < kStatementField) return Next::Continue;
        from = kStatementField;
    }
    // The columns and the blanks around the statement go in one cut.
    const std::size_t end = std::max(from, c.statement.endOfNonBlank());
    c.statement.keep(from + firstNonBlank(s.substr(from, end - from)), end);
    return Next::Continue;
}

}  // namespace ftvb

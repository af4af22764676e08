// Stages 1 to 6: what every statement gets first, comments included.
//
// A blank goes after each ")" that lacks one. A NAMELIST statement records
// its first group for the whole run and is blanked; a statement that names a
// recorded group gets the group's variables in its place, its unit part
// becoming "#1,". "dimension " becomes "Dim " and "program" "subroutine",
// wherever they stand. An empty statement (the start of every file) becomes
// the empty-statement comment.
#include "engine/stages/first_rewrites.h"

#include "engine/stage_notes.h"
#include "engine/stages.h"
#include "text/bytes.h"

namespace ftvb {
namespace {

constexpr InsertionAfter kBlankAfterParenthesis{')', " "};
constexpr std::size_t kStatementField = 6;  // columns 7 to 72 start here

bool isComment(std::string_view text) { return startsWithByte(text, '\''); }

// A statement that holds "format" becomes a comment a few stages on, and
// what these stages did to it does not matter then.
bool becomesComment(const StageContext& c) {
    return isComment(c.statement.text()) ||
           (c.statement.mayHold(Text::format) && contains(c.statement.text(), "format"));
}

// A ")" inside quotes followed by anything but a blank: the blank that goes
// after it changes the string.
bool quotedParenthesisJoined(std::string_view text) {
    bool open = false;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '\'') {
            open = !open;
        } else if (open && text[i] == ')' && text[i + 1] != ' ') {
            return true;
        }
    }
    return false;
}

// A keyword that stages 4 and 5 replace wherever it stands: where it is
// not the statement's own first word, it was part of a name or of a string.
void noteKeywordElsewhere(StageContext& c, std::string_view word) {
    const std::string_view text = c.statement.text();
    if (becomesComment(c) || text.size() <= kStatementField) return;
    const std::string_view field = text.substr(kStatementField);
    const std::size_t first = firstNonBlank(field);
    const std::string_view afterFirst = field.substr(startsWith(field.substr(first), word) ? first + 1 : 0);
    const WordPlaces places = placesOf(afterFirst, word, '\'');
    if (places.quoted) c.note(ReviewKind::quotedText);
    if (places.inName || places.alone) c.note(ReviewKind::keywordInName, trimBlanks(word));
}

}  // namespace

Next parenthesisSpacing(StageContext& c) {
    if (c.noting() && c.statement.mayHold(Text::quote) && !becomesComment(c) &&
        quotedParenthesisJoined(c.statement.text())) {
        c.note(ReviewKind::quotedText);
    }
    c.statement.insertAfterEach(kBlankAfterParenthesis, ' ');
    return Next::Continue;
}

Next namelistDefinition(StageContext& c) {
    const std::string_view s = c.statement.text();
    if (!trimmedStartsWith(s, "namelist")) return Next::Continue;
    const std::size_t p1 = s.find('/');
    const std::size_t p2 = p1 == std::string_view::npos ? p1 : s.find('/', p1 + 1);
    if (p2 != std::string_view::npos) {
        std::string group(s.substr(p1 + 1, p2 - p1 - 1));
        // A group without a name could never be referred to.
        if (!group.empty()) {
            // The character right after the second slash is left out.
            std::string variables(p2 + 2 < s.size() ? s.substr(p2 + 2) : std::string_view());
            c.run.namelists.add(std::move(group), std::move(variables));
        }
    }
    c.statement.assign("      ");
    return Next::Continue;
}

Next namelistReference(StageContext& c) {
    if (c.run.namelists.empty() || c.statement.empty()) return Next::Continue;
    const NamelistGroup* found = c.run.namelists.firstIn(c.statement.text());
    if (found == nullptr) return Next::Continue;
    const std::string_view s = c.statement.text();
    // The unit part "(6," becomes "#1,"; without a "(" before a "," there
    // is none and the statement keeps what stands there.
    const std::size_t open = s.find('(');
    const std::size_t comma = s.find(',');
    if (open != std::string_view::npos && comma != std::string_view::npos && comma > open) {
        const std::string unit(s.substr(open, comma - open + 1));
        c.statement.replaceAll(unit, "#1,");
    }
    c.statement.replaceAll(Text::closeParen, " ");
    c.statement.replaceAll(found->name, Insertion::madeNow(found->variables));
    return Next::Continue;
}

Next dimensionKeyword(StageContext& c) {
    if (c.noting()) noteKeywordElsewhere(c, "dimension ");
    c.statement.replaceAll(Text::dimension, "Dim ");
    return Next::Continue;
}

Next programKeyword(StageContext& c) {
    if (c.noting()) noteKeywordElsewhere(c, "program");
    c.statement.replaceAll(Text::program, "subroutine");
    return Next::Continue;
}

Next emptyStatement(StageContext& c) {
    if (c.statement.empty()) c.statement.assign("'       ");
    return Next::Continue;
}

}  // namespace ftvb

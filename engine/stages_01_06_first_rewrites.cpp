// Stages 1 to 6: what every statement gets first, comments included.
//
// A blank goes after each ")" that lacks one. A NAMELIST statement records
// its first group for the whole run and is blanked; a statement that names a
// recorded group gets the group's variables in its place, its unit part
// becoming "#1,". "dimension " becomes "Dim " and "program" "subroutine",
// wherever they stand. An empty statement (the start of every file) becomes
// the empty-statement comment.
#include "engine/stages.h"
#include "text/bytes.h"

namespace ftvb {
namespace {

constexpr InsertionAfter kBlankAfterParenthesis{')', " "};

}  // namespace

Next parenthesisSpacing(StageContext& c) {
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
    c.statement.replaceAll(Text::dimension, "Dim ");
    return Next::Continue;
}

Next programKeyword(StageContext& c) {
    c.statement.replaceAll(Text::program, "subroutine");
    return Next::Continue;
}

Next emptyStatement(StageContext& c) {
    if (c.statement.empty()) c.statement.assign("'       ");
    return Next::Continue;
}

}  // namespace ftvb

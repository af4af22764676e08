// Stages 19 and 20: WRITE and PRINT, then colon substrings.
//
// The translated program sends all its output to report.txt, opened as
// file #1 by a line written before the first WRITE or PRINT of each
// procedure; the unit and format are dropped. Then every colon outside
// quotes is taken for a substring colon and rewritten into a mid$ call.
#include "engine/stages/write_and_substrings.h"

#include "engine/stage_notes.h"
#include "engine/stages.h"
#include "text/bytes.h"
#include "text/primitives.h"

namespace ftvb {

void openReport(StageContext& c) {
    if (c.file.reportOpen) return;
    c.out.line("open \"report.txt\" for append as #1");
    c.file.reportOpen = true;
}

namespace {

// The unit part runs from the first "(" at or after `from` to the first ")"
// at or after it and becomes "#1," wherever it occurs. With no such pair in
// that order there is nothing to cut out, and the text stays as it is.
void replaceUnitPart(StageContext& c, std::size_t from) {
    const std::string_view s = c.statement.text();
    const std::size_t open = s.find('(', from);
    const std::size_t close = s.find(')', from);
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) return;
    const std::string unit(s.substr(open, close - open + 1));
    c.statement.replaceAll(unit, "#1,");
}

// The WRITE and PRINT rules find their word wherever it stands: in a
// string, or as part of a name ("writer = 1", "call blueprint (x)").
void noteWordFound(StageContext& c, std::size_t at, std::string_view word) {
    if (!c.noting()) return;
    const std::string_view text = c.statement.text();
    const std::size_t after = at + word.size();
    if (insideQuotes(text, at, '"')) {
        c.note(ReviewKind::quotedText);
    } else if ((at > 0 && isNameByte(text[at - 1])) || (after < text.size() && isNameByte(text[after]))) {
        c.note(ReviewKind::keywordInName, trimBlanks(word));
    }
}

void writeRule(StageContext& c) {
    if (startsWith(c.statement.text(), "write")) {
        noteWordFound(c, 0, "write");
        openReport(c);
        replaceUnitPart(c, 0);
        return;
    }
    if (!c.statement.mayHold(Text::write)) return;
    const std::size_t w = findText(c.statement.text(), "write");
    if (w == std::string_view::npos) return;
    noteWordFound(c, w, "write");
    replaceUnitPart(c, w);
    openReport(c);
}

void printRule(StageContext& c) {
    if (!c.statement.mayHold(Text::print)) return;
    const std::string_view s = c.statement.text();
    const std::size_t q = findText(s, "print ");
    if (q == std::string_view::npos) return;
    noteWordFound(c, q, "print ");
    const std::size_t k = s.find(',', q);
    // The format designator before the first comma goes; without a comma
    // the whole former text follows.
    if (k != std::string_view::npos) {
        c.statement.replace(q, k + 1 - q, "write #1,");
    } else {
        const std::string put = "write #1," + std::string(s.substr(0, q));
        c.statement.insert(q, Insertion::madeNow(put));
    }
    openReport(c);
}

}  // namespace

Next writeAndPrint(StageContext& c) {
    writeRule(c);
    printRule(c);
    return Next::Continue;
}

Next colonSubstrings(StageContext& c) {
    // A colon that is no substring's becomes a comma, which forms no search
    // text: that edit needs no rescan, the whole rewrite does.
    const FirstColon first = firstColon(c.statement.text());
    if (first.pos == std::string_view::npos) return Next::Continue;
    if (first.alone) {
        c.statement.replace(first.pos, 1, ",");
    } else {
        c.statement.rewriteWith(trs_2_pts);
    }
    return Next::Continue;
}

}  // namespace ftvb

// WRITE and PRINT. The translated program sends all its output to
// report.txt, opened as file #1 by a line written before the first WRITE or
// PRINT of each procedure; the unit and format are dropped.
#include "engine/stages.h"
#include "text/bytes.h"
#include "text/primitives.h"

namespace ftvb {

void openReport(Translation& t) {
    if (t.state.reportOpen) return;
    t.write("open report.txt for append as #1");
    t.state.reportOpen = true;
}

namespace {

// The unit part runs from the first "(" at or after `from` to the first ")"
// at or after it and becomes "#1," wherever it occurs. With no such pair in
// that order there is nothing to cut out, and the text stays as it is.
void replaceUnitPart(Translation& t, std::size_t from) {
    std::string& s = t.text();
    const std::size_t open = s.find('(', from);
    const std::size_t close = s.find(')', from);
    if (open == std::string::npos || close == std::string::npos || close < open) return;
    const std::string unit = s.substr(open, close - open + 1);
    transf(s, unit, "#1,");
    t.inserted("#1,");
}

void writeRule(Translation& t) {
    std::string& s = t.text();
    if (startsWith(s, "write")) {
        openReport(t);
        replaceUnitPart(t, 0);
        return;
    }
    constexpr Pattern kWrite("write");
    if (!t.mayHold(kWrite)) return;
    const std::size_t w = findText(s, kWrite);
    if (w == std::string::npos) return;
    replaceUnitPart(t, w);
    openReport(t);
}

void printRule(Translation& t) {
    std::string& s = t.text();
    constexpr Pattern kPrint("print ");
    if (!t.mayHold(kPrint)) return;
    const std::size_t q = findText(s, kPrint);
    if (q == std::string::npos) return;
    const std::size_t k = s.find(',', q);
    // The format designator before the first comma goes; without a comma
    // the whole former text follows.
    std::string rewritten = s.substr(0, q);
    rewritten += "write #1,";
    if (k == std::string::npos) {
        rewritten += s;
    } else {
        rewritten.append(s, k + 1, std::string::npos);
    }
    s.swap(rewritten);
    t.inserted("write #1,");
    openReport(t);
}

}  // namespace

Next writeAndPrint(Translation& t) {
    writeRule(t);
    printRule(t);
    return Next::Continue;
}

}  // namespace ftvb

// Statement output: the final stage and the declaration writer.
//
// The final stage collapses blanks, trims, hands the statement to the
// declaration writer (which writes "Dim"/"dim" lines itself) and writes
// whatever else is left, unless it is empty or a single character. The
// writer comments out the declaration of a dummy argument of the current
// procedure, which the procedure header declares already.
#include <algorithm>

#include "engine/stages.h"
#include "text/bytes.h"
#include "text/primitives.h"

namespace ftvb {

void writeDeclaration(Translation& t) {
    std::string& line = t.state.pendingLine;
    if (!startsWith(line, "Dim ") && !startsWith(line, "dim ")) return;
    const std::string_view declared = trimBlanks(std::string_view(line).substr(4));
    const std::size_t blank = declared.find(' ');
    if (blank != std::string_view::npos) {
        // The declared text up to the first blank, bounds included: "a(10)"
        // never equals an argument name.
        const std::string_view name = trimBlanks(declared.substr(0, blank));
        const auto& args = t.state.dummyArguments;
        if (std::find(args.begin(), args.end(), name) != args.end()) line.insert(line.begin(), '\'');
    }
    t.write(line);
    line.clear();
}

Next finalStage(Translation& t) {
    std::string& s = t.text();
    t.replaceAll("  ", " ");
    trimBlanksInPlace(s);
    // Only a declaration is written by the writer (and leaves the pending
    // line empty); for any other statement the pending line would just hold
    // a copy that nothing reads before the next statement replaces it.
    if (startsWith(s, "Dim ") || startsWith(s, "dim ")) {
        t.state.pendingLine = s;
        writeDeclaration(t);
        if (t.state.pendingLine.empty()) s.clear();
    }
    if (s.size() == 1) s.clear();
    if (!s.empty()) t.write(s);
    return Next::End;
}

}  // namespace ftvb

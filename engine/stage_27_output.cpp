// Stage 27: the final stage, and the declaration writer it shares with the
// type declarations.
//
// The final stage collapses blanks, trims, hands a "Dim"/"dim" statement to
// the declaration writer (which writes it itself) and writes whatever else
// is left, unless it is empty or a single character. The writer comments out
// the declaration of a dummy argument of the current procedure, which the
// procedure header declares already.
#include <algorithm>

#include "engine/stages.h"
#include "text/bytes.h"

namespace ftvb {

bool writeDeclaration(StageContext& c, std::string_view line) {
    if (!startsWith(line, "Dim ") && !startsWith(line, "dim ")) return false;
    const std::string_view declared = trimBlanks(line.substr(4));
    const std::size_t blank = declared.find(' ');
    if (blank != std::string_view::npos) {
        // The declared text up to the first blank, bounds included: "a(10)"
        // never equals an argument name.
        const std::string_view name = trimBlanks(declared.substr(0, blank));
        const auto& args = c.procedure.dummyArguments;
        if (std::find(args.begin(), args.end(), name) != args.end()) {
            c.out.line("'", line);
            return true;
        }
    }
    c.out.line(line);
    return true;
}

Next finalStage(StageContext& c) {
    Statement& s = c.statement;
    s.collapseBlanks();
    s.trim();
    const std::string_view t = s.text();
    if (t.size() >= 4 && (t[0] == 'D' || t[0] == 'd') && writeDeclaration(c, t)) return Next::End;
    if (s.size() > 1) c.out.line(s.text());
    return Next::End;
}

}  // namespace ftvb

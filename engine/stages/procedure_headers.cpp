// Stages 14 and 15: procedure headers.
//
// A typed FUNCTION loses its type. SUBROUTINE (and PROGRAM, which stage 5
// made one) becomes "Sub", FUNCTION stays "function". A header closes the
// procedure before it in the same file ("close #1" first when the report is
// open, then its end line), writes itself unchanged otherwise, collects the
// dummy arguments that the declaration writer later comments out, and ends
// the routine: headers get no operator rewrites and no blank collapse.
#include "engine/stages/procedure_headers.h"

#include "engine/stage_notes.h"
#include "engine/stages.h"
#include "text/bytes.h"

namespace ftvb {

Next typedFunctionPrefix(StageContext& c) {
    // Each test sees what the one before left; the result type is dropped.
    struct Prefix {
        std::string_view test;
        std::size_t drop;
        const char* type;  // as the checklist names it
    };
    static constexpr Prefix kPrefixes[] = {
        {"character function", 10, "CHARACTER"},
        {"real function", 5, "REAL"},
        {"double precision function", 17, "DOUBLE PRECISION"},
        {"integer function", 8, "INTEGER"},
        {"logical function", 8, "LOGICAL"},
    };
    static_assert(
        [] {
            for (const Prefix& p : kPrefixes) {
                if (!beginsWithTypeKeyword(p.test)) return false;
            }
            return true;
        }(),
        "every typed header begins with a type keyword, as the stage's gate wants");
    for (const Prefix& p : kPrefixes) {
        if (!startsWith(c.statement.text(), p.test)) continue;
        c.statement.erase(0, p.drop);
        c.note(ReviewKind::typedFunction, p.type);
    }
    return Next::Continue;
}

namespace {

// Dummy arguments: the names between the header's outer parentheses,
// separated by commas at any depth or by the ")" that closes depth 1.
void collectDummyArguments(std::string_view header, std::vector<std::string>& args) {
    args.clear();
    std::string accumulator;
    long depth = 0;
    for (const char ch : header) {
        if (depth != 0) {
            const bool separator = ch == ',' || (depth == 1 && ch == ')');
            if (!separator) {
                accumulator.push_back(ch);
            } else if (!accumulator.empty()) {
                const std::string_view name = trimBlanks(accumulator);
                if (!name.empty()) args.emplace_back(name);
                accumulator.clear();
            }
        }
        if (ch == '(') {
            ++depth;
        } else if (ch == ')') {
            --depth;
        }
    }
}

}  // namespace

Next procedureHeader(StageContext& c) {
    const bool isFunction = startsWith(c.statement.text(), kFunctionWord);
    if (!isFunction && !startsWith(c.statement.text(), kSubroutineWord)) return Next::Continue;
    // "functional = 1" is taken for a header all the same.
    const std::size_t keyword = isFunction ? 8 : 10;
    if (c.statement.size() > keyword && isNameByte(c.statement[keyword])) {
        c.note(ReviewKind::keywordInName, isFunction ? kFunctionWord : kSubroutineWord);
    }
    c.procedure.pastDeclarations = false;

    if (c.file.procedureOpen) {
        if (c.file.reportOpen) c.out.line("close #1");
        c.file.reportOpen = false;
        if (!c.procedure.endLine().empty()) c.out.line(c.procedure.endLine());
    } else {
        // The first header of a file: nothing to close, and a report opened
        // before it stays open for this procedure.
        c.file.procedureOpen = true;
    }
    c.procedure.endSeen = false;
    if (isFunction) {
        c.procedure.kind = ProcedureKind::function;
    } else {
        c.procedure.kind = ProcedureKind::sub;
        c.statement.replace(0, 10, "Sub ");
    }
    c.out.line(c.statement.text());
    collectDummyArguments(c.statement.text(), c.procedure.dummyArguments);
    return Next::End;
}

}  // namespace ftvb

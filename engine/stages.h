// The statement routine's stages, one function each, grouped by file:
//   intake.cpp        6 8 9 10 11 13  fixed-form columns, comments, labels
//   units.cpp         2 3 4 5 12 14 15  program units and headers
//   operators.cpp     1 16             parenthesis spacing, operator spelling
//   declarations.cpp  17 18            type declarations and their clean-up
//   io_statements.cpp 19               WRITE and PRINT
//   control_flow.cpp  21 23 25         IF, DO, STOP/RETURN/END, ELSE IF, END DO
//   data_and_rest.cpp 22 24 26         DATA, INCLUDE, "!", PARAMETER
//   output.cpp        27               the final stage and the declaration writer
//   statement.cpp     7 20 and the table that puts all 27 in order.
#pragma once

#include <string>
#include <string_view>

#include "engine/run_state.h"
#include "engine/seam.h"
#include "text/primitives.h"

namespace ftvb {

// What a stage works on: the run state (the statement text among it) and
// where its lines go.
struct Translation {
    RunState& state;
    LineSink& out;
    RunObserver& observer;

    std::string& text() { return state.statement; }
    void write(std::string_view line) { out.writeLine(line); }

    // Whether the statement may hold `part`; false means it cannot.
    bool mayHold(const Pattern& part) const {
        return (state.statementClasses & part.classes) == part.classes;
    }
    // A stage that puts bytes into the statement says which (a blank may
    // make two in a row with a blank beside it); one that rewrites it
    // wholesale has its classes worked out again.
    void inserted(std::string_view bytes) {
        state.statementClasses |= classesOf(bytes);
        if (bytes.find(' ') != std::string_view::npos) state.statementClasses |= kDoubledBlankClass;
    }
    void rewritten() {
        // A statement still padded to its columns ends in blanks: those are
        // passed over a word at a time.
        const std::string_view s = state.statement;
        const std::size_t end = endOfNonBlank(s);
        state.statementClasses = s.size() - end >= 2 ? byteClassesOfText(s.substr(0, end)) | classesOf("  ")
                                                     : classesOfText(s);
    }

    // transf on the statement, skipped when it cannot hold `find`.
    void replaceAll(const Pattern& find, std::string_view replacement) {
        if (find.text.empty() || !mayHold(find)) return;
        const std::size_t p = findText(state.statement, find);
        if (p != std::string::npos) {
            transfFrom(state.statement, find.text, replacement, p);
            inserted(replacement);
            // Taking text out may bring the blanks on either side together.
            if (replacement.empty()) state.statementClasses |= kDoubledBlankClass;
        }
        // Blank runs collapsed, or none found: no two blanks are left in a row.
        if (find.text == "  " && replacement == " ") state.statementClasses &= ~kDoubledBlankClass;
    }
};

enum class Next { Continue, End };
using StageFn = Next (*)(Translation&);

struct StageRow {
    int number;
    const char* does;
    StageFn run;
};

// Stage functions, by number.
Next parenthesisSpacing(Translation&);      // 1
Next namelistDefinition(Translation&);      // 2
Next namelistReference(Translation&);       // 3
Next dimensionKeyword(Translation&);        // 4
Next programKeyword(Translation&);          // 5
Next emptyStatement(Translation&);          // 6
Next showStatement(Translation&);           // 7
Next lowerCase(Translation&);               // 8
Next formatComment(Translation&);           // 9
Next commentLine(Translation&);             // 10
Next statementLabel(Translation&);          // 11
Next implicitComment(Translation&);         // 12
Next fixedColumns(Translation&);            // 13
Next typedFunctionPrefix(Translation&);     // 14
Next procedureHeader(Translation&);         // 15
Next operatorRewrites(Translation&);        // 16
Next typeDeclarations(Translation&);        // 17
Next declarationCleanup(Translation&);      // 18
Next writeAndPrint(Translation&);           // 19
Next colonSubstrings(Translation&);         // 20
Next ifAndDo(Translation&);                 // 21
Next dataStatement(Translation&);           // 22
Next stopReturnEnd(Translation&);           // 23
Next includeAndBang(Translation&);          // 24
Next elseIfEndDo(Translation&);             // 25
Next parameterAndParentheses(Translation&); // 26
Next finalStage(Translation&);              // 27

// Writes the pending line (commented out when it declares a dummy argument
// of the current procedure) if it is a "Dim "/"dim " line, and empties it.
void writeDeclaration(Translation&);

// Removes the "Dim *d" length markers that REAL*8-style declarations leave.
void lengthMarkerCleanup(std::string& line);

// Opens report.txt in the generated code once per procedure.
void openReport(Translation&);

}  // namespace ftvb

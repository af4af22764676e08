// The statement routine's 27 stages, one function each, in files that follow
// the table's order:
//   stages_01_06_first_rewrites.cpp    1-6    parentheses, NAMELIST, DIMENSION, PROGRAM, empty statement
//   stages_07_13_columns.cpp           7-13   shown, lower case, FORMAT, comments, labels, IMPLICIT, columns
//   stages_14_15_headers.cpp           14-15  typed function prefix, procedure headers
//   stage_16_operators.cpp             16     operator spelling
//   stages_17_18_declarations.cpp      17-18  type declarations and their clean-up
//   stages_19_20_write_substrings.cpp  19-20  WRITE and PRINT, colon substrings
//   stages_21_23_control_flow.cpp      21-23  IF and DO, DATA, STOP/RETURN/END
//   stages_24_26_last_rewrites.cpp     24-26  INCLUDE and "!", ELSE IF and END DO, PARAMETER
//   stage_27_output.cpp                27     the final stage and the declaration writer
// and routine.cpp puts them in their table.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/line_emitter.h"
#include "engine/review.h"
#include "engine/run_state.h"
#include "engine/seam.h"
#include "engine/statement.h"

namespace ftvb {

// What a stage may touch.
struct StageContext {
    StageContext(Statement& s, ProcedureState& p, FileState& f, RunTables& r, LineEmitter& o, RunObserver& obs,
                 std::vector<std::string>& closed)
        : statement(s), procedure(p), file(f), run(r), out(o), observer(obs), closedLoops(closed) {}

    Statement& statement;
    ProcedureState& procedure;
    FileState& file;
    RunTables& run;
    LineEmitter& out;
    RunObserver& observer;
    // Variables of the loops that the statement's label closes: their "next"
    // lines follow the statement, whatever stage ends it.
    std::vector<std::string>& closedLoops;
    bool reviewing = false;         // the observer wants the places that need a person
    std::string_view source;        // the file the statement comes from
    long long firstModuleLine = 0;  // where its translation begins
    // A declaration the rules recognised (PARAMETER, whose keyword goes):
    // the procedure's executable part has not begun with it.
    bool declarative = false;
    unsigned notedKinds = 0;  // one note of a kind per statement

    // A place of the module that needs a person, of a kind the stage knows
    // as it rewrites or keeps the statement; `detail` is the word it is
    // about, when it has one.
    void note(ReviewKind kind, std::string_view detail = {}) {
        if (reviewing) noteAlways(kind, detail);
    }
    // Whether a stage should look for places to note in the statement.
    bool noting() const { return reviewing; }

private:
    void noteAlways(ReviewKind kind, std::string_view detail);
};

enum class Next { Continue, End };
using StageFn = Next (*)(StageContext&);

Next parenthesisSpacing(StageContext&);       // 1
Next namelistDefinition(StageContext&);       // 2
Next namelistReference(StageContext&);        // 3
Next dimensionKeyword(StageContext&);         // 4
Next programKeyword(StageContext&);           // 5
Next emptyStatement(StageContext&);           // 6
Next showStatement(StageContext&);            // 7
Next lowerCase(StageContext&);                // 8
Next formatComment(StageContext&);            // 9
Next commentLine(StageContext&);              // 10
Next statementLabel(StageContext&);           // 11
Next implicitComment(StageContext&);          // 12
Next fixedColumns(StageContext&);             // 13
Next typedFunctionPrefix(StageContext&);      // 14
Next procedureHeader(StageContext&);          // 15
Next operatorRewrites(StageContext&);         // 16
Next typeDeclarations(StageContext&);         // 17
Next declarationCleanup(StageContext&);       // 18
Next writeAndPrint(StageContext&);            // 19
Next colonSubstrings(StageContext&);          // 20
Next ifAndDo(StageContext&);                  // 21
Next dataStatement(StageContext&);            // 22
Next stopReturnEnd(StageContext&);            // 23
Next includeAndBang(StageContext&);           // 24
Next elseIfEndDo(StageContext&);              // 25
Next parameterAndParentheses(StageContext&);  // 26
Next finalStage(StageContext&);               // 27

// Stage 16's twenty rewrites, each a replace-all on the result of the one
// before. The order matters: the blanks the operators bring are collapsed by
// the fifteenth, which also joins "go  to" before the jumps are marked; the
// mark "goto*" keeps "goto L" from matching "goto " again.
inline constexpr std::array<Rewrite, 20> kOperatorRewrites{{
    {Text::sqrt, " sqr "},   {Text::dexp, " exp "},      {Text::dotTrue, " true "},  {Text::dotFalse, " false "},
    {Text::dotEq, " = "},    {Text::dotLt, " < "},       {Text::dotGt, " > "},       {Text::dotLe, " <= "},
    {Text::dotGe, " >= "},   {Text::dotNe, " <> "},      {Text::dotOr, " or "},      {Text::dotAnd, " and "},
    {Text::dotNot, " not "}, {Text::quote, "\""},        {Text::twoBlanks, " "},     {Text::concatenation, " + "},
    {Text::goTo, "goto*"},   {Text::gotoBlank, "goto*"}, {Text::gotoMark, "goto L"}, {Text::power, "^"},
}};

// Writes `line` if it is a "Dim "/"dim " line, commented out when it
// declares a dummy argument of the current procedure; true when written.
bool writeDeclaration(StageContext& c, std::string_view line);

// Removes the "Dim *d" length markers that REAL*8-style declarations leave.
void lengthMarkerCleanup(std::string& line);

// Opens report.txt in the generated code once per procedure.
void openReport(StageContext& c);

}  // namespace ftvb

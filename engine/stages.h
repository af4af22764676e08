// What the statement routine's stages share: the context a stage works in,
// and the helpers more than one group of stages calls. The stages
// themselves are in engine/stages/, a file for each group, each listing the
// rows of its stages; engine/routine.cpp puts the rows in their table.
#pragma once

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

// Writes `line` if it is a "Dim "/"dim " line, commented out when it
// declares a dummy argument of the current procedure; true when written.
bool writeDeclaration(StageContext& c, std::string_view line);

// Removes the "Dim *d" length markers that REAL*8-style declarations leave.
void lengthMarkerCleanup(std::string& line);

// Opens report.txt in the generated code once per procedure.
void openReport(StageContext& c);

}  // namespace ftvb

// The state one conversion run lends to the statement rules.
//
// Created afresh for every run. The statement text, the procedure-open flag
// and the report-open flag start again with each file; everything else
// carries over from file to file. The tables grow as needed.
#pragma once

#include <string>
#include <vector>

#include "engine/tables.h"
#include "text/bytes.h"

namespace ftvb {

struct RunState {
    std::string moduleName;
    long long lineCounter = 0;
    std::string sourceLine;      // the physical line just read, normalised
    std::string statement;       // the statement being assembled, then rewritten
    // The byte classes the statement may hold: all of those it holds, and
    // perhaps some it held before a rewrite took them out. The statement
    // routine works them out when it starts and keeps them up to date; at
    // any other time they are "all", which spares no search.
    ByteClasses statementClasses = ~ByteClasses{0};
    std::string pendingEndLine;  // "end sub" / "end function" of the open procedure
    std::string exitStatement;   // "exit sub" / "exit function"
    bool procedureOpen = false;  // a header has been met in the current file
    bool reportOpen = false;     // the generated code has opened report.txt
    bool endSeen = false;        // an END was translated since the last header
    NamelistTable namelists;
    PendingLoopTable pendingLoops;
    std::vector<std::string> dummyArguments;   // of the current procedure
    std::string pendingLine;     // next line for the declaration writer
    std::string closePrefix;     // "close #1:" when the report is open, for exits

    // Variables of the loops that the current statement's label closes; their
    // "next" lines are written once the statement itself is out.
    std::vector<std::string> loopsEndingHere;
};

}  // namespace ftvb

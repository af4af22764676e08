// What the stages share, by how long it lasts: the run's tables, what the
// module has open for the current file, and the procedure opened by the
// last header.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/tables.h"

namespace ftvb {

// Kept for the whole run, across files.
struct RunTables {
    NamelistTable namelists;
    PendingLoopTable pendingLoops;
};

// What the module has open for the current file; both start clear with
// each file.
struct FileState {
    bool procedureOpen = false;  // a header has been met in this file
    bool reportOpen = false;     // the generated code has opened report.txt
};

enum class ProcedureKind { none, sub, function };

// The procedure of the last header. It lasts until the next header, across
// files: a STOP in the next file still leaves by this procedure's exit.
struct ProcedureState {
    ProcedureKind kind = ProcedureKind::none;  // none before the first header of the run
    bool endSeen = false;                      // an END was translated since the header
    // An executable statement has been met since the header; before it an
    // assignment to "name(args)" is a statement function. Kept only for
    // the porting checklist.
    bool pastDeclarations = false;
    std::vector<std::string> dummyArguments;

    std::string_view endLine() const {
        return kind == ProcedureKind::sub ? "end sub" : kind == ProcedureKind::function ? "end function" : "";
    }
    std::string_view exitStatement() const {
        return kind == ProcedureKind::sub ? "exit sub" : kind == ProcedureKind::function ? "exit function" : "";
    }
};

}  // namespace ftvb

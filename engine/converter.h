// Drives the statement routine over the lines of one file after another.
//
// One Converter is one conversion run: it holds what the stages share,
// counts the lines it is fed, takes them through the line intake and runs
// each completed statement through the routine. It does no I/O: lines come
// in as strings and go out through the sink.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/line_emitter.h"
#include "engine/line_intake.h"
#include "engine/run_state.h"
#include "engine/seam.h"

namespace ftvb {

class Converter {
public:
    Converter(LineSink& out, RunObserver& observer);

    // A file begins: the pending statement, the procedure-open flag and the
    // report-open flag start afresh. `name` is what notes call the file.
    void beginFile(std::string_view name = {});

    // One physical line as read, without its line end.
    void feedLine(std::string_view line);

    // The file ends: the pending statement is translated and an open
    // procedure is closed.
    void endFile();

    // Source lines fed so far, all files together.
    long long lines() const { return lines_; }

    RunTables& tables() { return run_; }
    FileState& file() { return file_; }
    ProcedureState& procedure() { return procedure_; }

private:
    void translate(Statement& statement);

    RunTables run_;
    FileState file_;
    ProcedureState procedure_;
    LineEmitter out_;
    RunObserver& observer_;
    LineIntake intake_;
    std::vector<std::string> closedLoops_;
    bool reviewing_ = false;  // asked of the observer once, when the run starts
    std::string source_;
    long long lines_ = 0;
};

}  // namespace ftvb

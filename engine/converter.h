// Drives the statement routine over the lines of one file after another.
//
// One Converter is one conversion run: it holds the run state, counts the
// lines it is fed, joins them into statements (the line intake) and runs
// each completed statement through the routine. It does no I/O: lines come
// in as strings and go out through the sink.
#pragma once

#include <cstddef>
#include <string_view>

#include "engine/run_state.h"
#include "engine/seam.h"
#include "engine/stages.h"

namespace ftvb {

class Converter {
public:
    Converter(LineSink& out, RunObserver& observer);

    // A file begins: the statement text, the procedure-open flag and the
    // report-open flag start afresh.
    void beginFile();

    // One physical line as read, without its line end.
    void feedLine(std::string_view line);

    // The file ends: the pending statement is translated and an open
    // procedure is closed.
    void endFile();

    RunState& state() { return state_; }
    const RunState& state() const { return state_; }

private:
    void intake(std::string_view line);
    void completeStatement();
    void startStatement(std::string_view text);
    void appendContinuation(std::string_view field);
    bool pendingIsEndOrReturn();
    void knowBounds();

    RunState state_;
    Translation translation_;
    // Where the non-blank part of the pending statement lies, worked out at
    // its first continuation line and kept up to date as more are appended,
    // so that the "end"/"return" test does not rescan a long statement for
    // every line.
    std::size_t firstNonBlank_;
    std::size_t lastNonBlank_;
    bool boundsKnown_ = false;
};

}  // namespace ftvb

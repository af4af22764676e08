// The statement routine: 27 stages, in a fixed order, on one statement text.
#pragma once

#include <span>

#include "engine/stages.h"

namespace ftvb {

// The stages in the order they run.
std::span<const StageRow> statementStages();

// Runs the stages on the statement text of `t.state` until one ends the
// routine, then writes the "next" lines of the loops the statement closed.
void runStatementRoutine(Translation& t);

}  // namespace ftvb

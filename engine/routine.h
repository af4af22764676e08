// The statement routine: 27 stages, in a fixed order, on one statement.
#pragma once

#include <span>
#include <string_view>

#include "engine/search_texts.h"
#include "engine/stage_rows.h"
#include "engine/stages.h"

namespace ftvb {

// The stages in the order they run.
std::span<const StageRow> statementStages();

// The texts looked for by the stages that a statement beginning with "'"
// goes through before the routine ends for it.
Texts soughtInComments();

// Runs the stages on the context's statement until one ends the routine,
// then writes the "next" lines of the loops the statement closed.
void runStatementRoutine(StageContext& c);

}  // namespace ftvb

// Stage 27: the final stage, which writes the statement.
#pragma once

#include <array>

#include "engine/stage_rows.h"

namespace ftvb {

Next finalStage(StageContext&);

inline constexpr std::array<StageRow, 1> kStatementOutputStages{{
    {27, "final stage: tidy, declaration writer, write", kEveryStatement, finalStage},
}};

}  // namespace ftvb

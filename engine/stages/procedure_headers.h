// Stages 14 and 15: procedure headers.
#pragma once

#include <array>
#include <string_view>

#include "engine/stage_rows.h"
#include "engine/stages/declarations.h"

namespace ftvb {

Next typedFunctionPrefix(StageContext&);
Next procedureHeader(StageContext&);

inline constexpr std::string_view kFunctionWord = "function";
inline constexpr std::string_view kSubroutineWord = "subroutine";

inline constexpr std::array<StageRow, 2> kProcedureHeaderStages{{
    // A typed header begins with its type.
    {14, "typed function prefix removed", beginning(kTypeKeywords), typedFunctionPrefix},
    {15, "FUNCTION or SUBROUTINE header; ends", beginning({kFunctionWord, kSubroutineWord}), procedureHeader},
}};

}  // namespace ftvb

// Stages 24 to 26: the last rewrites before the final stage.
#pragma once

#include <array>
#include <string_view>

#include "engine/stage_rows.h"

namespace ftvb {

Next includeAndBang(StageContext&);
Next elseIfEndDo(StageContext&);
Next parameterAndParentheses(StageContext&);

inline constexpr std::string_view kParameterBlank = "parameter ";
inline constexpr std::string_view kOpenParen = "(";

inline constexpr std::array<StageRow, 3> kLastRewriteStages{{
    {24, "INCLUDE marker, then \"!\" comments", texts(bits(Text::include, Text::includeMark, Text::bang)),
     includeAndBang},
    {25, "\"else if\", then \"end do\"", texts(bits(Text::elseIf, Text::endDo)), elseIfEndDo},
    {26, "PARAMETER keyword, then outer parentheses", beginning({kParameterBlank, kOpenParen}),
     parameterAndParentheses},
}};

}  // namespace ftvb

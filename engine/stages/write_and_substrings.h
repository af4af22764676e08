// Stages 19 and 20: WRITE and PRINT, then colon substrings.
#pragma once

#include <array>

#include "engine/stage_rows.h"

namespace ftvb {

Next writeAndPrint(StageContext&);
Next colonSubstrings(StageContext&);

inline constexpr std::array<StageRow, 2> kWriteAndSubstringStages{{
    {19, "WRITE, then PRINT", texts(bits(Text::write, Text::print)), writeAndPrint},
    {20, "colon substrings to mid$", texts(bit(Text::colon)), colonSubstrings},
}};

}  // namespace ftvb

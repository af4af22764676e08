// Stages 21 to 23: IF and DO, DATA, and the ways out of a procedure.
#pragma once

#include <array>
#include <string_view>

#include "engine/stage_rows.h"

namespace ftvb {

Next ifAndDo(StageContext&);
Next dataStatement(StageContext&);
Next stopReturnEnd(StageContext&);

// How the statements these rules take begin (END: how it ends).
inline constexpr std::string_view kIfBlank = "if ";
inline constexpr std::string_view kIfParen = "if(";
inline constexpr std::string_view kDoBlank = "do ";
inline constexpr std::string_view kDataBlank = "data ";
inline constexpr std::string_view kDataParen = "data(";
inline constexpr std::string_view kEndWord = "end";

inline constexpr std::array<StageRow, 3> kControlFlowStages{{
    {21, "logical IF, then DO", beginning({kIfBlank, kIfParen, kDoBlank}), ifAndDo},
    {22, "DATA", beginning({kDataBlank, kDataParen}), dataStatement},
    {23, "STOP, RETURN, END", textsOrEnding(bits(Text::stop, Text::returnWord), kEndWord), stopReturnEnd},
}};

}  // namespace ftvb

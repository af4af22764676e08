// Stages 7 to 13: the statement is shown, lower-cased, and taken out of its
// fixed-form columns; comments are written and go no further.
#pragma once

#include <array>
#include <string_view>

#include "engine/stage_rows.h"

namespace ftvb {

Next showStatement(StageContext&);
Next lowerCase(StageContext&);
Next formatComment(StageContext&);
Next commentLine(StageContext&);
Next statementLabel(StageContext&);
Next implicitComment(StageContext&);
Next fixedColumns(StageContext&);

// How a comment's statement text begins, once the intake and stage 9 have
// made it one.
inline constexpr std::string_view kCommentStart = "'";

inline bool beforeEnd(const StageContext& c) { return !c.procedure.endSeen; }

inline constexpr std::array<StageRow, 7> kCommentAndColumnStages{{
    {7, "statement shown to the observer", kEveryStatement, showStatement},
    {8, "lower case", texts(bit(Text::capital)), lowerCase},
    {9, "a statement holding \"format\" becomes a comment", texts(bit(Text::format)), formatComment},
    {10, "comments written as they stand; ends", beginning({kCommentStart}), commentLine},
    {11, "statement label: label line, loop ends, label field blanked", when(beforeEnd), statementLabel},
    {12, "IMPLICIT written as a comment", texts(bit(Text::implicit)), implicitComment},
    {13, "columns 1 to 6 removed, blanks trimmed", kEveryStatement, fixedColumns},
}};

}  // namespace ftvb

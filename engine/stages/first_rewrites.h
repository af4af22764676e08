// Stages 1 to 6: what every statement gets first, comments included.
#pragma once

#include <array>

#include "engine/stage_rows.h"

namespace ftvb {

Next parenthesisSpacing(StageContext&);
Next namelistDefinition(StageContext&);
Next namelistReference(StageContext&);
Next dimensionKeyword(StageContext&);
Next programKeyword(StageContext&);
Next emptyStatement(StageContext&);

inline bool anyNamelist(const StageContext& c) { return !c.run.namelists.empty() && !c.statement.empty(); }
inline bool isEmpty(const StageContext& c) { return c.statement.empty(); }

inline constexpr std::array<StageRow, 6> kFirstRewriteStages{{
    {1, "parenthesis spacing: a blank after each \")\"", texts(bit(Text::closeParen)), parenthesisSpacing},
    {2, "NAMELIST definition recorded, statement blanked", texts(bit(Text::namelist)), namelistDefinition},
    {3, "NAMELIST group reference rewritten", when(anyNamelist), namelistReference},
    {4, "\"dimension \" becomes \"Dim \"", texts(bit(Text::dimension)), dimensionKeyword},
    {5, "\"program\" becomes \"subroutine\"", texts(bit(Text::program)), programKeyword},
    {6, "empty statement becomes the empty-statement comment", when(isEmpty), emptyStatement},
}};

}  // namespace ftvb

// Stage 16: operator spelling, twenty rewrites in order.
#pragma once

#include <array>

#include "engine/stage_rows.h"

namespace ftvb {

Next operatorRewrites(StageContext&);

// The twenty rewrites, each a replace-all on the result of the one before.
// The order matters: the blanks the operators bring are collapsed by the
// fifteenth, which also joins "go  to" before the jumps are marked; the
// mark "goto*" keeps "goto L" from matching "goto " again.
inline constexpr std::array<Rewrite, 20> kOperatorRewrites{{
    {Text::sqrt, " sqr "},   {Text::dexp, " exp "},      {Text::dotTrue, " true "},  {Text::dotFalse, " false "},
    {Text::dotEq, " = "},    {Text::dotLt, " < "},       {Text::dotGt, " > "},       {Text::dotLe, " <= "},
    {Text::dotGe, " >= "},   {Text::dotNe, " <> "},      {Text::dotOr, " or "},      {Text::dotAnd, " and "},
    {Text::dotNot, " not "}, {Text::quote, "\""},        {Text::twoBlanks, " "},     {Text::concatenation, " + "},
    {Text::goTo, "goto*"},   {Text::gotoBlank, "goto*"}, {Text::gotoMark, "goto L"}, {Text::power, "^"},
}};

inline constexpr Texts kOperatorFinds = [] {
    Texts finds = 0;
    for (const Rewrite& r : kOperatorRewrites) finds |= bit(r.find);
    return finds;
}();

inline constexpr std::array<StageRow, 1> kOperatorStages{{
    // Most statements hold a blank run, a quote or an operator.
    {16, "operator rewrites", texts(kOperatorFinds), operatorRewrites, Entered::mostly},
}};

}  // namespace ftvb

// Stages 17 and 18: type declarations and their clean-up; the keywords are
// also those of the typed FUNCTION headers of stage 14.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "engine/stage_rows.h"

namespace ftvb {

Next typeDeclarations(StageContext&);
Next declarationCleanup(StageContext&);

// The type keywords, as the rules test for them at the start of a statement.
inline constexpr std::string_view kTypeKeywords[] = {"character", "real", "double precision", "integer", "logical"};

// Whether `text` begins with a type keyword: what the gates of stages 14
// and 17 let in, which the rules of both check they stay within.
constexpr bool beginsWithTypeKeyword(std::string_view text) {
    for (const std::string_view keyword : kTypeKeywords) {
        if (text.starts_with(keyword)) return true;
    }
    return false;
}

inline constexpr std::array<StageRow, 2> kDeclarationStages{{
    {17, "type declarations", beginning(kTypeKeywords), typeDeclarations},
    {18, "blank collapse and length-marker clean-up", texts(bits(Text::twoBlanks, Text::dimStar)), declarationCleanup},
}};

}  // namespace ftvb

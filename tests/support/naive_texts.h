// The search texts a text holds, found the slow and obvious way: each one
// looked for on its own, a stretching one in the text with its blank runs
// collapsed. What the statement's scan and its edits must never miss.
#pragma once

#include <string>
#include <string_view>

#include "engine/search_texts.h"

namespace ftvb::testing {

inline std::string collapsedBlanks(std::string_view s) {
    std::string out;
    for (const char c : s) {
        if (c == ' ' && !out.empty() && out.back() == ' ') continue;
        out.push_back(c);
    }
    return out;
}

inline bool naivelyHolds(std::string_view s, Text t) {
    if (t == Text::capital) {
        for (const char c : s) {
            if (detail::isCapitalByte(static_cast<unsigned char>(c))) return true;
        }
        return false;
    }
    const std::string_view want = textOf(t);
    if (stretches(want)) return collapsedBlanks(s).find(want) != std::string::npos;
    return s.find(want) != std::string_view::npos;
}

inline Texts naiveTexts(std::string_view s) {
    Texts found = 0;
    for (std::size_t i = 0; i < kTextCount; ++i) {
        if (naivelyHolds(s, static_cast<Text>(i))) found |= Texts{1} << i;
    }
    return found;
}

}  // namespace ftvb::testing

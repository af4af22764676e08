// File1's pattern: one or more wildcards separated by ";", each naming
// files of the folder shown ("*.for;*.src").
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ftvb::ui {

// The wildcards of a pattern, blanks around each dropped and empty ones
// skipped; none, so that the pattern is refused, when it has no wildcard or
// one of them names another folder.
std::vector<std::string> splitPattern(std::string_view pattern);

// "*" stands for any run of characters, "?" for one. Characters compare
// exactly: a caller that ignores case folds both sides first.
template <typename Char>
bool wildcardMatch(std::basic_string_view<Char> wildcard, std::basic_string_view<Char> name) {
    std::size_t w = 0;
    std::size_t n = 0;
    // Where the last "*" was, and how much of the name it has taken: on a
    // mismatch it takes one character more. Linear in practice, never
    // exponential however many stars there are.
    std::size_t star = std::basic_string_view<Char>::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (w < wildcard.size() && (wildcard[w] == Char('?') || wildcard[w] == name[n])) {
            ++w;
            ++n;
        } else if (w < wildcard.size() && wildcard[w] == Char('*')) {
            star = w++;
            starName = n;
        } else if (star != std::basic_string_view<Char>::npos) {
            w = star + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (w < wildcard.size() && wildcard[w] == Char('*')) ++w;
    return w == wildcard.size();
}

}  // namespace ftvb::ui

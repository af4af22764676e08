// A line diff for test failures: only the changed hunks, with three lines of
// context, in the unified form (`-` expected, `+` got) and with CR and LF
// shown, so that one inserted line marks one line and not every later one.
#pragma once

#include <algorithm>
#include <cstddef>
#include <sstream>
#include <string>
#include <vector>

namespace ftvb::testing {

// Each line with its own line end, so that a missing CR shows.
inline std::vector<std::string> linesKeepingEnds(const std::string& s) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < s.size()) {
        const std::size_t lf = s.find('\n', start);
        const std::size_t end = lf == std::string::npos ? s.size() : lf + 1;
        out.push_back(s.substr(start, end - start));
        start = end;
    }
    return out;
}

inline std::string visibleLine(const std::string& line) {
    std::string v;
    for (const char c : line) {
        if (c == '\r')
            v += "\\r";
        else if (c == '\n')
            v += "\\n";
        else
            v += c;
    }
    return v;
}

// The hunks that turn `want` into `got`; empty when they are the same. The
// longest common subsequence is worked out on what differs after the common
// head and tail are set aside, which keeps the table small for the small
// changes that tests meet.
inline std::string lineDiff(const std::string& want, const std::string& got, std::size_t context = 3) {
    const std::vector<std::string> w = linesKeepingEnds(want);
    const std::vector<std::string> g = linesKeepingEnds(got);
    std::size_t head = 0;
    while (head < w.size() && head < g.size() && w[head] == g[head]) ++head;
    std::size_t tail = 0;
    while (tail < w.size() - head && tail < g.size() - head && w[w.size() - 1 - tail] == g[g.size() - 1 - tail]) ++tail;
    if (head == w.size() && head == g.size()) return {};

    const std::size_t n = w.size() - head - tail;
    const std::size_t m = g.size() - head - tail;
    // lcs[i][j]: common lines of w[head+i..] and g[head+j..] in the middle part.
    std::vector<std::vector<unsigned>> lcs(n + 1, std::vector<unsigned>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;)
        for (std::size_t j = m; j-- > 0;)
            lcs[i][j] = w[head + i] == g[head + j] ? lcs[i + 1][j + 1] + 1 : std::max(lcs[i + 1][j], lcs[i][j + 1]);

    // The edit script over the whole files: ' ' kept, '-' expected only, '+' got only.
    struct Edit {
        char op;
        std::size_t wLine, gLine;  // 0-based positions before this edit
    };
    std::vector<Edit> edits;
    for (std::size_t k = 0; k < head; ++k) edits.push_back({' ', k, k});
    std::size_t i = 0, j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && w[head + i] == g[head + j]) {
            edits.push_back({' ', head + i, head + j});
            ++i, ++j;
        } else if (i < n && (j == m || lcs[i + 1][j] >= lcs[i][j + 1])) {
            edits.push_back({'-', head + i, head + j});
            ++i;
        } else {
            edits.push_back({'+', head + i, head + j});
            ++j;
        }
    }
    for (std::size_t k = 0; k < tail; ++k) edits.push_back({' ', head + n + k, head + m + k});

    std::ostringstream out;
    std::size_t e = 0;
    while (e < edits.size()) {
        if (edits[e].op == ' ') {
            ++e;
            continue;
        }
        // A hunk: from `context` kept lines before this change to `context`
        // kept lines after the last change that is no further than 2*context away.
        const std::size_t first = e >= context ? e - context : 0;
        std::size_t last = e;
        for (std::size_t k = e; k < edits.size() && k <= last + 2 * context; ++k)
            if (edits[k].op != ' ') last = k;
        const std::size_t end = std::min(edits.size(), last + context + 1);
        std::size_t wCount = 0, gCount = 0;
        for (std::size_t k = first; k < end; ++k) {
            if (edits[k].op != '+') ++wCount;
            if (edits[k].op != '-') ++gCount;
        }
        out << "@@ -" << edits[first].wLine + 1 << "," << wCount << " +" << edits[first].gLine + 1 << "," << gCount
            << " @@\n";
        for (std::size_t k = first; k < end; ++k) {
            const std::string& line = edits[k].op == '+' ? g[edits[k].gLine] : w[edits[k].wLine];
            out << edits[k].op << visibleLine(line) << "\n";
        }
        e = end;
    }
    return out.str();
}

}  // namespace ftvb::testing

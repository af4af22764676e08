// How the conversion targets read their input: source files cut at form
// feeds, lines cut at LF as SourceReader cuts them, and an observer that
// checks the count and notes a DATA statement.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/seam.h"

namespace ftvb::fuzz {

inline constexpr char kFileBreak = '\f';

// Lines as SourceReader returns them: split at LF, one CR before the LF
// dropped, a last line without LF kept.
inline std::vector<std::string_view> splitLines(std::string_view file) {
    std::vector<std::string_view> lines;
    while (!file.empty()) {
        const std::size_t lf = file.find('\n');
        std::string_view line = file.substr(0, lf);
        file.remove_prefix(lf == std::string_view::npos ? file.size() : lf + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
    }
    return lines;
}

inline std::vector<std::string_view> splitFiles(std::string_view data) {
    std::vector<std::string_view> files;
    for (;;) {
        const std::size_t cut = data.find(kFileBreak);
        files.push_back(data.substr(0, cut));
        if (cut == std::string_view::npos) return files;
        data.remove_prefix(cut + 1);
    }
}

// Only a DATA statement may produce an empty line, and the routine shows
// every statement before it lower-cases it. Rules may drop blanks and
// punctuation between letters, so the test looks at the letters alone.
inline bool mayBeData(std::string_view statement) {
    std::string letters;
    for (const char ch : statement) {
        const char lower = (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch + 32) : ch;
        if (lower >= 'a' && lower <= 'z') letters.push_back(lower);
    }
    return letters.find("data") != std::string::npos;
}

struct DataWatch : RunObserver {
    long long counted = 0;
    bool inOrder = true;
    bool sawData = false;
    long long stopAfter = -1;  // lines; -1 never

    void lineCounted(long long lines) override {
        if (lines != counted + 1) inOrder = false;
        counted = lines;
    }
    void statementShown(std::string_view statement) override {
        if (!sawData && mayBeData(statement)) sawData = true;
    }
    bool stopRequested() override { return stopAfter >= 0 && counted >= stopAfter; }
};

}  // namespace ftvb::fuzz
